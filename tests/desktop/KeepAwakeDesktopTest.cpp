// Keep-awake's assertions against a logind of ours on the private system bus
// and the X server's screen saver.

#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "fakes/ForwardingPlatform.h"
#include "features/awake/AwakeFeature.h"
#include "features/awake/SleepAssertion.h"
#include "notch/BatteryMonitor.h"
#include "platform/linux/LogindPowerAssertions.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAppDirectory.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <xcb/screensaver.h>

#include <cstdlib>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;
using Kind = SleepAssertion::Kind;

class AwakePlatform final : public fakes::ForwardingPlatform {
public:
    platform::PowerAssertions& powerAssertions() override { return assertions; }
    platform::linux_::LogindPowerAssertions assertions;
};

/// The test logind and the lines it printed.
struct TestLogind {
    TestLogind()
    {
        process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-logind"));
        started = waitForLine("ready");
    }
    ~TestLogind()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(3000))
            process.kill();
    }
    bool waitForLine(const QString& wanted)
    {
        return waitFor([&] {
            while (process.canReadLine())
                lines << QString::fromUtf8(process.readLine()).trimmed();
            return lines.contains(wanted);
        });
    }
    QProcess process;
    QStringList lines;
    bool started = false;
};

TEST(KeepAwakeDesktop, BothKindsTakeAnIdleBlockInhibitorAndAChangeOverlaps)
{
    QUILLON_REQUIRE_DESKTOP();
    TestLogind logind;
    ASSERT_TRUE(logind.started);
    AwakePlatform desktop;
    {
        SleepAssertion assertion;
        ASSERT_TRUE(
            assertion.acquire(Kind::keepDisplayOn, QStringLiteral("Quillon is keeping this computer awake")));
        ASSERT_TRUE(logind.waitForLine("inhibit 1 idle block Quillon is keeping this computer awake"));
        ASSERT_TRUE(assertion.acquire(Kind::allowDisplaySleep, QStringLiteral("why")));
        ASSERT_TRUE(logind.waitForLine("released 1"));
        const int opened = int(logind.lines.indexOf("inhibit 2 idle block why"));
        EXPECT_GE(opened, 0);
        EXPECT_LT(opened, logind.lines.indexOf("released 1")) << "the new one before the old one goes";
        assertion.release();
        EXPECT_TRUE(logind.waitForLine("released 2"));
    }
    for (const QString& line : logind.lines)
        EXPECT_FALSE(line.contains(" sleep ")) << "never a sleep inhibitor: " << line.toStdString();
}

TEST(KeepAwakeDesktop, TheDisplayKindHoldsOffTheScreenSaver)
{
    QUILLON_REQUIRE_DESKTOP();
    AwakePlatform desktop; // no logind here: the X server alone
    auto x = platform::linux_::X11Connection::open();
    ASSERT_TRUE(x);
    const auto saverOn = [&] {
        auto cookie = xcb_screensaver_query_info(x->get(), x->root());
        auto* info = xcb_screensaver_query_info_reply(x->get(), cookie, nullptr);
        const bool on = info && info->state == XCB_SCREENSAVER_STATE_ON;
        std::free(info);
        return on;
    };
    testing::run("xset", {"s", "1", "1"});
    {
        SleepAssertion assertion;
        ASSERT_TRUE(assertion.acquire(Kind::keepDisplayOn, QStringLiteral("why")));
        // A suspension leaves a saver that already runs on: one input first.
        xcb_force_screen_saver(x->get(), XCB_SCREEN_SAVER_RESET);
        x->flush();
        EXPECT_FALSE(waitFor(saverOn, 2500)) << "the saver stays off past its timeout";
        EXPECT_FALSE(assertion.acquire(Kind::allowDisplaySleep, QStringLiteral("why")))
            << "without logind nothing keeps the computer awake while the display may sleep";
        EXPECT_EQ(assertion.kind(), Kind::keepDisplayOn);
    }
    EXPECT_TRUE(waitFor(saverOn, 5000)) << "released: the saver comes on";
    testing::run("xset", {"s", "off"});
    xcb_force_screen_saver(x->get(), XCB_SCREEN_SAVER_RESET);
    x->flush();
}

TEST(KeepAwakeDesktop, ARunningTriggerAppHoldsASessionNamingIt)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir data;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QDir().mkpath(data.path() + "/applications");
    QFile entry(data.path() + "/applications/awake-fixture.desktop");
    entry.open(QIODevice::WriteOnly);
    entry.write("[Desktop Entry]\nType=Application\nName=Awake Fixture\nExec=quillon-test-window\n"
                "StartupWMClass=AwakeFixture\n");
    entry.close();
    {
        // The real workspace; the assertions and the clock from the fakes.
        struct TriggerPlatform final : fakes::ForwardingPlatform {
            platform::Workspace& workspace() override { return workspaceImpl; }
            platform::AppDirectory& appDirectory() override { return directory; }
            platform::linux_::XdgAppDirectory directory;
            platform::linux_::X11Workspace workspaceImpl{platform::linux_::X11Connection::open(), directory};
        } desktop;
        Settings settings(desktop.fake.defaults, QStringLiteral("app.quillon.Quillon"));
        BatteryMonitor battery;
        AwakeFeature awake(settings, battery);
        const auto reconcile = [&] {
            desktop.fake.queue.drain();
            if (settings.isAwakeEnabled())
                awake.activate();
            else
                awake.deactivate();
            awake.applyTriggers();
        };
        settings.setAwakeTriggerApps({QStringLiteral("awake-fixture")});
        reconcile();
        EXPECT_FALSE(awake.isActive());
        testing::TestWindows app({"--class", "awakefixture,AwakeFixture", "--title", "work"});
        EXPECT_TRUE(waitFor([&] {
            reconcile();
            return awake.isActive();
        }));
        EXPECT_TRUE(awake.startedByTrigger());
        EXPECT_EQ(awake.activeTriggerReason(), QStringLiteral("Awake Fixture is running"));
        app.process().terminate();
        EXPECT_TRUE(waitFor([&] {
            reconcile();
            return !awake.isActive();
        }));
        EXPECT_TRUE(desktop.fake.powerAssertionsImpl.held.empty());
    }
    qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST(KeepAwakeDesktop, AnExternalMonitorHoldsASession)
{
    QUILLON_REQUIRE_DESKTOP();
    struct MonitorPlatform final : fakes::ForwardingPlatform {
        platform::Displays& displays() override { return displaysImpl; }
        platform::linux_::QtDisplays displaysImpl;
    } desktop;
    Settings settings(desktop.fake.defaults, QStringLiteral("app.quillon.Quillon"));
    BatteryMonitor battery;
    AwakeFeature awake(settings, battery);
    const auto reconcile = [&] {
        desktop.fake.queue.drain();
        if (settings.isAwakeEnabled())
            awake.activate();
        else
            awake.deactivate();
        awake.applyTriggers();
    };
    const auto heldWhile = [&](bool active) {
        return waitFor([&] {
            reconcile();
            return awake.isActive() == active;
        });
    };
    // A laptop panel over the left half of the screen, then a second monitor.
    testing::run("xrandr", {"--setmonitor", "eDP-1", "960/254x1080/286+0+0", "screen"});
    settings.setAwakeOnExternalDisplay(true);
    EXPECT_TRUE(waitFor([&] {
        const auto screens = desktop.displaysImpl.screens();
        return screens.size() == 1 && screens.front().builtIn;
    }));
    reconcile();
    EXPECT_FALSE(awake.isActive()) << "the built-in panel alone starts nothing";
    testing::run("xrandr", {"--setmonitor", "HDMI-1", "960/254x1080/286+960+0", "none"});
    EXPECT_TRUE(heldWhile(true));
    EXPECT_EQ(awake.activeTriggerReason(), QStringLiteral("an external display is connected"));
    testing::run("xrandr", {"--delmonitor", "HDMI-1"});
    EXPECT_TRUE(heldWhile(false));
    testing::run("xrandr", {"--delmonitor", "eDP-1"});
}

TEST(KeepAwakeDesktop, TheChordInTheRealBinaryHoldsOneIdleInhibitor)
{
    QUILLON_REQUIRE_DESKTOP();
    TestLogind logind;
    ASSERT_TRUE(logind.started);
    QTemporaryDir home;
    testing::QuillonRun quillon(home,
                                QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }, 10000))
        << quillon.log().toStdString();
    // X key codes of the physical keys (evdev code + 8).
    constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xA = 38;
    const QString settingsFile = home.path() + "/config/Quillon/" QUILLON_APP_ID ".json";
    testing::Typist typist;
    const auto chord = [&] {
        testing::HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        waitFor([] { return false; }, 400); // the hold delay
        typist.tap(xA);
    };
    chord();
    ASSERT_TRUE(logind.waitForLine("inhibit 1 idle block Quillon is keeping this computer awake"))
        << logind.lines.join('\n').toStdString();
    EXPECT_TRUE(waitFor([&] { return testing::storedBool(settingsFile, "awake.isEnabled") == true; }));
    chord();
    EXPECT_TRUE(logind.waitForLine("released 1")) << logind.lines.join('\n').toStdString();
    EXPECT_TRUE(waitFor([&] { return testing::storedBool(settingsFile, "awake.isEnabled") == false; }));
    EXPECT_EQ(logind.lines.filter("inhibit ").size(), 1) << "exactly one inhibitor";
}

} // namespace
} // namespace quillon
