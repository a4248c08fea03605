#include "notch/NotchFeature.h"
#include "BarTexts.h"
#include "fakes/FakePlatform.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "permissions/ScreenRecordingPermission.h"
#include "settings/Settings.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace quillon {
namespace {

class NotchFeatureTest : public ::testing::Test {
protected:
    NotchFeatureTest() { NotchGeometry::drawsWithoutNotch = true; }
    ~NotchFeatureTest() override { NotchGeometry::drawsWithoutNotch = true; }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    BatteryMonitor battery;
    NotchStage stage;
    NotchFeature notch{settings, battery, stage};
};

TEST_F(NotchFeatureTest, SpaceChipNeedsTheFeatureTheSettingAndANotchScreen)
{
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    settings.set(true, SettingsKeys::notchSpaceNumber);
    EXPECT_FALSE(notch.showSpaceChip(2)) << "inactive";
    notch.activate();
    EXPECT_TRUE(notch.showSpaceChip(2));
    EXPECT_EQ(stage.shown(), NotchSource::chip);
    settings.set(false, SettingsKeys::notchSpaceNumber);
    EXPECT_FALSE(notch.showSpaceChip(2));
    settings.set(true, SettingsKeys::notchSpaceNumber);
    NotchGeometry::drawsWithoutNotch = false; // no screen carries a notch now
    EXPECT_FALSE(notch.showSpaceChip(2));
}

TEST_F(NotchFeatureTest, ATakeoverClearsTheNotchAndStopsNewChips)
{
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    settings.set(true, SettingsKeys::notchSpaceNumber);
    notch.activate();
    ASSERT_TRUE(notch.showSpaceChip(3));
    ASSERT_TRUE(notch.controller().chipMount());

    stage.claim(NotchTakeover::shelfExpanded);
    EXPECT_FALSE(notch.controller().chipMount());
    EXPECT_TRUE(stage.arbiter().claims.empty());
    notch.showSpaceChip(4);
    EXPECT_FALSE(notch.controller().chipMount());

    stage.release(NotchTakeover::shelfExpanded);
    notch.showSpaceChip(5);
    EXPECT_TRUE(notch.controller().chipMount());
}

// The chips a sequence of power readings shows, each as its texts.
class NotchFeatureChipsTest : public NotchFeatureTest {
protected:
    NotchFeatureChipsTest()
    {
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        settings.setNotchBatteryChips(true);
        settings.setNotchDeviceChips(true);
    }

    /// The texts of the chip on screen; empty when none.
    QStringList chipTexts()
    {
        const auto& mount = notch.controller().chipMount();
        return mount ? quillon::testing::barTexts(mount->bar()) : QStringList();
    }
    QStringList textsOf(const NotchContent& content) const
    {
        NotchBarView bar(content, QSizeF(200, 32), 14);
        return quillon::testing::barTexts(&bar);
    }
    /// Sets the battery, tells the monitor, and answers the chip shown then
    /// (dismissing it, so the next reading starts afresh).
    QStringList reading(bool onBattery, double percent)
    {
        fake.powerSourcesImpl.set(onBattery, percent);
        const QStringList shown = chipTexts();
        notch.controller().teardown();
        return shown;
    }
};

TEST_F(NotchFeatureChipsTest, BatteryChipsOnThresholdsAndPowerChanges)
{
    struct Step {
        bool onBattery;
        double percent;
        std::optional<NotchContent> chip;
    };
    fake.powerSourcesImpl.battery = platform::BatteryReading{true, 30};
    notch.activate(); // 30 % on battery is the baseline
    const Step steps[] = {
        {true, 21, std::nullopt},
        {true, 19, NotchStates::lowBatteryChip(19)},
        {true, 15, std::nullopt},
        {true, 11, std::nullopt},
        {true, 9, NotchStates::lowBatteryChip(9)},
        {false, 9, NotchStates::batteryChip(true, 9)},   // plugged in
        {false, 60, std::nullopt},
        {true, 60, NotchStates::batteryChip(false, 60)}, // unplugged
        {true, 25, std::nullopt},
        {true, 8, NotchStates::lowBatteryChip(8)},       // both thresholds at once: one chip
    };
    int index = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(reading(step.onBattery, step.percent), step.chip ? textsOf(*step.chip) : QStringList())
            << "step " << index;
        ++index;
    }
}

TEST_F(NotchFeatureChipsTest, SwitchingBatteryChipsBackOnTakesANewBaseline)
{
    fake.powerSourcesImpl.battery = platform::BatteryReading{true, 50};
    notch.activate();
    settings.setNotchBatteryChips(false);
    notch.activate();
    EXPECT_FALSE(fake.powerSourcesImpl.watching());
    fake.powerSourcesImpl.battery = platform::BatteryReading{false, 15};
    settings.setNotchBatteryChips(true);
    notch.activate();
    EXPECT_TRUE(reading(false, 14).isEmpty()) << "15 % plugged in is the baseline";
    EXPECT_EQ(reading(true, 14), textsOf(NotchStates::batteryChip(false, 14)));
}

TEST_F(NotchFeatureChipsTest, WithoutAReadingAtStartTheFirstChangeIsOnlyStored)
{
    notch.activate();
    EXPECT_TRUE(reading(true, 15).isEmpty());
    EXPECT_EQ(reading(false, 15), textsOf(NotchStates::batteryChip(true, 15)));
}

TEST_F(NotchFeatureChipsTest, DeviceChipsFollowTheSetting)
{
    notch.activate();
    const platform::BluetoothDevice mouse{QStringLiteral("MX Mouse"), QStringLiteral("AA:BB:CC:DD:EE:09")};
    fake.bluetoothImpl.batteries["aa:bb:cc:dd:ee:09"] = 42;
    fake.bluetoothImpl.connect(mouse);
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(chipTexts(), (QStringList{"42%", "MX Mouse"}));
    fake.bluetoothImpl.disconnect(mouse);
    EXPECT_EQ(chipTexts(), (QStringList{"Off", "MX Mouse"}));

    settings.setNotchDeviceChips(false);
    notch.activate();
    EXPECT_EQ(fake.bluetoothImpl.connectRegistrationCount(), 0u);
    settings.setNotchDeviceChips(true);
    notch.activate();
    notch.activate();
    EXPECT_EQ(fake.bluetoothImpl.connectRegistrationCount(), 1u);
}

TEST_F(NotchFeatureChipsTest, NowPlayingFollowsTheSettingAndTheStage)
{
    notch.activate();
    EXPECT_FALSE(fake.nowPlayingImpl.watching()) << "off by default";
    settings.setNotchNowPlaying(true);
    notch.activate();
    fake.nowPlayingImpl.play("Song", "Band");
    EXPECT_EQ(stage.shown(), NotchSource::nowPlaying);
    ASSERT_TRUE(notch.nowPlayingChip().panel());

    // A chip of higher rank takes the notch for its time.
    fake.bluetoothImpl.connect({QStringLiteral("Pods"), QStringLiteral("AA:00:00:00:00:01")});
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(stage.shown(), NotchSource::chip);
    EXPECT_FALSE(notch.nowPlayingChip().panel());
    notch.controller().teardown();
    EXPECT_TRUE(notch.nowPlayingChip().panel());

    fake.nowPlayingImpl.pause();
    EXPECT_FALSE(notch.nowPlayingChip().panel());
    EXPECT_FALSE(stage.arbiter().claims.count(NotchSource::nowPlaying));

    fake.nowPlayingImpl.play("Song", "Band");
    settings.setNotchNowPlaying(false);
    notch.activate();
    EXPECT_FALSE(fake.nowPlayingImpl.watching());
    EXPECT_FALSE(notch.nowPlayingChip().panel());
    EXPECT_TRUE(stage.arbiter().claims.empty());
}

TEST_F(NotchFeatureChipsTest, DeactivatingStopsEverySource)
{
    settings.setNotchNowPlaying(true);
    fake.powerSourcesImpl.battery = platform::BatteryReading{true, 50};
    notch.activate();
    fake.nowPlayingImpl.play("Song", "Band");
    notch.deactivate();
    EXPECT_FALSE(fake.nowPlayingImpl.watching());
    EXPECT_FALSE(fake.powerSourcesImpl.watching());
    EXPECT_EQ(fake.bluetoothImpl.connectRegistrationCount(), 0u);
    EXPECT_FALSE(notch.nowPlayingChip().panel());
    EXPECT_TRUE(stage.arbiter().claims.empty());
}

TEST_F(NotchFeatureChipsTest, AGeometryChangeClearsTheNotchAndRedrawsNowPlaying)
{
    settings.setNotchNowPlaying(true);
    notch.activate();
    fake.nowPlayingImpl.play("Song", "Band");
    const QWidget* before = notch.nowPlayingChip().panel();
    ScreenRecordingPermission::grantedAtLaunch = false;
    fake.permissionsImpl.screenCapture = true;
    notch.showOCRRestartPrompt();
    ASSERT_TRUE(notch.restartPrompt().panel());
    NotchGeometry::notifier().post();
    EXPECT_FALSE(notch.restartPrompt().panel());
    EXPECT_TRUE(stage.arbiter().takeovers.empty());
    ASSERT_TRUE(notch.nowPlayingChip().panel());
    EXPECT_NE(notch.nowPlayingChip().panel(), before) << "rebuilt at the new notch";
}

// Hint rows shown one after another: a timed hiding scheduled for an
// earlier row must not take a later one down.
TEST_F(NotchFeatureChipsTest, ANewHintRowEndsTheWaitOfAnEarlierAutoHide)
{
    notch.activate();
    NotchBarItem key;
    key.text = QStringLiteral("A");
    notch.showLeaderHints({key}, QStringLiteral("preview"), 1.0);
    fake.queue.advance(0.5);
    notch.showLeaderHints({key}, QStringLiteral("press a key to jump"), std::nullopt);
    fake.queue.advance(1.0);
    EXPECT_TRUE(notch.controller().hintMount()) << "the held row stays";

    notch.showLeaderHints({key}, std::nullopt, 1.0);
    notch.showLeaderHints({}, std::nullopt, std::nullopt); // nothing shown: the timer stands
    fake.queue.advance(1.0);
    EXPECT_FALSE(notch.controller().hintMount());

    notch.showLeaderHints({key}, std::nullopt, 1.0);
    notch.showSnapUnsupported(); // also a hint row
    settings.setNotchSnapHints(true);
    notch.showSnapUnsupported();
    fake.queue.advance(1.5);
    EXPECT_TRUE(notch.controller().hintMount());
}

TEST_F(NotchFeatureChipsTest, CaptionsChooseTheirHintSetting)
{
    notch.activate();
    NotchBarItem key;
    key.text = QStringLiteral("A");
    struct Case {
        const char* caption;
        bool featureHints;
        bool leaderHints;
        bool shown;
    };
    const Case cases[] = {
        {"features", false, true, false}, {"features", true, false, true}, {"Features", true, false, false},
        {"Features", false, true, true},  {nullptr, false, true, true},    {nullptr, true, false, false},
    };
    for (const Case& c : cases) {
        settings.setNotchFeatureHints(c.featureHints);
        settings.setNotchLeaderHints(c.leaderHints);
        notch.controller().teardown();
        const auto caption = c.caption ? std::optional<QString>(QString::fromLatin1(c.caption)) : std::nullopt;
        notch.showLeaderHints({key}, caption, std::nullopt);
        EXPECT_EQ(bool(notch.controller().hintMount()), c.shown)
            << (c.caption ? c.caption : "no caption") << ' ' << c.featureHints << c.leaderHints;
    }
}

TEST_F(NotchFeatureChipsTest, TheRelaunchPromptOrItsChip)
{
    ScreenRecordingPermission::grantedAtLaunch = false;
    ScreenRecordingPermission::restartPromptDismissed = false;
    fake.permissionsImpl.screenCapture = true;
    notch.showOCRRestartPrompt();
    EXPECT_FALSE(notch.restartPrompt().panel()) << "inactive";

    notch.activate();
    notch.showOCRRestartPrompt();
    ASSERT_TRUE(notch.restartPrompt().panel());
    EXPECT_TRUE(stage.arbiter().takeovers.count(NotchTakeover::ocrPrompt));
    notch.restartPrompt().panel()->dismissButton()->click();
    EXPECT_TRUE(ScreenRecordingPermission::restartPromptDismissed);
    EXPECT_TRUE(stage.arbiter().takeovers.empty());

    notch.showOCRRestartPrompt();
    EXPECT_FALSE(notch.restartPrompt().panel());
    EXPECT_EQ(chipTexts(), textsOf(NotchStates::ocrRestartChip()));

    ScreenRecordingPermission::grantedAtLaunch = true; // the X11 case
    ScreenRecordingPermission::restartPromptDismissed = false;
    notch.controller().teardown();
    notch.showOCRRestartPrompt();
    EXPECT_FALSE(notch.restartPrompt().panel());
    EXPECT_EQ(chipTexts(), textsOf(NotchStates::ocrRestartChip()));
    ScreenRecordingPermission::grantedAtLaunch = false;
}

} // namespace
} // namespace quillon
