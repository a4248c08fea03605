#include "UiFixture.h"

#include "ui/PaneView.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsPaneView.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/HowItWorks.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

namespace quillon {
namespace {

struct PaneHost : ::testing::Test, testing::UiFixture {};

TEST_F(PaneHost, EveryPaneHasSwitchesOnlyAndTheSmallFont)
{
    for (const SettingsPane pane : SettingsPane::allCases()) {
        SCOPED_TRACE(pane.rawValue().toStdString());
        SettingsPaneView view(*model, pane);
        EXPECT_TRUE(all<QCheckBox>(view).isEmpty());
        EXPECT_EQ(view.font().pixelSize(), SettingsPaneView::controlFontPixels);
        const auto& features = SettingsPane::features();
        const bool isFeature = std::find(features.begin(), features.end(), pane) != features.end();
        EXPECT_EQ(all<FeatureHeader>(view).size(), isFeature ? 1 : 0);
    }
}

TEST_F(PaneHost, HeaderSwitchWritesAndFollowsTheStore)
{
    SettingsPaneView view(*model, SettingsPane::breaks);
    ToggleSwitch* toggle = all<FeatureHeader>(view).front()->masterSwitch();
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->accessibleName(), "Breaks on");
    EXPECT_FALSE(toggle->isChecked());

    toggle->click();
    EXPECT_TRUE(settings().defaults().boolForKey("breaks.isEnabled"));

    // A change made elsewhere shows after one turn of the queue, not before.
    settings().setBreaksEnabled(false);
    EXPECT_TRUE(toggle->isChecked());
    fake.queue.drain();
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(PaneHost, ShowingValuesStoresNothing)
{
    // Reloading sets every control; none of that may come back as a write.
    settings().setSnapEnabled(true);
    fake.queue.drain();
    int writes = 0;
    settings().addObserver([&writes] { ++writes; });
    for (const SettingsPane pane : SettingsPane::allCases()) {
        SettingsPaneView view(*model, pane);
        view.paneView().reload();
    }
    EXPECT_EQ(writes, 0);
}

TEST_F(PaneHost, SwitchingPanesStartsWithFreshState)
{
    auto& window = app->settingsWindow();
    window.show();
    QPointer<SettingsPaneView> first = window.paneView();
    ASSERT_TRUE(first);
    HowItWorks* help = nullptr;
    window.select(SettingsPane::snap);
    help = all<HowItWorks>(*window.paneView()).front();
    // Local state of the pane's own: a search field's text.
    auto* search = new QLineEdit(window.paneView());
    search->setObjectName("search");
    search->setText("chrome");

    window.select(SettingsPane::jump);
    window.select(SettingsPane::snap);
    ASSERT_TRUE(window.paneView());
    EXPECT_EQ(window.paneView()->pane(), SettingsPane::snap);
    EXPECT_FALSE(window.paneView()->findChild<QLineEdit*>("search"));
    EXPECT_NE(all<HowItWorks>(*window.paneView()).front(), help);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "the old view is gone";

    // The sidebar selects too.
    auto* row = window.window()->findChild<QWidget*>(QStringLiteral("row-about"));
    ASSERT_TRUE(row);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 14), row->mapToGlobal(QPointF(20, 14)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(row, &press);
    EXPECT_EQ(window.paneView()->pane(), SettingsPane::about);
    window.window()->hide();
}

TEST_F(PaneHost, WindowObservesOnlyWhileShown)
{
    auto& window = app->settingsWindow();
    window.show();
    EXPECT_TRUE(window.model().isObserving());
    window.window()->hide();
    EXPECT_FALSE(window.model().isObserving());
    window.show();
    EXPECT_TRUE(window.model().isObserving());
    window.window()->hide();
}

TEST_F(PaneHost, SegmentedControlSignalsOnlyAPersonsChoice)
{
    SegmentedControl control({"Notch", "On screen", "None"});
    std::vector<int> chosen;
    QObject::connect(&control, &SegmentedControl::chosen, [&chosen](int index) { chosen.push_back(index); });

    control.setSelectedIndex(1);
    EXPECT_TRUE(control.buttons()[1]->isChecked());
    // A stored value out of range selects none, and nothing is sent.
    for (const int outOfRange : {-1, 3, 99}) {
        control.setSelectedIndex(outOfRange);
        EXPECT_EQ(control.selectedIndex(), -1);
        for (QPushButton* button : control.buttons())
            EXPECT_FALSE(button->isChecked());
    }
    EXPECT_TRUE(chosen.empty());

    control.buttons()[2]->click();
    control.buttons()[2]->click();
    EXPECT_EQ(chosen, (std::vector<int>{2, 2}));
    EXPECT_EQ(control.selectedIndex(), 2);
    EXPECT_TRUE(control.buttons()[2]->isChecked()) << "the selected segment stays selected";
    EXPECT_FALSE(control.buttons()[1]->isChecked());
}

TEST_F(PaneHost, ToggleSwitchIsSmallAndFlipsWithSpace)
{
    ToggleSwitch toggle("Hide on repeat");
    toggle.bind(
        model->bind(Settings::BoolKeyPath{&Settings::jumpHideOnRepeat, &Settings::setJumpHideOnRepeat}));
    EXPECT_EQ(toggle.sizeHint(), QSize(32, 18));
    EXPECT_EQ(toggle.accessibleName(), "Hide on repeat");
    const bool was = settings().jumpHideOnRepeat();
    toggle.show();
    toggle.setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(&toggle, &press);
    QCoreApplication::sendEvent(&toggle, &release);
    EXPECT_EQ(toggle.isChecked(), !was);
    EXPECT_EQ(settings().jumpHideOnRepeat(), !was);
}

} // namespace
} // namespace quillon
