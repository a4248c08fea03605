#include "notch/NotchFeature.h"
#include "fakes/FakePlatform.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "settings/Settings.h"

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

} // namespace
} // namespace quillon
