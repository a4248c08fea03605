#include "spaceswitch/SpaceSwitch.h"
#include "fakes/FakePlatform.h"
#include "spaceswitch/SwipeTracker.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::GestureStart;
using platform::SwipePhase;

namespace {

constexpr double far = SwipeTracker::decisionDistance;

class SpaceSwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        fake.pointerImpl.position = QPointF(700, 400);
    }
    void TearDown() override { css_stop(); }

    /// One whole sideways swipe; negative dx goes on.
    void swipe(double dx)
    {
        gestures().swipe(SwipePhase::began);
        gestures().swipe(SwipePhase::changed, dx);
        gestures().swipe(SwipePhase::ended);
    }
    fakes::FakeSpaceGestures& gestures() { return fake.spaceGesturesImpl; }
    std::vector<int>& switches() { return fake.spacesImpl.switches; }

    fakes::FakePlatform fake;
    std::vector<uint32_t> reported;
};

TEST_F(SpaceSwitchTest, TakenSwipesSwitchAtOnceAndReportTheNewIndex)
{
    ASSERT_EQ(css_start([this](uint32_t index) { reported.push_back(index); }), 1);
    EXPECT_TRUE(gestures().isStarted());

    swipe(-far);
    EXPECT_EQ(switches(), std::vector<int>{1});
    swipe(-far);
    swipe(far);
    EXPECT_EQ(switches(), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(reported, (std::vector<uint32_t>{1, 2, 1}));
    EXPECT_EQ(css_current_space_index(), 1);

    // A vertical swipe, and one at the edge, switch nothing.
    gestures().swipe(SwipePhase::began);
    gestures().swipe(SwipePhase::changed, 0, far);
    gestures().swipe(SwipePhase::ended);
    swipe(far);
    swipe(far);
    EXPECT_EQ(switches().back(), 0);
    EXPECT_EQ(reported.size(), 4u) << "nothing reported at the first Space";

    css_stop();
    EXPECT_FALSE(gestures().isStarted()) << "the swipes are given back";
    EXPECT_FALSE(gestures().swipe(SwipePhase::began));
}

TEST_F(SpaceSwitchTest, StartingAgainKeepsTheFirstCallback)
{
    ASSERT_EQ(css_start([this](uint32_t index) { reported.push_back(index); }), 1);
    EXPECT_EQ(css_start([](uint32_t) { FAIL() << "the second callback is not used"; }), 1);
    EXPECT_EQ(gestures().starts, 1);
    swipe(-far);
    EXPECT_EQ(reported, std::vector<uint32_t>{1});
}

TEST_F(SpaceSwitchTest, StartFailsCleanlyWithAReasonInTheLog)
{
    struct Row {
        GestureStart outcome;
        const char* reason;
    };
    const Row rows[] = {
        {GestureStart::noSession, "no X11 session"},
        {GestureStart::unsupported, "the X server has no touchpad gestures (XInput 2.4)"},
        {GestureStart::refused, "another program already takes touchpad swipes"},
    };
    for (const Row& row : rows) {
        fake.log.lines.clear();
        gestures().nextStart = row.outcome;
        EXPECT_EQ(css_start([this](uint32_t index) { reported.push_back(index); }), 0) << row.reason;
        EXPECT_FALSE(gestures().isStarted());
        ASSERT_EQ(fake.log.lines.size(), 1u) << row.reason;
        EXPECT_EQ(fake.log.lines[0].level, platform::LogLevel::Error);
        EXPECT_EQ(fake.log.lines[0].message,
                  QStringLiteral("Instant workspace switching unavailable: ") + row.reason);
    }
    // Direct switching needs no swipes.
    EXPECT_EQ(css_switch_to_space(3), 1);
    EXPECT_EQ(switches(), std::vector<int>{2});

    gestures().nextStart = GestureStart::started;
    EXPECT_EQ(css_start(nullptr), 1) << "a later start may still succeed";
}

TEST_F(SpaceSwitchTest, DirectSwitchingAndTheQueriesFollowTheWindowManager)
{
    EXPECT_EQ(css_space_count(), 4);
    EXPECT_EQ(css_current_space_index(), 0);

    EXPECT_EQ(css_switch_to_space(4), 1);
    EXPECT_EQ(css_current_space_index(), 3);
    EXPECT_EQ(css_switch_to_space(4), 0) << "already there";
    EXPECT_EQ(css_switch_to_space(5), 0) << "no such Space";
    EXPECT_EQ(css_swipe_once(1, 1), 0) << "nothing after the last Space";
    EXPECT_EQ(css_swipe_once(0, 0), 1);
    EXPECT_EQ(switches(), (std::vector<int>{3, 2}));

    fake.spacesImpl.set(false, 0, 0);
    EXPECT_EQ(css_space_count(), 0);
    EXPECT_EQ(css_current_space_index(), -1);
    EXPECT_EQ(css_switch_to_space(1), 0);
    EXPECT_EQ(css_swipe_once(0, 1), 0);
    ASSERT_EQ(css_start(nullptr), 1);
    swipe(-far);
    EXPECT_EQ(switches().size(), 2u) << "a swipe without workspaces switches nothing";
}

TEST_F(SpaceSwitchTest, QuickSwipesOutrunTheWindowManagerUntilPredictionsAreReset)
{
    ASSERT_EQ(css_start(nullptr), 1);
    swipe(-far);
    // The window manager has not shown the first switch yet.
    fake.spacesImpl.set(true, 1, 4);
    swipe(-far);
    EXPECT_EQ(switches(), (std::vector<int>{1, 2}));

    fake.spacesImpl.set(true, 1, 4);
    css_reset_predictions();
    swipe(-far);
    EXPECT_EQ(switches().back(), 1) << "counted from the reported Space again";
}

} // namespace
