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
    settings.set(false, SettingsKeys::notchSpaceNumber);
    EXPECT_FALSE(notch.showSpaceChip(2));
    settings.set(true, SettingsKeys::notchSpaceNumber);
    NotchGeometry::drawsWithoutNotch = false; // no screen carries a notch now
    EXPECT_FALSE(notch.showSpaceChip(2));
}

} // namespace
} // namespace quillon
