#include "features/clipboard/PasteFlow.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace F = platform::KeyFlags;
using A = PasteFlow::ActionType;
using E = PasteFlow::EventType;
using S = PasteFlow::State;

constexpr int digit2 = 19;
constexpr int digit3 = 20;
constexpr int digit7 = 26;
constexpr int letterA = 0;

const S idle{};
const S holding{PasteFlow::Phase::holding, 0};

PasteFlow::Event key(E type, int code, bool up = false, platform::EventFlags flags = F::command,
                     bool repeat = false)
{
    return {type, code, flags, up, repeat};
}
PasteFlow::Event plain(E type, int slot = 0)
{
    return {type, -1, 0, false, false, slot};
}

struct Row {
    const char* name;
    S state;
    PasteFlow::Event event;
    int count;
    S next;
    std::vector<PasteFlow::Action> actions;
    bool swallow;
};

class PasteFlowTable : public testing::TestWithParam<Row> {};

TEST_P(PasteFlowTable, Transition)
{
    const Row& row = GetParam();
    const auto result = PasteFlow::reduce(row.state, row.event, row.count);
    EXPECT_EQ(result.state, row.next);
    EXPECT_EQ(result.actions, row.actions);
    EXPECT_EQ(result.swallow, row.swallow);
}

const Row rows[] = {
    {"CtrlShiftVPasses", idle, key(E::pasteKey, 9, false, F::command | F::shift), 3, idle, {}, false},
    {"CtrlAltVPasses", idle, key(E::pasteKey, 9, false, F::command | F::option), 3, idle, {}, false},
    {"RepeatWhileIdleSwallowed", idle, key(E::pasteKey, 9, false, F::command, true), 3, idle, {}, true},
    {"CtrlVStartsHold", idle, key(E::pasteKey, 9), 3, holding, {{A::prepare}, {A::armHold}}, true},
    {"CtrlVWithSideBitStartsHold",
     idle,
     key(E::pasteKey, 9, false, F::command | F::leftCommand),
     0,
     holding,
     {{A::prepare}, {A::armHold}},
     true},
    {"VUpIdlePasses", idle, key(E::pasteKey, 9, true), 3, idle, {}, false},
    {"RepeatWhileHolding", holding, key(E::pasteKey, 9, false, F::command, true), 3, holding, {}, true},
    {"QuickReleasePastes", holding, key(E::pasteKey, 9, true), 3, idle, {{A::passThrough}}, true},
    {"CtrlUpWhileHolding", holding, plain(E::commandUp), 3, idle, {{A::passThrough}, {A::teardown}}, false},
    {"HoldShowsMenu", holding, plain(E::holdTimer), 3, S::menu(1), {{A::showMenu}}, false},
    {"HoldWithNothingPastes", holding, plain(E::holdTimer), 0, idle, {{A::passThrough}}, false},
    {"LateTimerIdle", idle, plain(E::holdTimer), 3, idle, {}, false},
    {"LateTimerMenu", S::menu(2), plain(E::holdTimer), 3, S::menu(2), {}, false},
    {"CtrlUpKeepsMenu", S::menu(2), plain(E::commandUp), 3, S::menu(2), {{A::teardown}}, false},
    {"OtherKeyPasteTap", idle, key(E::pasteKey, letterA), 3, idle, {}, false},
    {"PasteTapLetsVPassInMenu", S::menu(1), key(E::pasteKey, 9), 3, S::menu(1), {}, false},
    {"MenuSwallowsV", S::menu(1), key(E::menuKey, 9), 3, S::menu(1), {}, true},
    {"MenuSwallowsVUp", S::menu(1), key(E::menuKey, 9, true), 3, S::menu(1), {}, true},
    {"ReturnPastesHighlighted", S::menu(2), key(E::menuKey, 36), 3, idle, {{A::paste, 2}}, true},
    {"EnterPastesHighlighted", S::menu(3), key(E::menuKey, 76, false, 0), 3, idle, {{A::paste, 3}}, true},
    {"GraveTogglesTab", S::menu(2), key(E::menuKey, 50), 3, S::menu(2), {{A::otherTab}}, true},
    {"LeftToRecent", S::menu(2), key(E::menuKey, 123), 3, S::menu(2), {{A::recentTab}}, true},
    {"RightToPins", S::menu(2), key(E::menuKey, 124), 3, S::menu(2), {{A::pinsTab}}, true},
    {"DownMoves", S::menu(1), key(E::menuKey, 125), 3, S::menu(2), {{A::highlight, 2}}, true},
    {"DownClampedAtLast", S::menu(3), key(E::menuKey, 125), 3, S::menu(3), {{A::highlight, 3}}, true},
    {"UpClampedAtFirst", S::menu(1), key(E::menuKey, 126), 3, S::menu(1), {{A::highlight, 1}}, true},
    {"UpMoves", S::menu(3), key(E::menuKey, 126), 3, S::menu(2), {{A::highlight, 2}}, true},
    {"EscapeDismisses", S::menu(2), key(E::menuKey, 53), 3, idle, {{A::dismiss}}, true},
    {"DigitPastes", S::menu(1), key(E::menuKey, digit3, false, 0), 5, idle, {{A::paste, 3}}, true},
    {"DigitWithCtrlPastes", S::menu(1), key(E::menuKey, digit2), 5, idle, {{A::paste, 2}}, true},
    {"SevenOfFive", S::menu(1), key(E::menuKey, digit7), 5, S::menu(1), {}, true},
    {"DigitOnEmptyPins", S::menu(1), key(E::menuKey, digit2), 0, S::menu(1), {}, true},
    {"TakenKeyUpSwallowed", S::menu(1), key(E::menuKey, 53, true), 3, S::menu(1), {}, true},
    {"LetterReachesWindow", S::menu(1), key(E::menuKey, letterA, false, 0), 3, S::menu(1), {}, false},
    {"LetterUpReachesWindow", S::menu(1), key(E::menuKey, letterA, true, 0), 3, S::menu(1), {}, false},
    {"MenuTapWhileIdle", idle, key(E::menuKey, digit2), 3, idle, {}, false},
    {"MenuTapWhileHolding", holding, key(E::menuKey, 53), 3, holding, {}, false},
    {"ClickPastes", S::menu(1), plain(E::click, 3), 3, idle, {{A::paste, 3}}, false},
    {"ClickPastRows", S::menu(1), plain(E::click, 4), 3, S::menu(1), {}, false},
    {"HoverHighlights", S::menu(1), plain(E::hover, 3), 3, S::menu(3), {{A::highlight, 3}}, false},
    {"ClickWhileIdle", idle, plain(E::click, 1), 3, idle, {}, false},
    {"HoverWhileHolding", holding, plain(E::hover, 1), 3, holding, {}, false},
    {"OutsideClickDismisses", S::menu(2), plain(E::outsideClick), 3, idle, {{A::dismiss}}, false},
    {"OutsideClickWhileHolding", holding, plain(E::outsideClick), 3, holding, {}, false},
    {"OpenMenu", idle, plain(E::openMenu), 2, S::menu(1), {{A::showMenu}}, false},
    {"OpenMenuWithNothing", idle, plain(E::openMenu), 0, idle, {}, false},
    {"DeactivateWhileOpen", S::menu(3), plain(E::deactivate), 3, idle, {{A::dismiss}, {A::teardown}}, false},
};

INSTANTIATE_TEST_SUITE_P(PasteFlow, PasteFlowTable, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

// Whole sequences, each event fed the state the previous one left.
TEST(PasteFlow, HeldCtrlVThenReleasesKeepsTheMenuAndADigitPastes)
{
    S s = idle;
    const auto step = [&s](const PasteFlow::Event& e, int count) {
        auto r = PasteFlow::reduce(s, e, count);
        s = r.state;
        return r;
    };
    EXPECT_TRUE(step(key(E::pasteKey, 9), 4).swallow);
    EXPECT_TRUE(step(key(E::pasteKey, 9, false, F::command, true), 4).swallow);
    step(plain(E::holdTimer), 4);
    EXPECT_EQ(s, S::menu(1));
    // V's and Ctrl's releases now go to the menu tap and the modifier watcher.
    EXPECT_TRUE(step(key(E::menuKey, 9, true), 4).swallow);
    step(plain(E::commandUp), 4);
    EXPECT_EQ(s, S::menu(1));
    const auto pick = step(key(E::menuKey, digit2, false, 0), 4);
    EXPECT_EQ(pick.actions, (std::vector<PasteFlow::Action>{{A::paste, 2}}));
    EXPECT_EQ(s, idle);
}

TEST(PasteFlow, DigitKeysMapToSlots)
{
    const std::pair<int, int> table[] = {{18, 1}, {19, 2}, {20, 3}, {21, 4}, {23, 5}, {22, 6},
                                         {26, 7}, {28, 8}, {25, 9}, {29, 0}, {83, 0}, {-1, 0}};
    for (const auto& [code, slot] : table)
        EXPECT_EQ(PasteFlow::digit(code), slot) << code;
}

} // namespace
} // namespace quillon
