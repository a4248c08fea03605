#include "spaceswitch/SwipeTracker.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;
using platform::SwipePhase;

namespace {

constexpr int next = SwipeTracker::nextSpace;
constexpr int previous = SwipeTracker::previousSpace;
constexpr double far = SwipeTracker::decisionDistance;

struct Event {
    SwipePhase phase;
    double dx = 0.0;
    double dy = 0.0;
    int fingers = 3;
};

Event began(int fingers = 3)
{
    return {SwipePhase::began, 0.0, 0.0, fingers};
}
Event moved(double dx, double dy = 0.0)
{
    return {SwipePhase::changed, dx, dy};
}
Event ended()
{
    return {SwipePhase::ended};
}
Event cancelled()
{
    return {SwipePhase::cancelled};
}

/// The switches a sequence of events asks for, in order.
std::vector<int> switchesOf(SwipeTracker& tracker, const std::vector<Event>& events)
{
    std::vector<int> switches;
    for (const Event& e : events) {
        if (const auto direction = tracker.handle(platform::Swipe{e.phase, e.fingers, e.dx, e.dy}))
            switches.push_back(*direction);
    }
    return switches;
}

TEST(SwipeTracker, EachSwipeAsksForAtMostOneSwitch)
{
    struct Row {
        const char* name;
        std::vector<Event> events;
        std::vector<int> switches;
    };
    const std::vector<Row> rows = {
        {"fingers to the left bring the next Space", {began(), moved(-far), ended()}, {next}},
        {"fingers to the right bring the previous one", {began(), moved(far), ended()}, {previous}},
        {"the switch comes mid-swipe, once",
         {began(), moved(-far), moved(-far), moved(-far), ended()},
         {next}},
        {"small moves add up",
         {began(), moved(-far / 4), moved(-far / 4), moved(-far / 4), moved(-far / 4), ended()},
         {next}},
        {"a short sideways swipe switches when it ends", {began(), moved(-3), ended()}, {next}},
        {"a swipe that never moves switches nothing", {began(), moved(0), moved(0), ended()}, {}},
        {"an up or down swipe switches nothing", {began(), moved(5, -far), moved(far, 0), ended()}, {}},
        {"a short mostly vertical swipe switches nothing", {began(), moved(-3, 8), ended()}, {}},
        {"a diagonal settles on its larger axis", {began(), moved(-far, far / 2), ended()}, {next}},
        {"a cancelled swipe switches nothing", {began(), moved(-3), cancelled()}, {}},
        {"after a cancel the new swipe counts afresh",
         {began(), moved(-3), cancelled(), began(), moved(far), ended()},
         {previous}},
        {"events without a begin are not followed", {moved(-far), ended()}, {}},
        {"two swipes in a row switch twice",
         {began(), moved(-far), ended(), began(), moved(-far), ended()},
         {next, next}},
        {"a finger added after the switch does not switch again",
         {began(3), moved(-far), cancelled(), began(4), moved(-far), moved(-far), ended()},
         {next}},
        {"nor one lifted, however far the hand goes on",
         {began(4), moved(-far), cancelled(), began(3), moved(-far), ended()},
         {next}},
        {"a finger added before the switch lets the new count decide, once",
         {began(3), moved(-3), cancelled(), began(4), moved(far), moved(far), ended()},
         {previous}},
        {"a new swipe of the same count after a cancel is a new swipe",
         {began(3), moved(-far), cancelled(), began(3), moved(-far), ended()},
         {next, next}},
    };
    for (const Row& row : rows) {
        SwipeTracker tracker;
        EXPECT_EQ(switchesOf(tracker, row.events), row.switches) << row.name;
        EXPECT_FALSE(tracker.isTracking()) << row.name;
    }
}

TEST(SwipeTracker, TracksAndFiresThroughOneSwipe)
{
    SwipeTracker tracker;
    switchesOf(tracker, {began()});
    EXPECT_TRUE(tracker.isTracking());
    EXPECT_FALSE(tracker.hasFired());
    switchesOf(tracker, {moved(-far)});
    EXPECT_TRUE(tracker.hasFired());
    switchesOf(tracker, {ended()});
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_FALSE(tracker.hasFired());
}

} // namespace
