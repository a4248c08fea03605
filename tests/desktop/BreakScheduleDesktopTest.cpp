// What the break schedule reads from the X server: how long input has been
// left alone, and how long since a key went down, with keys and pointer
// moves typed through XTest.
#include "common/Desktop.h"
#include "common/KeyWindow.h"
#include "common/QuillonRun.h"
#include "common/SplitScreen.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "features/breaks/BreaksFeature.h"
#include "platform/linux/LogindPowerAssertions.h"
#include "platform/linux/LogindSessionEvents.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11InputIdle.h"
#include "platform/linux/X11KeyEvents.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class IdlePlatform final : public fakes::ForwardingPlatform {
public:
    platform::Clock& clock() override { return clockImpl; }
    platform::KeyEvents& keyEvents() override { return keys; }
    platform::InputIdle& inputIdle() override { return idle; }

    platform::linux_::SystemClock clockImpl;
    platform::linux_::X11KeyEvents keys;
    platform::linux_::X11InputIdle idle;
};

TEST(BreakScheduleDesktop, AMoveIsInputButNoKeyAndAKeyIsBoth)
{
    QUILLON_REQUIRE_DESKTOP();
    IdlePlatform p;
    Typist typist;
    p.idle.listen(true);
    // Nothing typed since listening began, two seconds ago.
    QElapsedTimer since;
    since.start();
    waitFor([&] { return since.elapsed() >= 2000; }, 3000);
    typist.moveTo(400, 300);
    typist.moveTo(420, 310);
    ASSERT_TRUE(waitFor([&] { return p.idle.secondsSinceInput() < 1.0; }, 10000));
    EXPECT_GE(p.idle.secondsSinceKeyDown(), 1.0);

    typist.tap(38); // A
    ASSERT_TRUE(waitFor([&] { return p.idle.secondsSinceKeyDown() < 1.0; }, 10000));
    EXPECT_LT(p.idle.secondsSinceInput(), 1.0);

    p.idle.listen(false);
    EXPECT_EQ(p.idle.secondsSinceKeyDown(), 0.0);
}

// Another program's "idle" block inhibitor keeps the display awake; ours,
// another mode, a failed reading or no logind at all do not.
TEST(BreakScheduleDesktop, OthersIdleInhibitorsAreSeenThroughAPendingCall)
{
    QUILLON_REQUIRE_DESKTOP();
    fakes::FakePlatform fake;
    const QString own = QString::number(QCoreApplication::applicationPid());
    struct Row {
        const char* name;
        QStringList inhibitors;
        bool others;
    };
    const Row table[] = {
        {"another pid's idle block", {"sleep:idle,block,4242"}, true},
        {"our own",
         {"idle,"
          "block," +
          own},
         false},
        {"a delay, not a block", {"idle,delay,4242"}, false},
        {"none", {}, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QStringList arguments;
        for (const QString& inhibitor : row.inhibitors)
            arguments << "--inhibitor" << inhibitor;
        QProcess logind;
        logind.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-logind"), arguments);
        ASSERT_TRUE(waitFor([&] { return logind.canReadLine() && logind.readLine().startsWith("ready"); }));
        platform::linux_::LogindPowerAssertions assertions;
        EXPECT_FALSE(assertions.othersPreventDisplaySleep()) << "nothing read yet";
        assertions.refreshOthers();
        if (row.others)
            EXPECT_TRUE(waitFor([&] { return assertions.othersPreventDisplaySleep(); }));
        else
            EXPECT_FALSE(waitFor([&] { return assertions.othersPreventDisplaySleep(); }, 1000));
        logind.closeWriteChannel();
        logind.waitForFinished(3000);
    }
    // No logind on the bus: no inhibitor, and no wait.
    platform::linux_::LogindPowerAssertions assertions;
    assertions.refreshOthers();
    EXPECT_FALSE(waitFor([&] { return assertions.othersPreventDisplaySleep(); }, 1000));
}

// logind's PrepareForSleep(false) is a wake; its (true), going to sleep, is
// nothing yet.
TEST(BreakScheduleDesktop, WakingFromSleepIsNoticed)
{
    QUILLON_REQUIRE_DESKTOP();
    fakes::FakePlatform fake;
    QDBusConnection bus = QDBusConnection::systemBus();
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.login1")));
    platform::linux_::LogindSessionEvents events;
    std::vector<platform::SessionNotice> notices;
    events.addHandler([&](platform::SessionNotice notice) { notices.push_back(notice); });
    const auto sleep = [&](bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        bus.send(signal);
    };
    // The match rule reaches the bus before the first signal is sent.
    waitFor([] { return false; }, 300);
    sleep(true);
    sleep(false);
    EXPECT_TRUE(waitFor([&] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector{platform::SessionNotice::woke});
    bus.unregisterService(QStringLiteral("org.freedesktop.login1"));
}

/// Answers GetSessionByPID with one session path.
class SessionManager final : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("GetSessionByPID"))
            return false;
        QDBusMessage reply = message.createReply();
        reply << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/freedesktop/login1/session/_31")));
        connection.send(reply);
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
};

// Our session turning active again is noticed once per turn; other
// properties and the turn to inactive are not.
TEST(BreakScheduleDesktop, OurSessionBecomingActiveAgainIsNoticed)
{
    QUILLON_REQUIRE_DESKTOP();
    fakes::FakePlatform fake;
    QDBusConnection bus = QDBusConnection::systemBus();
    SessionManager manager;
    ASSERT_TRUE(bus.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &manager));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.login1")));
    platform::linux_::LogindSessionEvents events;
    std::vector<platform::SessionNotice> notices;
    events.addHandler([&](platform::SessionNotice notice) { notices.push_back(notice); });
    // The session's path comes back by a pending call; then its match rule.
    waitFor([] { return false; }, 500);
    const auto changed = [&](const QString& name, bool value) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1/session/_31"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        signal << QStringLiteral("org.freedesktop.login1.Session") << QVariantMap{{name, value}}
               << QStringList();
        bus.send(signal);
    };
    changed(QStringLiteral("Active"), false);
    changed(QStringLiteral("IdleHint"), true);
    changed(QStringLiteral("Active"), true);
    EXPECT_TRUE(waitFor([&] { return !notices.empty(); }));
    waitFor([] { return false; }, 200);
    EXPECT_EQ(notices, std::vector{platform::SessionNotice::becameActive});
    bus.unregisterService(QStringLiteral("org.freedesktop.login1"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
}

class WakePlatform final : public fakes::ForwardingPlatform {
public:
    platform::SessionEvents& sessionEvents() override { return events; }
    platform::linux_::LogindSessionEvents events;
};

// logind's wake takes a showing break down, without an outcome, and the
// work period starts over.
TEST(BreakScheduleDesktop, AWakeTakesAShowingBreakDownAndRestartsTheCycle)
{
    QUILLON_REQUIRE_DESKTOP();
    WakePlatform p;
    QDBusConnection bus = QDBusConnection::systemBus();
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.login1")));
    p.fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
    Settings settings{p.fake.defaults, QStringLiteral("app.quillon.Quillon")};
    settings.setBreaksWorkIntervalMinutes(1);
    settings.setBreaksSmartDefer(false);
    BreaksFeature feature(settings);
    int done = 0;
    feature.onBreakDone = [&] { ++done; };
    feature.activate();
    p.fake.queue.advance(62);
    ASSERT_EQ(feature.overlay().panels().size(), 1u);
    waitFor([] { return false; }, 300);
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                     QStringLiteral("org.freedesktop.login1.Manager"),
                                                     QStringLiteral("PrepareForSleep"));
    signal << false;
    bus.send(signal);
    EXPECT_TRUE(waitFor([&] { return feature.overlay().panels().empty(); }));
    EXPECT_EQ(feature.nextPhaseLabel(), QStringLiteral("pre-warning"));
    EXPECT_EQ(done, 0);
    feature.deactivate();
    bus.unregisterService(QStringLiteral("org.freedesktop.login1"));
}

// The real binary with a one-minute interval: about 61 s after it starts
// one break panel covers each monitor, keys reach no window, Esc twice ends it.
TEST(BreakScheduleDesktop, TheBreakComesAfterAMinuteOnEveryMonitorAndEscTwiceEndsIt)
{
    QUILLON_REQUIRE_DESKTOP();
    SplitScreen split;
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "breaks.isEnabled": {"type": "bool", "value": true},
                                            "breaks.workIntervalMinutes": {"type": "int", "value": 1},
                                            "breaks.smartDefer": {"type": "bool", "value": false}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Breaks activated"); }, 10000))
        << quillon.log().toStdString();
    quillon.waitForSettingsWindow();
    KeyWindow window;
    ASSERT_TRUE(window.waitReady());
    auto x = platform::linux_::X11Connection::open();
    const auto panels = [&] {
        int covering = 0;
        for (const TopWindow& w : overrideRedirectWindows(*x))
            covering += w.geometry == QRect(0, 0, 960, 1080) || w.geometry == QRect(960, 0, 960, 1080);
        return covering;
    };
    ASSERT_TRUE(waitFor([&] { return panels() == 2; }, 90000)) << quillon.log().toStdString();
    EXPECT_TRUE(quillon.log().contains("Breaks: screen up on 2 display(s)"));

    Typist typist;
    // The break takes the keyboard just after its panels map: another
    // client's grab is refused from then on.
    const auto keyboardTaken = [&] {
        xcb_connection_t* c = x->get();
        platform::linux_::XcbReply<xcb_grab_keyboard_reply_t> grab(xcb_grab_keyboard_reply(
            c, xcb_grab_keyboard(c, 1, x->root(), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
            nullptr));
        if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS) {
            xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
            xcb_flush(c);
            return false;
        }
        return grab && grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    };
    ASSERT_TRUE(waitFor(keyboardTaken, 10000));
    typist.tap(38); // A
    typist.tap(9);  // Esc
    typist.tap(9);
    ASSERT_TRUE(waitFor([&] { return panels() == 0; }, 10000)) << quillon.log().toStdString();
    EXPECT_TRUE(quillon.log().contains("skipped"));
    typist.tap(56); // B
    ASSERT_TRUE(window.waitReleased(56)) << "the keyboard is back";
    EXPECT_EQ(window.count("press", 38), 0) << "typed during the break, it reached no window";
    EXPECT_EQ(window.count("press", 9), 0);
}

} // namespace
