#pragma once

// The widget application of the benchmarks that draw. Include only from bench/.

#include <QApplication>
#include <memory>

namespace quillon::bench {

/// Makes an offscreen QApplication when there is none yet; the caller keeps
/// the one it gets for as long as it draws.
inline std::unique_ptr<QApplication> ensureApp()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QCoreApplication::instance())
        return nullptr;
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace quillon::bench
