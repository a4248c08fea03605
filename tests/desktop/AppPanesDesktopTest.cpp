#include "app/AppDelegate.h"
#include "common/PaneDesktop.h"
#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/SweepPane.h"

#include <QLabel>
#include <QPushButton>
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
    const auto until = [&](const std::function<bool()>& condition) {
        return waitFor(
            [&] {
                desktop.fake.queue.drain();
                return condition();
            },
            testing::patientMs);
    };
    ASSERT_TRUE(until([&] { return pane.windowHandle() && pane.windowHandle()->isExposed(); }));
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
    EXPECT_TRUE(until([&] { return desktop.stored(SettingsKeys::sweepListMode) == tagged("onlyListed"); }))
        << QJsonDocument(desktop.stored(SettingsKeys::sweepListMode).toObject()).toJson().constData();
    testing::clickWidget(typist, keep);
    EXPECT_TRUE(until([&] { return desktop.stored(SettingsKeys::sweepKeepSelfBackgrounded) == tagged(false); }))
        << QJsonDocument(desktop.stored(SettingsKeys::sweepKeepSelfBackgrounded).toObject()).toJson().constData();
    EXPECT_TRUE(until([&] { return pane.listSection()->headerLabel()->text() == "Apps to quit"; }));
    EXPECT_TRUE(pane.listWarning()->isHidden());
    EXPECT_FALSE(keep->isChecked());
}

TEST(AppPanesDesktop, SnapshotsOfSweepAutoQuitSwipeAndFocusDiffer)
{
    QUILLON_REQUIRE_DESKTOP();
    // Swipe and Focus hold a section or two: they fill only the top half.
    testing::expectDistinctSnapshots({"sweep", "autoQuit", "swipe", "focus"}, false);
}

} // namespace
} // namespace quillon
