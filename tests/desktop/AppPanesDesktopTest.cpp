#include "app/AppDelegate.h"
#include "common/PaneDesktop.h"
#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/WarningRow.h"
#include "features/focus/FocusFeature.h"
#include "ui/SettingsPaneView.h"
#include "ui/controls/FocusDimRow.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/AutoQuitPane.h"
#include "ui/panes/FocusPane.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/SweepPane.h"
#include "ui/panes/SwipePane.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWindow>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

/// Matches the stored form of `value` in a domain's file.
QJsonValue tagged(const platform::PlistValue& value)
{
    return value.toTaggedJson();
}

TEST(SweepPaneDesktop, ClickedChoicesLandInTheStoredFile)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::StorePlatform desktop;
    desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    const auto app = std::make_unique<AppDelegate>();
    SettingsModel model(app->settingsWindow().features());
    SweepPane pane(model);
    pane.reload();
    pane.resize(620, 760);
    pane.move(300, 60);
    pane.show();
    ASSERT_TRUE(desktop.until([&] { return pane.windowHandle() && pane.windowHandle()->isExposed(); }));
    ASSERT_EQ(pane.listSection()->headerLabel()->text(), "Excluded apps (never quit)");
    ToggleSwitch* keep = nullptr;
    for (ToggleSwitch* each : pane.findChildren<ToggleSwitch*>()) {
        if (each->accessibleName() == "Keep self-backgrounding apps")
            keep = each;
    }
    ASSERT_NE(keep, nullptr);
    ASSERT_TRUE(keep->isChecked());

    testing::Typist typist;
    testing::clickWidget(typist, pane.modeControl()->buttons()[1]);
    EXPECT_TRUE(desktop.until([&] { return desktop.stored(SettingsKeys::sweepListMode) == tagged("onlyListed"); }))
        << QJsonDocument(desktop.stored(SettingsKeys::sweepListMode).toObject()).toJson().constData();
    testing::clickWidget(typist, keep);
    EXPECT_TRUE(desktop.until([&] { return desktop.stored(SettingsKeys::sweepKeepSelfBackgrounded) == tagged(false); }))
        << QJsonDocument(desktop.stored(SettingsKeys::sweepKeepSelfBackgrounded).toObject()).toJson().constData();
    EXPECT_TRUE(desktop.until([&] { return pane.listSection()->headerLabel()->text() == "Apps to quit"; }));
    EXPECT_TRUE(pane.listWarning()->isHidden());
    EXPECT_FALSE(keep->isChecked());
}

/// The settings window over the Linux defaults store, panes chosen in it.
struct SettingsWindowRig {
    SettingsWindowRig()
    {
        desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        controller().show();
        controller().window()->move(300, 100);
    }
    SettingsWindowController& controller() { return app->settingsWindow(); }
    bool until(const std::function<bool()>& condition) { return desktop.until(condition); }
    template <typename Pane> Pane* open(SettingsPane pane)
    {
        controller().select(pane);
        if (!until([&] { return controller().selectedPane() == pane; }))
            return nullptr;
        return dynamic_cast<Pane*>(&controller().paneView()->paneView());
    }
    void click(QWidget* widget) { testing::clickWidget(typist, widget); }

    testing::StorePlatform desktop;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    testing::Typist typist;
};

TEST(AutoQuitPaneDesktop, QuitAllExceptListedWarnsWithTheStoredMinutes)
{
    QUILLON_REQUIRE_DESKTOP();
    SettingsWindowRig rig;
    rig.app->settings().setAutoQuitMinutes(7);
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    AutoQuitPane* pane = rig.open<AutoQuitPane>(SettingsPane::autoQuit);
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->warning()->isHidden());
    EXPECT_EQ(pane->intervalBox()->currentText(), "7 minutes");

    rig.click(pane->modeControl()->buttons()[0]);
    EXPECT_TRUE(rig.until([&] { return rig.desktop.stored(SettingsKeys::autoQuitListMode) == tagged("excludeListed"); }));
    EXPECT_TRUE(rig.until([&] { return !pane->warning()->isHidden(); }));
    EXPECT_EQ(pane->warning()->text(),
              "Every app you haven't used for 7 minutes will be quit — including ones with unsaved work.");
    EXPECT_EQ(pane->appsLabel()->title(), "Never auto-quit these");
}

TEST(SwipePaneDesktop, NothingStoresBothFeedbackKeysFalse)
{
    QUILLON_REQUIRE_DESKTOP();
    SettingsWindowRig rig;
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    SwipePane* pane = rig.open<SwipePane>(SettingsPane::swipe);
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(pane->feedbackControl()->selectedIndex(), 0);

    rig.click(pane->feedbackControl()->buttons()[2]);
    EXPECT_TRUE(rig.until([&] {
        return rig.desktop.stored(SettingsKeys::notchSpaceNumber) == tagged(false) &&
               rig.desktop.stored(SettingsKeys::swipeShowsOSD) == tagged(false);
    }));
    EXPECT_EQ(pane->feedbackControl()->selectedIndex(), 2);
}

TEST(FocusPaneDesktop, ADraggedSliderPreviewsLiveAndStoresOnceOnRelease)
{
    QUILLON_REQUIRE_DESKTOP();
    SettingsWindowRig rig;
    Settings& settings = rig.app->settings();
    settings.set(0.3, SettingsKeys::focusAlpha);
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    FocusPane* pane = rig.open<FocusPane>(SettingsPane::focus);
    ASSERT_NE(pane, nullptr);
    QSlider* slider = pane->dimRow()->slider();
    ASSERT_EQ(slider->value(), 300);
    // The new pane is laid out on a later turn: place the pointer after that.
    waitFor([] { return false; }, 300);

    int writes = 0;
    const QUuid watch = settings.addObserver([&] { ++writes; });
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_All;
    const QPoint handle = slider->mapToGlobal(
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center());
    rig.typist.moveTo(handle.x(), handle.y());
    waitFor([] { return false; }, 100);
    rig.typist.button(1, true);
    for (int step = 1; step <= 6; ++step) {
        rig.typist.moveTo(handle.x() + step * 15, handle.y());
        waitFor([] { return false; }, 60);
    }
    EXPECT_TRUE(rig.until([&] { return rig.app->focus().alpha() > 0.4; })) << "the dimming follows the thumb";
    EXPECT_EQ(writes, 0) << "nothing stored while dragging";
    EXPECT_EQ(rig.desktop.stored(SettingsKeys::focusAlpha), tagged(0.3));
    rig.typist.button(1, false);
    EXPECT_TRUE(rig.until([&] { return writes > 0; }));
    waitFor([] { return false; }, 300);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(rig.desktop.stored(SettingsKeys::focusAlpha), tagged(slider->value() / 1000.0));
    settings.removeObserver(watch);
}

TEST(AppPanesDesktop, SnapshotsOfSweepAutoQuitSwipeAndFocusDiffer)
{
    QUILLON_REQUIRE_DESKTOP();
    // Swipe and Focus hold a section or two: they fill only the top half.
    testing::expectDistinctSnapshots({"sweep", "autoQuit", "swipe", "focus"}, false);
}

} // namespace
} // namespace quillon
