// Keep-awake's assertions against a logind of ours on the private system bus
// and the X server's screen saver.

#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/Service.h"
#include "common/TestWindows.h"
#include "fakes/ForwardingPlatform.h"
#include "features/awake/AwakeFeature.h"
#include "features/awake/SleepAssertion.h"
#include "notch/BatteryMonitor.h"
#include "platform/linux/LogindPowerAssertions.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/UDisksVolumes.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAppDirectory.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
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

/// The feature with the delegate's reconcile played by hand, over whatever
/// platform the test installed.
struct AwakeRig {
    explicit AwakeRig(fakes::ForwardingPlatform& desktop)
        : desktop(desktop)
        , settings(desktop.fake.defaults, QStringLiteral("app.quillon.Quillon"))
    {
    }
    void reconcile()
    {
        desktop.fake.queue.drain();
        if (settings.isAwakeEnabled())
            awake.activate();
        else
            awake.deactivate();
        awake.applyTriggers();
    }
    /// Reconciles until the session is (or is not) active.
    bool heldWhile(bool active)
    {
        return waitFor([&] {
            reconcile();
            return awake.isActive() == active;
        });
    }
    fakes::ForwardingPlatform& desktop;
    Settings settings;
    BatteryMonitor battery;
    AwakeFeature awake{settings, battery};
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

/// Whether every cookie the inhibit services handed out was given back.
bool allGivenBack(const testing::Service& services)
{
    for (const QString& line : services.lines.filter(QStringLiteral("inhibit "))) {
        if (!line.startsWith(QStringLiteral("inhibit ")))
            continue;
        const QStringList words = line.split(' ');
        if (!services.lines.contains(QStringLiteral("uninhibit %1 %2").arg(words[1], words[2])))
            return false;
    }
    return true;
}

TEST(KeepAwakeDesktop, TheDesktopsInhibitServicesHoldTheirKindAndAChangeOverlaps)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::Service services(QStringLiteral("quillon-test-inhibit"), {"pm", "gnome", "screensaver"});
    ASSERT_TRUE(services.started);
    AwakePlatform desktop; // no logind: the X server and the desktop's services
    const auto& inhibitors = desktop.assertions.desktopInhibitors();
    using Service = platform::linux_::DesktopInhibitors::Service;
    ASSERT_TRUE(waitFor([&] {
        return inhibitors.isPresent(Service::powerManagement) && inhibitors.isPresent(Service::gnomeSession) &&
               inhibitors.isPresent(Service::screenSaver);
    })) << "known from the bus's name list";
    const QString why = QStringLiteral("Quillon is keeping this computer awake");
    {
        SleepAssertion assertion;
        ASSERT_TRUE(assertion.acquire(Kind::keepDisplayOn, why));
        EXPECT_TRUE(services.waitForLine("inhibit pm 1 Quillon|" + why));
        EXPECT_TRUE(services.waitForLine("inhibit gnome 2 app.quillon.Quillon|0|" + why + "|12"))
            << "suspend and idle";
        EXPECT_TRUE(services.waitForLine("inhibit screensaver 3 Quillon|" + why));

        ASSERT_TRUE(assertion.acquire(Kind::allowDisplaySleep, why));
        EXPECT_TRUE(services.waitForLine("uninhibit screensaver 3"));
        EXPECT_TRUE(waitFor([&] {
            services.waitForLine("uninhibit", 50);
            return services.lines.contains("uninhibit pm 1") && services.lines.contains("uninhibit gnome 2");
        }));
        const QStringList& lines = services.lines;
        EXPECT_LT(lines.indexOf(QRegularExpression("^inhibit pm 4 ")), lines.indexOf("uninhibit pm 1"))
            << "the new one before the old one goes";
        EXPECT_LT(lines.indexOf(QRegularExpression("^inhibit gnome 5 .*\\|4$")), lines.indexOf("uninhibit gnome 2"))
            << "suspend only while the display may sleep";
        EXPECT_EQ(lines.filter(QRegularExpression("^inhibit screensaver")).size(), 1)
            << "the screen saver is not asked while the display may sleep";
    }
    EXPECT_TRUE(waitFor([&] {
        services.waitForLine("uninhibit", 50);
        return allGivenBack(services);
    })) << services.lines.join('\n').toStdString();
}

TEST(KeepAwakeDesktop, ACookieThatComesAfterTheReleaseIsGivenBackAtOnce)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::Service services(QStringLiteral("quillon-test-inhibit"), {"pm"});
    ASSERT_TRUE(services.started);
    ASSERT_TRUE(services.send("delay 1500"));
    AwakePlatform desktop;
    using Service = platform::linux_::DesktopInhibitors::Service;
    ASSERT_TRUE(waitFor([&] { return desktop.assertions.desktopInhibitors().isPresent(Service::powerManagement); }));
    SleepAssertion assertion;
    QElapsedTimer asking;
    asking.start();
    ASSERT_TRUE(assertion.acquire(Kind::allowDisplaySleep, QStringLiteral("why")))
        << "the power manager alone is enough while the display may sleep";
    EXPECT_LT(asking.elapsed(), 1000) << "nobody waits for the desktop's answer";
    assertion.release();
    ASSERT_TRUE(services.waitForLine("inhibit pm 1 "));
    EXPECT_TRUE(services.waitForLine("uninhibit pm 1")) << services.lines.join('\n').toStdString();

    // Refusals and nonsense hold nothing and give nothing back.
    ASSERT_TRUE(services.send("delay 0"));
    for (const char* answer : {"error", "malformed"}) {
        SCOPED_TRACE(answer);
        ASSERT_TRUE(services.send(QStringLiteral("answer ") + answer));
        ASSERT_TRUE(assertion.acquire(Kind::allowDisplaySleep, QStringLiteral("why")));
        ASSERT_TRUE(services.waitForLine("inhibit pm "));
        const QString cookie = services.lines.last().section(' ', 2, 2);
        // The answer comes before the next command's.
        ASSERT_TRUE(services.send("answer cookie"));
        waitFor([] { return false; }, 300);
        assertion.release();
        EXPECT_FALSE(services.waitForLine("uninhibit pm " + cookie, 500));
    }
}

TEST(KeepAwakeDesktop, AnInhibitServiceThatStartsWhileHeldIsAsked)
{
    QUILLON_REQUIRE_DESKTOP();
    AwakePlatform desktop;
    SleepAssertion assertion;
    ASSERT_TRUE(assertion.acquire(Kind::keepDisplayOn, QStringLiteral("why")));
    testing::Service services(QStringLiteral("quillon-test-inhibit"), {"screensaver"});
    ASSERT_TRUE(services.started);
    EXPECT_TRUE(services.waitForLine("inhibit screensaver 1 Quillon|why"));
    // Restarted: its inhibitors went with it, so it is asked again.
    ASSERT_TRUE(services.send("drop screensaver"));
    ASSERT_TRUE(services.send("own screensaver"));
    EXPECT_TRUE(services.waitForLine("inhibit screensaver 2 Quillon|why"));
    assertion.release();
    EXPECT_TRUE(services.waitForLine("uninhibit screensaver 2"));
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
        AwakeRig rig(desktop);
        rig.settings.setAwakeTriggerApps({QStringLiteral("awake-fixture")});
        rig.reconcile();
        EXPECT_FALSE(rig.awake.isActive());
        testing::TestWindows app({"--class", "awakefixture,AwakeFixture", "--title", "work"});
        EXPECT_TRUE(rig.heldWhile(true));
        EXPECT_TRUE(rig.awake.startedByTrigger());
        EXPECT_EQ(rig.awake.activeTriggerReason(), QStringLiteral("Awake Fixture is running"));
        app.process().terminate();
        EXPECT_TRUE(rig.heldWhile(false));
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
    AwakeRig rig(desktop);
    Settings& settings = rig.settings;
    AwakeFeature& awake = rig.awake;
    // A laptop panel over the left half of the screen, then a second monitor.
    testing::run("xrandr", {"--setmonitor", "eDP-1", "960/254x1080/286+0+0", "screen"});
    settings.setAwakeOnExternalDisplay(true);
    EXPECT_TRUE(waitFor([&] {
        const auto screens = desktop.displaysImpl.screens();
        return screens.size() == 1 && screens.front().builtIn;
    }));
    rig.reconcile();
    EXPECT_FALSE(awake.isActive()) << "the built-in panel alone starts nothing";
    testing::run("xrandr", {"--setmonitor", "HDMI-1", "960/254x1080/286+960+0", "none"});
    EXPECT_TRUE(rig.heldWhile(true));
    EXPECT_EQ(awake.activeTriggerReason(), QStringLiteral("an external display is connected"));
    testing::run("xrandr", {"--delmonitor", "HDMI-1"});
    EXPECT_TRUE(rig.heldWhile(false));
    testing::run("xrandr", {"--delmonitor", "eDP-1"});
}

TEST(KeepAwakeDesktop, AnExternalDriveMountedHoldsASession)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::Service udisks(QStringLiteral("quillon-test-udisks"));
    ASSERT_TRUE(udisks.started);
    // Mounted before anyone watched: learnt from the first question.
    ASSERT_TRUE(udisks.send(QStringLiteral("add sda1 1 0")));
    ASSERT_TRUE(udisks.send(QStringLiteral("mount sda1 /")));
    struct VolumePlatform final : fakes::ForwardingPlatform {
        platform::Volumes& volumes() override { return volumesImpl; }
        platform::linux_::UDisksVolumes volumesImpl;
    } desktop;
    int notices = 0;
    desktop.volumesImpl.addChangeHandler([&] { ++notices; });
    EXPECT_TRUE(waitFor([&] { return desktop.volumesImpl.mounted().size() == 1; }));
    const auto root = desktop.volumesImpl.mounted();
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(root.front().mountPoint, QStringLiteral("/")) << "the closing NUL is not part of the path";
    EXPECT_EQ(root.front().internal, true);

    AwakeRig rig(desktop);
    Settings& settings = rig.settings;
    AwakeFeature& awake = rig.awake;
    settings.setAwakeOnDriveMounted(true);
    rig.reconcile();
    EXPECT_FALSE(awake.isActive()) << "the system's own disk starts nothing";

    ASSERT_TRUE(udisks.send(QStringLiteral("add sdc1 0 1")));
    ASSERT_TRUE(udisks.send(QStringLiteral("mount sdc1 /run/media/recovery")));
    EXPECT_TRUE(waitFor([&] { return desktop.volumesImpl.mounted().size() == 2; }));
    rig.reconcile();
    EXPECT_FALSE(awake.isActive()) << "a hidden filesystem starts nothing";

    const int before = notices;
    ASSERT_TRUE(udisks.send(QStringLiteral("add sdb1 0 0")));
    ASSERT_TRUE(udisks.send(QStringLiteral("mount sdb1 /run/media/backup")));
    EXPECT_TRUE(rig.heldWhile(true));
    EXPECT_GT(notices, before);
    EXPECT_EQ(awake.activeTriggerReason(), QStringLiteral("an external drive is mounted"));
    ASSERT_TRUE(udisks.send(QStringLiteral("unmount sdb1")));
    EXPECT_TRUE(rig.heldWhile(false));

    ASSERT_TRUE(udisks.send(QStringLiteral("mount sdb1 /run/media/backup")));
    EXPECT_TRUE(rig.heldWhile(true));
    ASSERT_TRUE(udisks.send(QStringLiteral("remove sdb1")));
    EXPECT_TRUE(rig.heldWhile(false)) << "a drive pulled out while mounted";
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
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }))
        << quillon.log().toStdString();
    // No tray runs here, so the settings window opens at launch; a leader
    // held while it takes the focus would be cut short.
    quillon.waitForSettingsWindow();
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
        << logind.lines.join('\n').toStdString() << "\n" << quillon.log().toStdString();
    EXPECT_TRUE(waitFor([&] { return testing::storedBool(settingsFile, "awake.isEnabled") == true; }));
    chord();
    EXPECT_TRUE(logind.waitForLine("released 1")) << logind.lines.join('\n').toStdString();
    EXPECT_TRUE(waitFor([&] { return testing::storedBool(settingsFile, "awake.isEnabled") == false; }));
    EXPECT_EQ(logind.lines.filter("inhibit ").size(), 1) << "exactly one inhibitor";
}

} // namespace
} // namespace quillon
