#include "PaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/SegmentedControl.h"
#include "ui/controls/PermissionRows.h"
#include "ui/panes/SwipePane.h"

#include <QPushButton>
#include <utility>

namespace quillon {
namespace {

struct SwipePaneFixture : testing::PaneFixture<SwipePane> {
    void storePair(bool notch, bool onScreen)
    {
        settings().set(notch, SettingsKeys::notchSpaceNumber);
        settings().set(onScreen, SettingsKeys::swipeShowsOSD);
    }
    std::pair<bool, bool> pair() const
    {
        const auto& store = app->settings().defaults();
        return {store.boolForKey(SettingsKeys::notchSpaceNumber), store.boolForKey(SettingsKeys::swipeShowsOSD)};
    }
};

using SwipePaneStateTable = SwipePaneFixture;
using SwipePaneWidget = SwipePaneFixture;

TEST_F(SwipePaneStateTable, TheTwoKeysReadAsOneSegment)
{
    struct Case {
        bool notch;
        bool onScreen;
        int segment;
    };
    // (true, false) is written by no segment and reads as the notch.
    const Case cases[] = {{true, true, 0}, {true, false, 0}, {false, true, 1}, {false, false, 2}};
    for (const Case& c : cases) {
        for (const bool granted : {true, false}) {
            SCOPED_TRACE(::testing::Message() << c.notch << c.onScreen << " granted " << granted);
            storePair(c.notch, c.onScreen);
            setTrusted(granted);
            const SwipePaneState state = SwipePaneState::read(settings(), granted);
            EXPECT_EQ(state.feedbackIndex, c.segment);
            EXPECT_EQ(state.showsGate, !granted);
            EXPECT_EQ(state.sections,
                      granted ? QStringList{"Feedback"} : (QStringList{"Needed to work", "Feedback"}));

            SwipePane& view = pane();
            model->refresh();
            settle();
            EXPECT_EQ(view.feedbackControl()->selectedIndex(), c.segment);
            EXPECT_EQ(shownSections(), state.sections);
            EXPECT_EQ(pair(), std::pair(c.notch, c.onScreen)) << "showing a pair never writes it";
        }
    }
}

TEST_F(SwipePaneWidget, SegmentsWriteBothKeysAndTheSelectedOneWritesNothing)
{
    storePair(true, false);
    SegmentedControl* feedback = pane().feedbackControl();
    EXPECT_EQ(feedback->accessibleName(), "Show the desktop number");
    std::vector<std::pair<bool, bool>> seen;
    const QUuid watch = settings().addObserver([&] { seen.push_back(pair()); });

    feedback->buttons()[0]->click();
    settle();
    EXPECT_TRUE(seen.empty()) << "\"In the notch\" is selected already";
    EXPECT_EQ(pair(), std::pair(true, false));

    feedback->buttons()[1]->click();
    settle();
    // "notch.spaceNumber" goes false first, then "swipe.showsOSD" true.
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{false, false}, {false, true}}));
    EXPECT_EQ(feedback->selectedIndex(), 1);

    seen.clear();
    feedback->buttons()[2]->click();
    settle();
    EXPECT_EQ(pair(), std::pair(false, false));
    EXPECT_EQ(seen.size(), 1u);

    feedback->buttons()[0]->click();
    settle();
    EXPECT_EQ(pair(), std::pair(true, true)) << "the on-screen number stays the notch's fallback";
    EXPECT_EQ(feedback->selectedIndex(), 0);
    settings().removeObserver(watch);
}

TEST_F(SwipePaneWidget, TheGateFollowsTheGrant)
{
    setTrusted(false);
    SwipePane& view = pane();
    EXPECT_FALSE(view.gate()->isHidden());
    EXPECT_EQ(shownSections(), (QStringList{"Needed to work", "Feedback"}));
    setTrusted(true);
    model->refresh();
    settle();
    EXPECT_EQ(shownSections(), QStringList{"Feedback"});
}

} // namespace
} // namespace quillon
