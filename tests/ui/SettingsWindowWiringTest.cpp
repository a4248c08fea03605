#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "notch/NotchController.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "support/Log.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace quillon {
namespace {

// The header switch of the open window reaches the running feature.
TEST(SettingsWindowWiring, HeaderSwitchTurnsTheFeatureOnWithItsChip)
{
    fakes::FakePlatform fake;
    Log::isDebugEnabled = false;
    NotchGeometry::drawsWithoutNotch = true;
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    auto app = std::make_unique<AppDelegate>();
    app->applicationDidFinishLaunching({"quillon"});
    fake.queue.drain();

    auto& window = app->settingsWindow();
    window.show();
    window.select(SettingsPane::breaks);
    fake.queue.advance(5);
    ASSERT_NE(app->notchStage().shown(), NotchSource::chip);

    ToggleSwitch* toggle = window.paneView()->findChild<FeatureHeader*>()->masterSwitch();
    ASSERT_TRUE(toggle);
    ASSERT_FALSE(toggle->isChecked());
    toggle->click();
    fake.queue.drain();

    EXPECT_TRUE(app->hasFeature(SettingsPane::breaks));
    EXPECT_EQ(app->notchStage().shown(), NotchSource::chip);
    EXPECT_TRUE(app->notch().controller().chipMount());
    EXPECT_TRUE(toggle->isChecked());
    window.window()->hide();
    app.reset();
}

} // namespace
} // namespace quillon
