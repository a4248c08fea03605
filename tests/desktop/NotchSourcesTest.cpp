#include "common/Desktop.h"
#include "common/Service.h"
#include "fakes/FakeUserDefaults.h"
#include "fakes/ForwardingPlatform.h"
#include "notch/BatteryMonitor.h"
#include "notch/DeviceChipWatcher.h"
#include "notch/MediaKey.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "platform/linux/BluezBluetooth.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/MprisNowPlaying.h"
#include "platform/linux/UPowerSources.h"
#include "platform/linux/X11KeySynth.h"
#include "settings/Settings.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <QTimer>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

using namespace quillon;
using namespace quillon::platform::linux_;

namespace {

using quillon::testing::Service;

TEST(NotchSourcesDesktop, APlayerStartingAndStoppingShowsAndHidesTheNowPlayingChip)
{
    QUILLON_REQUIRE_DESKTOP();
    LinuxPlatform linuxPlatform;
    platform::Platform* previous = platform::hasPlatform() ? &platform::platform() : nullptr;
    platform::setPlatform(&linuxPlatform);
    {
        fakes::FakeUserDefaults defaults;
        Settings settings(defaults, QStringLiteral("app.quillon.Quillon"));
        settings.setNotchNowPlaying(true);
        NotchGeometry::drawsWithoutNotch = true;
        BatteryMonitor battery;
        NotchStage stage;
        NotchFeature notch(settings, battery, stage);
        notch.activate();

        // The player comes after the watching started, and is seen arriving.
        Service player(QStringLiteral("quillon-test-mpris"));
        ASSERT_TRUE(player.started);
        ASSERT_TRUE(player.send(QStringLiteral("play Blue in Green|Miles Davis")));
        ASSERT_TRUE(quillon::testing::waitFor([&] { return notch.nowPlayingChip().panel() != nullptr; }));
        EXPECT_EQ(stage.shown(), NotchSource::nowPlaying);
        EXPECT_EQ(notch.nowPlayingChip().state().title, QStringLiteral("Blue in Green"));
        EXPECT_EQ(notch.nowPlayingChip().state().artist, QStringLiteral("Miles Davis"));

        // The pointer over the strip below the notch shows the buttons
        // without taking the focus; a click on one reaches the player.
        notch.nowPlayingChip().onMediaKey = [](MediaKey key) { key.post(); };
        NowPlayingCatcher* panel = notch.nowPlayingChip().panel();
        const QPoint strip = panel->mapToGlobal(panel->interactiveRect().center().toPoint());
        QProcess::execute("xdotool", {"mousemove", QString::number(strip.x()), QString::number(strip.y())});
        ASSERT_TRUE(quillon::testing::waitFor(
            [&] { return notch.nowPlayingChip().state().phase == NowPlayingChipState::Phase::controls; }));
        NowPlayingCatcher* controls = notch.nowPlayingChip().panel();
        const QRectF next = notch.nowPlayingChip()
                                .bar()
                                ->itemRect(QStringLiteral("next"))
                                ->translated(notch.nowPlayingChip().bar()->pos());
        const QPoint click = controls->mapToGlobal(next.center().toPoint());
        QProcess::execute(
            "xdotool", {"mousemove", QString::number(click.x()), QString::number(click.y()), "click", "1"});
        EXPECT_TRUE(player.waitForLine(QStringLiteral("call Next"))) << player.lines.join('\n').toStdString();
        EXPECT_FALSE(QGuiApplication::focusWindow());
        QProcess::execute("xdotool", {"mousemove", "5", "700"});

        ASSERT_TRUE(player.send(QStringLiteral("pause")));
        EXPECT_TRUE(quillon::testing::waitFor([&] { return notch.nowPlayingChip().panel() == nullptr; }));
        EXPECT_TRUE(stage.arbiter().claims.empty());

        // A player that leaves while it plays stops the chip.
        ASSERT_TRUE(player.send(QStringLiteral("play Solar|Miles Davis")));
        ASSERT_TRUE(quillon::testing::waitFor([&] { return notch.nowPlayingChip().panel() != nullptr; }));
        player.stop();
        EXPECT_TRUE(quillon::testing::waitFor([&] { return stage.arbiter().claims.empty(); }));
        notch.deactivate();
    }
    platform::setPlatform(previous);
}

/// The main thread's longest pause between two turns of its event loop over `ms`.
qint64 longestStall(int ms)
{
    QElapsedTimer total, gap;
    total.start();
    gap.start();
    qint64 longest = 0;
    while (total.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        longest = std::max(longest, gap.restart());
        QThread::msleep(5);
    }
    return longest;
}

// A player that stalls, answers with the wrong types or vanishes mid-call:
// no chip from it, and the main thread never waits for it.
TEST(NotchSourcesDesktop, AStalledGarbledOrVanishingPlayerNeitherFreezesNorShowsAChip)
{
    QUILLON_REQUIRE_DESKTOP();
    LinuxPlatform linuxPlatform;
    platform::Platform* previous = platform::hasPlatform() ? &platform::platform() : nullptr;
    platform::setPlatform(&linuxPlatform);
    {
        fakes::FakeUserDefaults defaults;
        Settings settings(defaults, QStringLiteral("app.quillon.Quillon"));
        settings.setNotchNowPlaying(true);
        BatteryMonitor battery;
        NotchStage stage;
        NotchFeature notch(settings, battery, stage);

        Service player(QStringLiteral("quillon-test-mpris"));
        ASSERT_TRUE(player.started);
        player.post(QStringLiteral("freeze 2000"));
        notch.activate(); // reads the stalled player
        MediaKey(MediaKey::next).post();
        EXPECT_LT(longestStall(1500), 250);
        EXPECT_FALSE(notch.nowPlayingChip().panel());
        ASSERT_TRUE(player.waitForLine(QStringLiteral("done freeze")));

        ASSERT_TRUE(player.send(QStringLiteral("garble")));
        EXPECT_LT(longestStall(300), 250);
        EXPECT_FALSE(notch.nowPlayingChip().panel()) << "a status of the wrong type is no playing";

        // It still works once the player makes sense again.
        ASSERT_TRUE(player.send(QStringLiteral("play Solar|Miles Davis")));
        ASSERT_TRUE(quillon::testing::waitFor([&] { return notch.nowPlayingChip().panel() != nullptr; }));

        // Gone while stalled: the chip goes with it.
        player.post(QStringLiteral("freeze 5000"));
        MediaKey(MediaKey::playPause).post();
        EXPECT_LT(longestStall(300), 250);
        player.kill();
        EXPECT_TRUE(quillon::testing::waitFor([&] { return notch.nowPlayingChip().panel() == nullptr; }));
        EXPECT_LT(longestStall(300), 250);
        notch.deactivate();
    }
    platform::setPlatform(previous);
}

TEST(NotchSourcesDesktop, MediaKeysGoToThePlayerOrElseToTheKeyboard)
{
    QUILLON_REQUIRE_DESKTOP();
    X11KeySynth synth;
    MprisNowPlaying mpris([&](platform::MediaKeys::Key key) { return synth.postMediaKey(key); });
    {
        Service player(QStringLiteral("quillon-test-mpris"), {QStringLiteral("keys")});
        ASSERT_TRUE(player.started);
        ASSERT_TRUE(player.send(QStringLiteral("pause")));
        mpris.post(platform::MediaKeys::Key::playPause); // no one watches: the paused player
        EXPECT_TRUE(player.waitForLine(QStringLiteral("call PlayPause")));
        // Watched, the keys go to the player the music follows.
        bool playing = false;
        const int token = mpris.addHandler([&](const platform::PlayerNotification& n) {
            playing = n.playerState == QLatin1String("Playing");
        });
        ASSERT_TRUE(player.send(QStringLiteral("play Nardis|Bill Evans")));
        ASSERT_TRUE(quillon::testing::waitFor([&] { return playing; }));
        mpris.post(platform::MediaKeys::Key::previous);
        EXPECT_TRUE(player.waitForLine(QStringLiteral("call Previous")));
        mpris.removeHandler(token);
    }

    // No player: the keyboard's media key, press and release, to the focused window.
    Service window(QStringLiteral("quillon-test-keywindow"));
    ASSERT_TRUE(window.started);
    mpris.post(platform::MediaKeys::Key::next);
    const QString next = QString::number(KEY_NEXTSONG + 8);
    EXPECT_TRUE(window.waitForLine(QStringLiteral("press ") + next)) << window.lines.join('\n').toStdString();
    EXPECT_TRUE(window.waitForLine(QStringLiteral("release ") + next))
        << window.lines.join('\n').toStdString();
}

TEST(NotchSourcesDesktop, MediaKeysGoToThePlayerThatPlayedLast)
{
    QUILLON_REQUIRE_DESKTOP();
    int keyboardKeys = 0;
    MprisNowPlaying mpris([&](platform::MediaKeys::Key) { return ++keyboardKeys > 0; });
    Service one(QStringLiteral("quillon-test-mpris"), {QStringLiteral("one")});
    Service two(QStringLiteral("quillon-test-mpris"), {QStringLiteral("two")});
    ASSERT_TRUE(one.started && two.started);

    // Unwatched: asked of each player, the one playing wins over a paused one.
    ASSERT_TRUE(one.send(QStringLiteral("pause")));
    ASSERT_TRUE(two.send(QStringLiteral("play Nardis|Bill Evans")));
    mpris.post(platform::MediaKeys::Key::next);
    EXPECT_TRUE(two.waitForLine(QStringLiteral("call Next"))) << two.lines.join('\n').toStdString();
    ASSERT_TRUE(two.send(QStringLiteral("stop")));
    mpris.post(platform::MediaKeys::Key::next);
    EXPECT_TRUE(one.waitForLine(QStringLiteral("call Next"))) << "the paused one";
    ASSERT_TRUE(one.send(QStringLiteral("stop")));
    mpris.post(platform::MediaKeys::Key::next);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return keyboardKeys == 1; })) << "no player is sent it";

    // Watched: the last one that reported Playing, though both are paused now.
    QString state;
    const int token = mpris.addHandler(
        [&](const platform::PlayerNotification& n) { state = n.playerState.value_or(QString()); });
    ASSERT_TRUE(two.send(QStringLiteral("play Solar|Miles Davis")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return state == QLatin1String("Playing"); }));
    ASSERT_TRUE(two.send(QStringLiteral("pause")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return state == QLatin1String("Paused"); }));
    ASSERT_TRUE(one.send(QStringLiteral("play Nardis|Bill Evans")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return state == QLatin1String("Playing"); }));
    ASSERT_TRUE(one.send(QStringLiteral("pause")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return state == QLatin1String("Paused"); }));
    mpris.post(platform::MediaKeys::Key::playPause);
    EXPECT_TRUE(one.waitForLine(QStringLiteral("call PlayPause"))) << one.lines.join('\n').toStdString();
    EXPECT_FALSE(two.lines.contains(QStringLiteral("call PlayPause")));
    mpris.removeHandler(token);
}

class PowerPlatform final : public fakes::ForwardingPlatform {
public:
    platform::PowerSources& powerSources() override { return power; }
    platform::Bluetooth& bluetooth() override { return bluez; }
    UPowerSources power{QStringLiteral("/nonexistent")};
    BluezBluetooth bluez;
};

TEST(NotchSourcesDesktop, UPowerReportsThePresentBatteryAndItsChanges)
{
    QUILLON_REQUIRE_DESKTOP();
    PowerPlatform platform;
    BatteryMonitor monitor;
    EXPECT_FALSE(monitor.currentState()) << "no UPower and no kernel battery";

    Service upower(QStringLiteral("quillon-test-upower"));
    ASSERT_TRUE(upower.started);
    // The reading is asked without waiting: it comes as a change.
    std::vector<BatteryMonitor::State> seen;
    int owner = 0;
    monitor.add(&owner, [&](BatteryMonitor::State state) { seen.push_back(state); });
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.back(), (BatteryMonitor::State{false, 80}));
    EXPECT_EQ(monitor.currentState(), (BatteryMonitor::State{false, 80}));
    seen.clear();
    ASSERT_TRUE(upower.send(QStringLiteral("on-battery true")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.back(), (BatteryMonitor::State{true, 80}));
    ASSERT_TRUE(upower.send(QStringLiteral("percent 19.5")));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return seen.back() == BatteryMonitor::State{true, 19}; }));
    monitor.remove(&owner);
}

// A UPower slow to answer holds nothing: the main loop runs on, and the
// reading arrives when it arrives.
TEST(NotchSourcesDesktop, ASlowUPowerNeverHoldsTheMainThread)
{
    QUILLON_REQUIRE_DESKTOP();
    PowerPlatform platform;
    Service upower(QStringLiteral("quillon-test-upower"),
                   {QStringLiteral("--reply-delay-ms"), QStringLiteral("2000")});
    ASSERT_TRUE(upower.started);
    BatteryMonitor monitor;
    std::vector<BatteryMonitor::State> seen;
    int owner = 0;
    monitor.add(&owner, [&](BatteryMonitor::State state) { seen.push_back(state); });
    EXPECT_FALSE(monitor.currentState()) << "nothing known yet, and nothing waited for";
    bool ticked = false;
    QTimer::singleShot(50, [&] { ticked = true; });
    ASSERT_TRUE(quillon::testing::waitFor([&] { return ticked; }));
    EXPECT_TRUE(seen.empty()) << "the loop ran while the answer was pending";
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.back(), (BatteryMonitor::State{false, 80}));
    monitor.remove(&owner);
}

TEST(NotchSourcesDesktop, ABlueZDeviceConnectingIsReportedWithItsBattery)
{
    QUILLON_REQUIRE_DESKTOP();
    PowerPlatform platform;
    Service bluez(QStringLiteral("quillon-test-bluez"));
    ASSERT_TRUE(bluez.started);
    ASSERT_TRUE(bluez.send(QStringLiteral("add 12:34:56:78:9A:BC 64 Studio Headphones")));

    DeviceChipWatcher watcher;
    struct Report {
        QString name;
        std::optional<int> percent;
        bool connected;
    };
    std::vector<Report> reports;
    watcher.onChip = [&](const std::optional<QIcon>&, const QString& name, std::optional<int> percent,
                         bool connected) {
        reports.push_back({name, percent, connected});
    };
    watcher.start();
    ASSERT_TRUE(bluez.send(QStringLiteral("connect 12:34:56:78:9A:BC")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return platform.fake.queue.pendingCount() > 0; }));
    platform.fake.queue.advance(DeviceChipWatcher::batteryDelay);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].name, QStringLiteral("Studio Headphones"));
    EXPECT_EQ(reports[0].percent, 64);
    EXPECT_TRUE(reports[0].connected);

    ASSERT_TRUE(bluez.send(QStringLiteral("disconnect 12:34:56:78:9A:BC")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return reports.size() == 2; }));
    EXPECT_FALSE(reports[1].connected);
    EXPECT_EQ(reports[1].name, QStringLiteral("Studio Headphones"));
    watcher.stop();
}

TEST(NotchSourcesDesktop, ADeviceConnectedBeforeWatchingIsNotReportedWhenItChanges)
{
    QUILLON_REQUIRE_DESKTOP();
    PowerPlatform platform;
    Service bluez(QStringLiteral("quillon-test-bluez"));
    ASSERT_TRUE(bluez.started);
    ASSERT_TRUE(bluez.send(QStringLiteral("add 12:34:56:78:9A:BC 64 Old Headphones")));
    ASSERT_TRUE(bluez.send(QStringLiteral("connect 12:34:56:78:9A:BC")));

    DeviceChipWatcher watcher;
    std::vector<std::pair<QString, bool>> reports;
    watcher.onChip = [&](const std::optional<QIcon>&, const QString& name, std::optional<int>,
                         bool connected) { reports.emplace_back(name, connected); };
    watcher.start();
    // Renaming the device that was already connected is no connection.
    ASSERT_TRUE(bluez.send(QStringLiteral("rename 12:34:56:78:9A:BC Renamed Headphones")));
    ASSERT_TRUE(bluez.send(QStringLiteral("add 12:34:56:78:9A:BD 50 New Mouse")));
    ASSERT_TRUE(bluez.send(QStringLiteral("connect 12:34:56:78:9A:BD")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return platform.fake.queue.pendingCount() > 0; }));
    platform.fake.queue.advance(DeviceChipWatcher::batteryDelay);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], std::make_pair(QStringLiteral("New Mouse"), true));

    // Nor is its disconnection reported: it never connected while watched.
    ASSERT_TRUE(bluez.send(QStringLiteral("disconnect 12:34:56:78:9A:BC")));
    ASSERT_TRUE(bluez.send(QStringLiteral("disconnect 12:34:56:78:9A:BD")));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return reports.size() >= 2; }));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], std::make_pair(QStringLiteral("New Mouse"), false));
    watcher.stop();
}

} // namespace
