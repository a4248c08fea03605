#pragma once

#include "fakes/FakePlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

namespace quillon::testing {

/// One 1440 × 900 screen with a 25-point panel, one application in front
/// with one window, and the debug log on.
class SnapFixture : public ::testing::Test {
protected:
    static constexpr int32_t pid = 42;
    static constexpr platform::WindowId windowId = 0x1a00007;

    SnapFixture()
    {
        Log::isDebugEnabled = true;
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        platform::RunningApp app;
        app.pid = pid;
        app.appId = QStringLiteral("org.example.Editor");
        app.active = true;
        fake.workspaceImpl.apps = {app};
        // y-down (100, 100, 400, 300): y-up (100, 500, 400, 300).
        fake.windowControlImpl.table = {
            {windowId, pid, platform::WindowKind::standard, QString("doc"), QRectF(100, 100, 400, 300)}};
        fake.windowControlImpl.mainWindows[pid] = windowId;
    }
    ~SnapFixture() override { Log::isDebugEnabled = false; }

    /// The window's frame in the y-up space.
    QRectF upFrame() const
    {
        const QRectF down = fake.windowControlImpl.find(windowId)->frame;
        return QRectF(down.x(), 900 - down.bottom(), down.width(), down.height());
    }
    void setUpFrame(const QRectF& up)
    {
        fake.windowControlImpl.findMutable(windowId)->frame =
            QRectF(up.x(), 900 - up.bottom(), up.width(), up.height());
    }

    fakes::FakePlatform fake;
};

} // namespace quillon::testing
