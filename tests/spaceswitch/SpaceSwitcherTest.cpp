#include "spaceswitch/SpaceSwitcher.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

constexpr int next = 1;
constexpr int previous = 0;

/// One set of `count` Spaces spanning every display (ids 1 to count), the
/// Space at `current` showing, as the window manager last reported it.
DisplaySpaces spanning(int count, int current)
{
    DisplaySpaces spaces;
    spaces.available = true;
    spaces.activeSpace = uint64_t(current) + 1;
    ManagedDisplay display;
    for (int i = 1; i <= count; ++i)
        display.spaces.push_back(uint64_t(i));
    display.currentSpace = spaces.activeSpace;
    spaces.displays.push_back(display);
    spaces.pointerDisplay = QStringLiteral("screen-1");
    return spaces;
}

/// Two displays with Spaces of their own: "left" 1 to 3 showing 2, "right" 4
/// and 5 showing 4.
DisplaySpaces twoDisplays(std::optional<QString> pointer)
{
    DisplaySpaces spaces;
    spaces.available = true;
    spaces.activeSpace = 2;
    spaces.displays.push_back(ManagedDisplay{QStringLiteral("left"), {1, 2, 3}, 2});
    spaces.displays.push_back(ManagedDisplay{QStringLiteral("right"), {4, 5}, 4});
    spaces.pointerDisplay = std::move(pointer);
    return spaces;
}

class SpaceSwitcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        switcher.setPredicting(true);
        switcher.onSwitch = [this](uint32_t index) { callbacks.push_back(int(index)); };
    }
    std::vector<int>& switches() { return fake.spacesImpl.switches; }

    fakes::FakePlatform fake;
    SpaceSwitcher switcher;
    std::vector<int> callbacks;
};

TEST_F(SpaceSwitcherTest, QuickSwipesCountFromThePredictionAndStopAtTheEdges)
{
    struct Row {
        const char* name;
        int count;
        int current;
        std::vector<int> swipes;
        std::vector<int> switches;
    };
    const Row rows[] = {
        {"on from the first", 4, 0, {next}, {1}},
        {"back from the third", 4, 2, {previous}, {1}},
        {"on at the last does nothing", 4, 3, {next}, {}},
        {"back at the first does nothing", 4, 0, {previous}, {}},
        {"two quick swipes go two Spaces", 4, 0, {next, next}, {1, 2}},
        {"quick swipes stop at the last Space", 4, 1, {next, next, next, next}, {2, 3}},
        {"there and back", 4, 1, {next, previous}, {2, 1}},
        {"quick swipes back", 4, 3, {previous, previous, previous, previous}, {2, 1, 0}},
        {"a single Space", 1, 0, {next, previous}, {}},
    };
    for (const Row& row : rows) {
        switches().clear();
        callbacks.clear();
        switcher.resetPredictions();
        // The window manager has not reported any of the switches yet.
        const DisplaySpaces spaces = spanning(row.count, row.current);
        for (const int direction : row.swipes)
            switcher.overrideSwitch(direction, spaces);
        EXPECT_EQ(switches(), row.switches) << row.name;
        EXPECT_EQ(callbacks, row.switches) << row.name;
    }
}

TEST_F(SpaceSwitcherTest, ResetSwipeOnceAndSwitchToSpaceForgetThePredictions)
{
    const DisplaySpaces atFirst = spanning(4, 0);
    struct Row {
        const char* name;
        std::function<void()> clear;
        std::vector<int> switches;
    };
    const Row rows[] = {
        {"reset", [&] { switcher.resetPredictions(); }, {1, 1}},
        {"one step", [&] { EXPECT_TRUE(switcher.swipeOnce(next, atFirst)); }, {1, 1, 1}},
        {"to a Space", [&] { EXPECT_TRUE(switcher.switchToSpace(4, atFirst)); }, {1, 3, 1}},
        {"no longer predicting", [&] { switcher.setPredicting(false); }, {1, 1}},
    };
    for (const Row& row : rows) {
        switches().clear();
        switcher.setPredicting(true);
        switcher.resetPredictions();
        switcher.overrideSwitch(next, atFirst);
        ASSERT_EQ(switcher.prediction(QString()), 1) << row.name;
        row.clear();
        EXPECT_EQ(switcher.prediction(QString()), std::nullopt) << row.name;
        switcher.overrideSwitch(next, atFirst);
        EXPECT_EQ(switches(), row.switches) << row.name << ": the swipe counts from the reported Space again";
    }
}

TEST_F(SpaceSwitcherTest, APredictionHoldsOnlyWhileTheReportedSpaceIsOnItsWay)
{
    switcher.overrideSwitch(next, spanning(5, 0));
    switcher.overrideSwitch(next, spanning(5, 0));
    ASSERT_EQ(switches(), (std::vector<int>{1, 2}));

    // The first switch shows, the second not yet: still counting on from 2.
    switcher.overrideSwitch(next, spanning(5, 1));
    EXPECT_EQ(switches().back(), 3);

    // Someone else switched to the last Space: the prediction is void, and
    // a swipe back goes to the one before the last, not back from 3.
    switcher.overrideSwitch(previous, spanning(5, 4));
    EXPECT_EQ(switches().back(), 3);
    switcher.overrideSwitch(previous, spanning(5, 4));
    EXPECT_EQ(switches().back(), 2) << "a quick second swipe back counts from the new prediction";
}

TEST_F(SpaceSwitcherTest, UnknownSpacesSwitchNothing)
{
    DisplaySpaces unavailable;
    DisplaySpaces noActive = spanning(4, 0);
    noActive.activeSpace = 0;
    noActive.displays[0].currentSpace = 0;
    DisplaySpaces currentNotListed = spanning(4, 0);
    currentNotListed.activeSpace = 9;
    currentNotListed.displays[0].currentSpace = 9;
    for (const DisplaySpaces* spaces : {&unavailable, &noActive, &currentNotListed}) {
        switcher.overrideSwitch(next, *spaces);
        EXPECT_FALSE(switcher.swipeOnce(next, *spaces));
        EXPECT_FALSE(switcher.switchToSpace(2, *spaces));
    }
    EXPECT_TRUE(switches().empty());
    EXPECT_TRUE(callbacks.empty());
}

TEST_F(SpaceSwitcherTest, ASwipeActsOnTheDisplayUnderThePointerWithPredictionsOfItsOwn)
{
    switcher.overrideSwitch(next, twoDisplays(QStringLiteral("right")));
    EXPECT_EQ(switches(), std::vector<int>{1}) << "the right display's second Space";
    EXPECT_EQ(switcher.prediction("right"), 1);
    switcher.overrideSwitch(next, twoDisplays(QStringLiteral("right")));
    EXPECT_EQ(switches().size(), 1u) << "the right display has no third Space";

    switcher.overrideSwitch(next, twoDisplays(QStringLiteral("elsewhere")));
    EXPECT_EQ(switches().back(), 2) << "no match: the first display, from its own current Space";
    EXPECT_EQ(switcher.prediction("left"), 2);
    EXPECT_EQ(switcher.prediction("right"), 1);
}

TEST_F(SpaceSwitcherTest, SwitchToSpaceGoesStraightToTheTargetOfAnyDistance)
{
    struct Row {
        uint64_t space;
        std::optional<int> switched;
    };
    // Four Spaces, the second showing.
    const Row rows[] = {{1, 0}, {3, 2}, {4, 3}, {2, std::nullopt}, {9, std::nullopt}, {0, std::nullopt}};
    for (const Row& row : rows) {
        switches().clear();
        EXPECT_EQ(switcher.switchToSpace(row.space, spanning(4, 1)), row.switched.has_value()) << row.space;
        EXPECT_EQ(switches(), row.switched ? std::vector<int>{*row.switched} : std::vector<int>{})
            << row.space;
    }
    EXPECT_TRUE(callbacks.empty()) << "only replaced swipes are reported";
}

TEST_F(SpaceSwitcherTest, SwitchToSpaceAndTheQueriesUseTheDisplayUnderThePointer)
{
    EXPECT_FALSE(switcher.switchToSpace(5, twoDisplays(QStringLiteral("left"))))
        << "a Space of another display";
    EXPECT_TRUE(switcher.switchToSpace(5, twoDisplays(QStringLiteral("right"))));
    EXPECT_EQ(switches(), std::vector<int>{1});
    EXPECT_FALSE(switcher.switchToSpace(3, twoDisplays(QStringLiteral("elsewhere"))))
        << "no display under the pointer and none spanning every display";

    struct Row {
        const char* name;
        DisplaySpaces spaces;
        std::optional<int> count;
        int index;
    };
    DisplaySpaces repeated = spanning(3, 1);
    repeated.displays[0].spaces = {1, 2, 2};
    DisplaySpaces unknownCurrent = spanning(4, 0);
    unknownCurrent.displays[0].currentSpace = 0;
    const Row rows[] = {
        {"the spanning set, whatever the pointer", spanning(4, 2), 4, 2},
        {"the display under the pointer", twoDisplays(QStringLiteral("right")), 2, 0},
        {"the pointer on no display: the first", twoDisplays(std::nullopt), 3, 1},
        {"the pointer on an unlisted display", twoDisplays(QStringLiteral("elsewhere")), std::nullopt, -1},
        {"the last of repeated ids", repeated, 3, 2},
        {"current Space unknown", unknownCurrent, 4, -1},
        {"unavailable", DisplaySpaces{}, std::nullopt, -1},
    };
    for (const Row& row : rows) {
        const auto info = row.spaces.pointerDisplayInfo();
        EXPECT_EQ(info ? std::optional<int>(info->count) : std::nullopt, row.count) << row.name;
        EXPECT_EQ(info ? info->index : -1, row.index) << row.name;
    }
}

} // namespace
