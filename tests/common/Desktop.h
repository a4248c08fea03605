#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace quillon::testing {

/// True when the tests run on the virtual desktop of scripts/with-desktop
/// (an X display and the xcb platform).
bool onDesktop();

/// Runs a program and returns its standard output (empty on failure).
QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000);

/// How long a wait for something that should happen gives it by default. The
/// machines that run these tests are shared and can stall a process for
/// seconds; waiting longer costs nothing when the thing happens at once.
/// Waits that check something does NOT happen pass their own, short, timeout.
constexpr int patientMs = 15000;

/// Spins the event loop until `condition` holds or `timeoutMs` passes.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = patientMs);

} // namespace quillon::testing

/// Skips a desktop test when there is no virtual desktop.
#define QUILLON_REQUIRE_DESKTOP()                                                                            \
    do {                                                                                                     \
        if (!::quillon::testing::onDesktop())                                                                \
            GTEST_SKIP() << "needs the virtual desktop (run through scripts/with-desktop)";                 \
    } while (0)
