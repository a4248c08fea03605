#include "features/awake/AwakeFeature.h"
#include "fakes/FakePlatform.h"
#include "notch/BatteryMonitor.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Kind = SleepAssertion::Kind;

/// The feature with the delegate's part played by hand: every settings
/// write is followed by a reconcile, as the settings observer does.
struct AwakeRig {
    AwakeRig()
    {
        feature.onSessionChange = [this](bool active, int minutes) { changes.emplace_back(active, minutes); };
    }
    void reconcile()
    {
        fake.queue.drain();
        if (settings.isAwakeEnabled())
            feature.activate();
        else
            feature.deactivate();
        feature.applyTriggers();
        fake.queue.drain();
        if (settings.isAwakeEnabled() != feature.isActive())
            reconcile();
    }
    void set(const QString& key, const platform::PlistValue& value)
    {
        settings.defaults().set(key, value);
        reconcile();
    }
    bool noticed(const QString& body) const
    {
        return std::any_of(fake.notifications.posts.begin(), fake.notifications.posts.end(),
                           [&](const auto& p) { return p.identifier == "awake-ended" && p.body == body; });
    }
    platform::RunningApp app(int32_t pid, const QString& id, const QString& name)
    {
        platform::RunningApp a;
        a.pid = pid;
        a.appId = id;
        a.name = name;
        a.regular = true;
        return a;
    }
    void launch(const platform::RunningApp& a)
    {
        fake.workspaceImpl.apps.push_back(a);
        fake.workspaceImpl.send(platform::AppNotice::launched, a);
        reconcile();
    }
    void quit(int32_t pid)
    {
        auto& apps = fake.workspaceImpl.apps;
        const auto it = std::find_if(apps.begin(), apps.end(), [&](const auto& a) { return a.pid == pid; });
        const auto gone = *it;
        apps.erase(it);
        fake.workspaceImpl.send(platform::AppNotice::terminated, gone);
        reconcile();
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    BatteryMonitor battery;
    AwakeFeature feature{settings, battery};
    std::vector<std::pair<bool, int>> changes;
};

TEST(AwakeFeature, TheDurationGivesTheDeadline)
{
    struct Row {
        qint64 minutes;
        std::optional<qint64> secondsToEnd;
    };
    const Row table[] = {{-5, std::nullopt}, {0, std::nullopt}, {30, 30 * 60}, {60'000, qint64(60'000) * 60}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.minutes);
        AwakeRig rig;
        rig.settings.defaults().set(SettingsKeys::awakeDurationMinutes, row.minutes);
        rig.set(SettingsKeys::awakeIsEnabled, true);
        ASSERT_TRUE(rig.feature.isActive());
        const QDateTime started = rig.fake.queue.now();
        EXPECT_EQ(rig.feature.endsAt().has_value(), row.secondsToEnd.has_value());
        if (row.secondsToEnd) {
            EXPECT_EQ(started.secsTo(*rig.feature.endsAt()), *row.secondsToEnd);
            rig.fake.queue.advance(double(*row.secondsToEnd) - 1);
            rig.reconcile();
            EXPECT_TRUE(rig.feature.isActive()) << "a long session does not end early";
        }
        EXPECT_EQ(rig.fake.powerAssertionsImpl.held.size(), 1u);
        EXPECT_EQ(rig.fake.powerAssertionsImpl.held[0].reason, "Quillon is keeping this computer awake");
    }
}

TEST(AwakeFeature, ADurationChangeRetimesOnlyASessionStartedFromTheSettings)
{
    AwakeRig rig;
    rig.settings.defaults().set(SettingsKeys::awakeDurationMinutes, qint64(30));
    rig.set(SettingsKeys::awakeIsEnabled, true);
    rig.fake.queue.advance(600);
    rig.set(SettingsKeys::awakeDurationMinutes, qint64(60));
    EXPECT_EQ(rig.fake.queue.now().secsTo(*rig.feature.endsAt()), 3600) << "the new length counts from now";
    EXPECT_EQ(rig.changes.back(), std::make_pair(true, 60));
    rig.set(SettingsKeys::awakeIsEnabled, false);

    rig.feature.toggleQuick();
    rig.reconcile();
    ASSERT_TRUE(rig.feature.isActive());
    EXPECT_FALSE(rig.feature.endsAt()) << "a quick session has no time limit";
    rig.set(SettingsKeys::awakeDurationMinutes, qint64(5));
    EXPECT_FALSE(rig.feature.endsAt());
    rig.feature.toggleQuick();
    rig.reconcile();
    EXPECT_FALSE(rig.feature.isActive());
}

TEST(AwakeFeature, TimeAsleepCountsTowardsTheEnd)
{
    AwakeRig rig;
    rig.settings.defaults().set(SettingsKeys::awakeDurationMinutes, qint64(30));
    rig.set(SettingsKeys::awakeIsEnabled, true);
    const double uptime = rig.fake.queue.uptime();
    rig.fake.queue.setNow(rig.fake.queue.now().addSecs(2 * 3600)); // asleep for two hours
    rig.reconcile();
    EXPECT_EQ(rig.fake.queue.uptime(), uptime);
    EXPECT_FALSE(rig.feature.isActive());
    EXPECT_FALSE(rig.settings.isAwakeEnabled());
    EXPECT_TRUE(rig.noticed("The timed session finished; the computer may sleep now."));
    EXPECT_TRUE(rig.fake.powerAssertionsImpl.held.empty());
}

TEST(AwakeFeature, LowBattery)
{
    struct Row {
        const char* name;
        std::vector<int> readings; // on battery; the first at the start
        bool ended;
        bool onBattery = true;
    };
    const Row table[] = {
        {"started at 8 % on battery is kept", {8, 7, 6}, false},
        {"11 % then 10 % ends", {11, 10}, true},
        {"started low, charged above 10 %, low again ends", {8, 12, 10}, true},
        {"on mains power nothing ends", {11, 5}, false, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        AwakeRig rig;
        rig.settings.setAwakeEndOnLowBattery(true);
        rig.fake.powerSourcesImpl.set(row.onBattery, row.readings.front());
        rig.set(SettingsKeys::awakeIsEnabled, true);
        ASSERT_TRUE(rig.feature.isActive());
        for (size_t i = 1; i < row.readings.size(); ++i) {
            rig.fake.powerSourcesImpl.set(row.onBattery, row.readings[i]);
            rig.fake.powerSourcesImpl.change();
            rig.reconcile();
        }
        EXPECT_EQ(!rig.feature.isActive(), row.ended);
        if (row.ended) {
            EXPECT_TRUE(rig.noticed(QStringLiteral("Battery at %1% — the session was ended to save power.")
                                        .arg(row.readings.back())));
            EXPECT_TRUE(rig.fake.log.contains(QStringLiteral("Awake: ending session, battery at 10%")));
        }
    }
}

TEST(AwakeFeature, Triggers)
{
    struct Row {
        const char* name;
        std::function<void(AwakeRig&)> script;
        bool active;
        bool byTrigger;
        std::optional<QString> reason;
    };
    const Row table[] = {
        {"a manual session outlives a trigger app",
         [](AwakeRig& r) {
             r.settings.setAwakeTriggerApps({"org.example.Player"});
             r.reconcile();
             r.feature.toggleQuick();
             r.reconcile();
             r.launch(r.app(10, "org.example.Player", "Player"));
             r.quit(10);
         },
         true, false, std::nullopt},
        {"a trigger app starts and ends a session",
         [](AwakeRig& r) {
             r.set(SettingsKeys::awakeTriggerApps, QStringList{"org.example.Player"});
             r.launch(r.app(10, "org.example.Player", "Player"));
             EXPECT_TRUE(r.feature.isActive());
             EXPECT_FALSE(r.feature.endsAt()) << "no time limit";
             r.quit(10);
         },
         false, false, std::nullopt},
        {"two trigger apps: the session lasts while either runs",
         [](AwakeRig& r) {
             r.set(SettingsKeys::awakeTriggerApps, QStringList{"org.example.Player", "org.example.Game"});
             r.launch(r.app(10, "org.example.Player", "Player"));
             r.launch(r.app(11, "org.example.Game", ""));
             r.quit(10);
         },
         true, true, QStringLiteral("an app is running")},
        {"adding a running app starts a session at once",
         [](AwakeRig& r) {
             r.launch(r.app(10, "org.example.Player", "Player"));
             r.set(SettingsKeys::awakeTriggerApps, QStringList{"org.example.Player"});
         },
         true, true, QStringLiteral("Player is running")},
        {"a listed id that matches nothing running starts nothing",
         [](AwakeRig& r) { r.set(SettingsKeys::awakeTriggerApps, QStringList{"org.example.Nothing"}); },
         false, false, std::nullopt},
        {"an app comes before an external display",
         [](AwakeRig& r) {
             r.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
             r.settings.setAwakeOnExternalDisplay(true);
             r.launch(r.app(10, "org.example.Player", "Player"));
             r.set(SettingsKeys::awakeTriggerApps, QStringList{"org.example.Player"});
         },
         true, true, QStringLiteral("Player is running")},
        {"an external display starts and ends a session",
         [](AwakeRig& r) {
             auto builtIn = fakes::makeScreen(QRectF(0, 0, 1440, 900));
             builtIn.builtIn = true;
             r.fake.displaysImpl.setScreens({builtIn});
             r.set(SettingsKeys::awakeOnExternalDisplay, true);
             EXPECT_FALSE(r.feature.isActive());
             r.fake.displaysImpl.setScreens({builtIn, fakes::makeScreen(QRectF(1440, 0, 1920, 1080))});
             r.reconcile();
             EXPECT_EQ(r.feature.activeTriggerReason(), QStringLiteral("an external display is connected"));
             EXPECT_TRUE(r.feature.startedByTrigger());
             r.fake.displaysImpl.setScreens({builtIn});
             r.reconcile();
         },
         false, false, std::nullopt},
        {"an external drive starts and ends a session",
         [](AwakeRig& r) {
             r.set(SettingsKeys::awakeOnDriveMounted, true);
             r.fake.volumesImpl.mount({QStringLiteral("/media/backup"), false, false});
             r.reconcile();
             EXPECT_TRUE(r.feature.isActive());
             EXPECT_EQ(r.feature.activeTriggerReason(), QStringLiteral("an external drive is mounted"));
             r.fake.volumesImpl.unmount(QStringLiteral("/media/backup"));
             r.reconcile();
         },
         false, false, std::nullopt},
        {"hidden, internal and unknown volumes are no external drive",
         [](AwakeRig& r) {
             r.fake.volumesImpl.mount({QStringLiteral("/boot/efi"), true, false});
             r.fake.volumesImpl.mount({QStringLiteral("/"), false, true});
             r.fake.volumesImpl.mount({QStringLiteral("/mnt/what"), false, std::nullopt});
             r.set(SettingsKeys::awakeOnDriveMounted, true);
         },
         false, false, std::nullopt},
        {"a drive mounted before the trigger is switched on starts a session at once",
         [](AwakeRig& r) {
             r.fake.volumesImpl.mount({QStringLiteral("/media/stick"), false, false});
             r.set(SettingsKeys::awakeOnDriveMounted, true);
         },
         true, true, QStringLiteral("an external drive is mounted")},
        {"the drive trigger switched off stops following mounts",
         [](AwakeRig& r) {
             r.set(SettingsKeys::awakeOnDriveMounted, true);
             r.set(SettingsKeys::awakeOnDriveMounted, false);
             EXPECT_FALSE(r.fake.volumesImpl.watching());
             r.fake.volumesImpl.mount({QStringLiteral("/media/stick"), false, false});
             r.reconcile();
         },
         false, false, std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        AwakeRig rig;
        row.script(rig);
        EXPECT_EQ(rig.feature.isActive(), row.active);
        EXPECT_EQ(rig.feature.startedByTrigger(), row.byTrigger);
        if (row.byTrigger) {
            EXPECT_EQ(rig.feature.activeTriggerReason(), row.reason);
        }
    }
}

TEST(AwakeFeature, ARefusedAssertionLeavesNoTraceForTheNextSession)
{
    AwakeRig rig;
    rig.settings.setAwakeTriggerApps({"org.example.Player"});
    rig.reconcile();
    rig.fake.powerAssertionsImpl.failNext = 1;
    rig.launch(rig.app(10, "org.example.Player", "Player"));
    EXPECT_FALSE(rig.feature.isActive());
    EXPECT_FALSE(rig.settings.isAwakeEnabled()) << "the switch goes back off";
    EXPECT_TRUE(rig.fake.log.contains("Awake: power assertion unavailable; session not started"));
    rig.quit(10);

    rig.settings.defaults().set(SettingsKeys::awakeDurationMinutes, qint64(20));
    rig.set(SettingsKeys::awakeIsEnabled, true);
    ASSERT_TRUE(rig.feature.isActive());
    EXPECT_FALSE(rig.feature.startedByTrigger());
    ASSERT_TRUE(rig.feature.endsAt()) << "a session from the settings takes its duration";
    EXPECT_EQ(rig.fake.queue.now().secsTo(*rig.feature.endsAt()), 20 * 60);
}

TEST(AwakeFeature, TheDisplaySettingSwapsTheAssertionWithoutAGap)
{
    AwakeRig rig;
    rig.set(SettingsKeys::awakeIsEnabled, true);
    rig.set(SettingsKeys::awakeAllowDisplaySleep, true);
    const auto& events = rig.fake.powerAssertionsImpl.events;
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(events[0].created);
    EXPECT_EQ(events[0].kind, Kind::keepDisplayOn);
    EXPECT_TRUE(events[1].created);
    EXPECT_EQ(events[1].kind, Kind::allowDisplaySleep);
    EXPECT_FALSE(events[2].created);
    EXPECT_EQ(events[2].handle, events[0].handle);
    EXPECT_EQ(rig.fake.hapticsImpl.count, 1);
}

} // namespace
} // namespace quillon
