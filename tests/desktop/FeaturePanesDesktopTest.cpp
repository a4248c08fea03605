#include "app/AppDelegate.h"
#include "common/PaneDesktop.h"
#include "features/awake/AwakeFeature.h"
#include "settings/Settings.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/PaneKit.h"

#include <QAbstractItemView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

using testing::StorePlatform;

/// The application's settings window on the virtual desktop, with settings
/// changes reconciled as the running application does.
struct WindowRig {
    WindowRig()
    {
        desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        app->settings().addObserver([this] { app->reconcile(); });
        controller().show();
        controller().window()->move(300, 100);
    }
    ~WindowRig() { app.reset(); }
    SettingsWindowController& controller() { return app->settingsWindow(); }
    bool until(const std::function<bool()>& condition) { return desktop.until(condition); }
    void click(QWidget* widget, QPoint at = {}) { testing::clickWidget(typist, widget, at); }
    /// Opens the pane through its sidebar row.
    template <typename Pane> Pane* open(SettingsPane pane)
    {
        click(controller().window()->findChild<QWidget*>("row-" + pane.rawValue()));
        if (!until([&] { return controller().selectedPane() == pane; }))
            return nullptr;
        return dynamic_cast<Pane*>(&controller().paneView()->paneView());
    }
    /// Picks an entry of a pop-up with the pointer.
    bool choose(ChoiceBox* box, const QString& title)
    {
        click(box);
        QAbstractItemView* list = box->view();
        if (!until([&] { return list->isVisible(); }))
            return false;
        waitFor([] { return false; }, 300);
        const QModelIndex index = list->model()->index(box->findText(title), 0);
        list->scrollTo(index);
        click(list->viewport(), list->visualRect(index).center());
        return until([&] { return !list->isVisible(); });
    }

    StorePlatform desktop;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    testing::Typist typist;
};

TEST(FeaturePanesDesktop, ChoicesMadeInThePanesLandInTheStoredFile)
{
    QUILLON_REQUIRE_DESKTOP();
    WindowRig rig;
    rig.app->settings().set(0, SettingsKeys::awakeDurationMinutes);
    rig.app->settings().setBreaksWorkIntervalMinutes(20);
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));

    AwakePane* awake = rig.open<AwakePane>(SettingsPane::awake);
    ASSERT_NE(awake, nullptr);
    rig.click(awake->modeControl()->buttons()[1]);
    EXPECT_TRUE(rig.until([&] { return rig.desktop.stored(SettingsKeys::awakeDurationMinutes) ==
                                        QJsonObject{{"type", "int"}, {"value", "60"}}; }))
        << QJsonDocument(rig.desktop.stored(SettingsKeys::awakeDurationMinutes).toObject()).toJson().constData();

    // The header's switch starts a timed session, shown after the redraw.
    rig.click(awake->findChild<FeatureHeader*>()->masterSwitch());
    ASSERT_TRUE(rig.until([&] { return rig.app->awake().isActive(); }));
    EXPECT_TRUE(rig.until([&] { return !awake->runningRow()->isHidden(); }));
    EXPECT_TRUE(awake->runningText().startsWith("until ")) << awake->runningText().toStdString();
    rig.click(awake->findChild<FeatureHeader*>()->masterSwitch());
    EXPECT_TRUE(rig.until([&] { return !rig.app->awake().isActive() && awake->runningRow()->isHidden(); }));

    BreaksPane* breaks = rig.open<BreaksPane>(SettingsPane::breaks);
    ASSERT_NE(breaks, nullptr);
    ASSERT_TRUE(rig.choose(breaks->workIntervalBox(), "45 minutes"));
    EXPECT_TRUE(rig.until([&] { return rig.desktop.stored(SettingsKeys::breaksWorkIntervalMinutes) ==
                                        QJsonObject{{"type", "int"}, {"value", "45"}}; }))
        << QJsonDocument(rig.desktop.stored(SettingsKeys::breaksWorkIntervalMinutes).toObject()).toJson().constData();
    EXPECT_EQ(breaks->workIntervalBox()->currentText(), "45 minutes");
}

TEST(FeaturePanesDesktop, SnapshotsOfTheFourPanesDiffer)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::expectDistinctSnapshots({"awake", "breaks", "notch", "shelf"});
}

} // namespace
} // namespace quillon
