#pragma once

#include <QString>
#include <cstddef>

namespace quillon {

/// Leaves a crash block in the debug file when the process dies of a fatal
/// signal or an uncaught exception. Installed once per launch, whatever the
/// diagnostics switch says.
class CrashReporter {
public:
    CrashReporter() = delete;

    /// Opens the debug file, sets up the alternate signal stack and takes
    /// over SIGILL, SIGTRAP, SIGABRT, SIGSEGV, SIGBUS, SIGFPE and the
    /// terminate hook. Later calls do nothing.
    static void install();
    /// Records the step about to be taken; a crash block repeats it.
    static void breadcrumb(const QString& text);

    static constexpr int breadcrumbCapacity = 256;
    static constexpr std::size_t alternateStackSize = 0x20000;
};

} // namespace quillon
