#include "PaneFixture.h"

#include "input/FeatureChords.h"
#include "settings/SettingsKeys.h"
#include "ui/controls/FocusDimRow.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/FocusPane.h"

#include <QSlider>

namespace quillon {
namespace {

using FocusPaneStateTable = testing::PaneFixture<FocusPane>;
using FocusPaneWidget = testing::PaneFixture<FocusPane>;

TEST_F(FocusPaneStateTable, TheWarningStandsForAMissingCompositor)
{
    for (const bool compositor : {true, false}) {
        SCOPED_TRACE(compositor);
        const FocusPaneState state = FocusPaneState::read(compositor);
        EXPECT_EQ(state.sections, (QStringList{"Dimming", "Shortcut"}));
        EXPECT_EQ(state.showsCompositorWarning, !compositor);
        EXPECT_EQ(state.chords, FeatureChords::chords(SettingsPane::focus));
        ASSERT_EQ(state.chords.size(), 1);
        EXPECT_TRUE(state.chords[0].endsWith('F')) << state.chords[0].toStdString();
    }
}

TEST_F(FocusPaneWidget, TheWarningFollowsTheCompositorNotice)
{
    fake.overlays.setTranslucent(true);
    FocusPane& view = pane();
    EXPECT_EQ(shownSections(), (QStringList{"Dimming", "Shortcut"}));
    EXPECT_TRUE(view.compositorWarning()->isHidden());

    fake.overlays.setTranslucent(false);
    settle();
    EXPECT_FALSE(view.compositorWarning()->isHidden());
    EXPECT_EQ(view.compositorWarning()->text(),
              "Focus dimming needs a compositing window manager — none is running, so nothing is dimmed.");

    fake.overlays.setTranslucent(true);
    settle();
    EXPECT_TRUE(view.compositorWarning()->isHidden());
}

TEST_F(FocusPaneWidget, ADragSurvivesARedrawAndIsStoredOnceOnRelease)
{
    settings().set(0.3, SettingsKeys::focusAlpha);
    FocusPane& view = pane();
    FocusDimRow* row = view.dimRow();
    EXPECT_FALSE(row->dragValue()) << "a new pane has no drag under way";
    countNotifications();
    QSlider* slider = row->slider();
    slider->setSliderDown(true);
    slider->setSliderPosition(550);
    model->refresh();
    fake.overlays.setTranslucent(false);
    settle();
    EXPECT_EQ(view.dimRow(), row);
    EXPECT_EQ(slider->value(), 550);
    EXPECT_EQ(notifications, 0);
    slider->setSliderDown(false);
    settle();
    EXPECT_EQ(notifications, 1);
    EXPECT_DOUBLE_EQ(settings().defaults().doubleForKey(SettingsKeys::focusAlpha), 0.55);
}

TEST_F(FocusPaneWidget, AnAlphaOutsideTheRangeRestsAtTheEndAndStays)
{
    for (const double alpha : {0.95, 0.02}) {
        SCOPED_TRACE(alpha);
        settings().set(alpha, SettingsKeys::focusAlpha);
        FocusPane& view = pane();
        settle();
        QSlider* slider = view.dimRow()->slider();
        EXPECT_EQ(slider->value(), alpha > 0.5 ? slider->maximum() : slider->minimum());
        EXPECT_DOUBLE_EQ(settings().defaults().doubleForKey(SettingsKeys::focusAlpha), alpha);
    }
    EXPECT_NE(pane().findChild<Hotkeys*>(), nullptr);
}

} // namespace
} // namespace quillon
