#include "features/breaks/BreakOverlayLogic.h"

#include "platform/KeyFlags.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Face = BreakOverlayLogic::Face;
using KeyAction = BreakOverlayLogic::KeyAction;
namespace Flags = platform::KeyFlags;

TEST(BreakOverlayLogic, TicksShowTheCountdownTheSkipTitleAndThePills)
{
    struct Row {
        const char* name;
        int seconds;
        double skipDelay;
        double elapsed;
        std::optional<Face> face;
    };
    const Face skipDimmed{"", "Skip Break", false, 0.4};
    const auto with = [](Face f, const char* countdown) {
        f.countdown = countdown;
        return f;
    };
    const Row table[] = {
        {"75 s left reads minutes and seconds", 75, 0, 0, Face{"01:15", "Skip Break", true, 1.0}},
        {"a 5 s break reads End Break from the first tick", 5, 0, 0, Face{"00:05", "End Break", true, 1.0}},
        {"6 s left still reads Skip Break", 20, 0, 14, Face{"00:06", "Skip Break", true, 1.0}},
        {"a fraction left rounds up", 20, 0, 18.5, Face{"00:02", "End Break", true, 1.0}},
        {"dimmed during the skip delay", 20, 5, 0, with(skipDimmed, "00:20")},
        {"still dimmed at the fifth tick", 20, 5, 4, with(skipDimmed, "00:16")},
        {"usable once the delay is over", 20, 5, 5, Face{"00:15", "Skip Break", true, 1.0}},
        {"over", 20, 0, 20, std::nullopt},
        {"an hour", 3600, 0, 0, Face{"60:00", "Skip Break", true, 1.0}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        BreakOverlayLogic logic;
        logic.start(100, row.seconds, row.skipDelay, nullptr);
        EXPECT_EQ(logic.tick(100 + row.elapsed), row.face);
    }
}

TEST(BreakOverlayLogic, SkipIsCompletedInTheLastFiveSeconds)
{
    BreakOverlayLogic logic;
    logic.start(0, 20, 0, nullptr);
    EXPECT_EQ(logic.skipOutcome(14.9), BreakOutcome::skipped);
    EXPECT_EQ(logic.skipOutcome(15.0), BreakOutcome::completed);
    logic.start(0, 5, 0, nullptr);
    EXPECT_EQ(logic.skipOutcome(0), BreakOutcome::completed) << "a 5 s break's End Break";
}

TEST(BreakOverlayLogic, KeysAreSwallowedEscCountsAndCtrlAltEscReleases)
{
    struct Row {
        const char* name;
        int code;
        platform::EventFlags flags;
        bool keyUp;
        KeyAction action;
    };
    const Row table[] = {
        {"a letter", 0, 0, false, KeyAction::swallow},
        {"Alt+Tab", 48, Flags::option, false, KeyAction::swallow},
        {"Esc", 53, 0, false, KeyAction::escape},
        {"Shift+Esc", 53, Flags::shift, false, KeyAction::escape},
        {"Esc released", 53, 0, true, KeyAction::swallow},
        {"Super+Esc", 53, Flags::command, false, KeyAction::swallow},
        {"Ctrl+Esc", 53, Flags::control, false, KeyAction::swallow},
        {"Ctrl+Alt+Esc", 53, Flags::control | Flags::option, false, KeyAction::release},
        {"Ctrl+Alt+Esc released", 53, Flags::control | Flags::option, true, KeyAction::swallow},
        {"a wheel event", -1, 0, false, KeyAction::swallow},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BreakOverlayLogic::classify(row.code, row.flags, row.keyUp), row.action);
    }
}

TEST(BreakOverlayLogic, TwoEscPressesWithinTheWindowSkip)
{
    struct Row {
        const char* name;
        std::vector<double> presses;
        bool skips;
    };
    const Row table[] = {
        {"one", {1.0}, false},
        {"two 0.5 s apart", {1.0, 1.5}, true},
        {"two 1 s apart", {1.0, 2.0}, false},
        {"a third within 0.8 s of the second", {1.0, 2.0, 2.7}, true},
        {"exactly 0.8 s apart", {1.0, 1.8}, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        BreakOverlayLogic logic;
        logic.start(0, 60, 5, nullptr);
        bool skipped = false;
        for (const double at : row.presses)
            skipped = logic.escapePressed(at);
        EXPECT_EQ(skipped, row.skips);
    }
}

TEST(BreakOverlayLogic, EachShownBreakHasOneCompletionAtMost)
{
    std::vector<std::pair<int, BreakOutcome>> outcomes;
    const auto recorder = [&](int which) {
        return [&, which](BreakOutcome outcome) { outcomes.emplace_back(which, outcome); };
    };
    BreakOverlayLogic logic;
    logic.start(0, 20, 0, recorder(1));
    // A second show replaces the first without an outcome.
    logic.start(1, 20, 0, recorder(2));
    if (auto done = logic.finish())
        done(BreakOutcome::snoozed);
    EXPECT_FALSE(logic.finish()) << "finished already";
    logic.start(2, 20, 0, recorder(3));
    logic.dismiss();
    EXPECT_FALSE(logic.finish()) << "a dismissed break has no outcome";
    EXPECT_EQ(outcomes, (std::vector<std::pair<int, BreakOutcome>>{{2, BreakOutcome::snoozed}}));
}

} // namespace
} // namespace quillon
