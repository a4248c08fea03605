#include "notch/NotchStage.h"

#include "common/QtPrint.h"
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const char* nameOf(NotchSource s)
{
    switch (s) {
    case NotchSource::nowPlaying:
        return "nowPlaying";
    case NotchSource::shelfBridge:
        return "shelfBridge";
    case NotchSource::liveChip:
        return "liveChip";
    case NotchSource::chip:
        return "chip";
    case NotchSource::shelfCue:
        return "shelfCue";
    case NotchSource::hints:
        return "hints";
    }
    return "?";
}

// Every source reports to one log as "name+" (now shows) or "name-" (no longer).
struct RecordingStage {
    NotchStage stage;
    QStringList calls;

    RecordingStage()
    {
        for (NotchSource s : allNotchSources)
            stage.setHandler(s, recorder(s));
    }
    NotchStage::Handler recorder(NotchSource s)
    {
        return [this, s](bool shows) { calls << QString::fromLatin1(nameOf(s)) + (shows ? u'+' : u'-'); };
    }
};

struct Step {
    enum Kind { claim, release, claimTakeover, releaseTakeover } kind;
    NotchSource source = NotchSource::nowPlaying;
    NotchTakeover takeover = NotchTakeover::shelfExpanded;
};

Step claim(NotchSource s) { return {Step::claim, s}; }
Step release(NotchSource s) { return {Step::release, s}; }
Step claim(NotchTakeover t) { return {Step::claimTakeover, {}, t}; }
Step release(NotchTakeover t) { return {Step::releaseTakeover, {}, t}; }

bool run(NotchStage& stage, const Step& step)
{
    switch (step.kind) {
    case Step::claim:
        return stage.claim(step.source);
    case Step::release:
        return stage.release(step.source);
    case Step::claimTakeover:
        return stage.claim(step.takeover);
    case Step::releaseTakeover:
        return stage.release(step.takeover);
    }
    return false;
}

using S = NotchSource;
using T = NotchTakeover;

TEST(NotchStage, SequencesGiveTheWinnerAndTellLoserBeforeWinner)
{
    const struct Case {
        const char* name;
        std::vector<Step> before;
        Step step;
        bool changed;
        QStringList calls;
        std::optional<NotchSource> shown;
    } cases[] = {
        {"first claim shows", {}, claim(S::chip), true, {"chip+"}, S::chip},
        {"higher source takes over", {claim(S::chip)}, claim(S::hints), true, {"chip-", "hints+"}, S::hints},
        {"lower source waits", {claim(S::hints)}, claim(S::chip), false, {}, S::hints},
        {"claiming twice is once", {claim(S::chip)}, claim(S::chip), false, {}, S::chip},
        {"releasing the unclaimed", {claim(S::chip)}, release(S::liveChip), false, {}, S::chip},
        {"release shows the next",
         {claim(S::chip), claim(S::hints)},
         release(S::hints),
         true,
         {"hints-", "chip+"},
         S::chip},
        {"one release after two claims",
         {claim(S::chip), claim(S::chip)},
         release(S::chip),
         true,
         {"chip-"},
         {}},
        {"takeover hides", {claim(S::nowPlaying)}, claim(T::shelfExpanded), true, {"nowPlaying-"}, {}},
        {"takeover ends",
         {claim(S::nowPlaying), claim(T::shelfExpanded)},
         release(T::shelfExpanded),
         true,
         {"nowPlaying+"},
         S::nowPlaying},
        {"claims under a takeover wait", {claim(T::ocrPrompt)}, claim(S::hints), false, {}, {}},
        {"one of two takeovers ends",
         {claim(S::chip), claim(T::shelfExpanded), claim(T::ocrPrompt)},
         release(T::shelfExpanded),
         false,
         {},
         {}},
        {"the last takeover ends",
         {claim(S::chip), claim(T::shelfExpanded), claim(T::ocrPrompt), release(T::ocrPrompt)},
         release(T::shelfExpanded),
         true,
         {"chip+"},
         S::chip},
        {"highest remaining claim returns",
         {claim(S::nowPlaying), claim(S::liveChip), claim(T::ocrPrompt)},
         release(T::ocrPrompt),
         true,
         {"liveChip+"},
         S::liveChip},
        {"last release hides all", {claim(S::shelfCue)}, release(S::shelfCue), true, {"shelfCue-"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingStage r;
        for (const auto& step : c.before)
            run(r.stage, step);
        r.calls.clear();
        EXPECT_EQ(run(r.stage, c.step), c.changed);
        EXPECT_EQ(r.calls, c.calls);
        EXPECT_EQ(r.stage.shown(), c.shown);
        EXPECT_EQ(r.stage.arbiter().winner(), c.shown);
    }
}

TEST(NotchStage, SourceWithoutHandlerIsShownSilently)
{
    NotchStage stage;
    EXPECT_TRUE(stage.claim(S::shelfBridge));
    EXPECT_EQ(stage.shown(), S::shelfBridge);
    EXPECT_TRUE(stage.release(S::shelfBridge));
    EXPECT_EQ(stage.shown(), std::nullopt);
}

TEST(NotchStage, HandlerReleasingItselfHandsTheNotchOn)
{
    RecordingStage r;
    r.stage.claim(S::nowPlaying);
    r.stage.setHandler(S::liveChip, [&](bool shows) {
        r.calls << (shows ? "liveChip+" : "liveChip-");
        if (shows) {
            EXPECT_TRUE(r.stage.release(S::liveChip)) << "the nested release reports the changed winner";
        }
    });
    r.calls.clear();
    // The nested release only changes the claims; the running settle tells
    // liveChip it lost and gives the notch back to nowPlaying.
    EXPECT_FALSE(r.stage.claim(S::liveChip));
    EXPECT_EQ(r.calls, QStringList({"nowPlaying-", "liveChip+", "liveChip-", "nowPlaying+"}));
    EXPECT_EQ(r.stage.shown(), S::nowPlaying);
}

TEST(NotchStage, PingPongHandlersStopAfterSevenPasses)
{
    RecordingStage r;
    r.stage.setHandler(S::chip, [&](bool shows) {
        r.calls << (shows ? "chip+" : "chip-");
        if (shows)
            r.stage.claim(S::hints);
    });
    r.stage.setHandler(S::hints, [&](bool shows) {
        r.calls << (shows ? "hints+" : "hints-");
        if (shows)
            r.stage.release(S::hints);
    });
    r.stage.claim(S::chip);
    // Pass 1 tells chip; each of the six passes after it tells a loser and a winner.
    EXPECT_EQ(r.calls.size(), 1 + 6 * 2);
    EXPECT_EQ(r.calls.last(), "chip+");
    EXPECT_EQ(r.stage.shown(), S::chip);
    EXPECT_EQ(r.stage.arbiter().winner(), S::hints) << "settling gave up with the winner not yet shown";

    // The stage stays usable: the next operation continues from there.
    r.stage.setHandler(S::chip, r.recorder(S::chip));
    r.stage.setHandler(S::hints, r.recorder(S::hints));
    r.calls.clear();
    EXPECT_FALSE(r.stage.claim(S::liveChip));
    EXPECT_EQ(r.calls, QStringList({"chip-", "hints+"}));
    EXPECT_EQ(r.stage.shown(), S::hints);
}

TEST(NotchStage, HandlerMayReplaceItselfWhileItRuns)
{
    NotchStage stage;
    int replaced = 0;
    stage.setHandler(S::chip, [&](bool) { stage.setHandler(S::chip, [&](bool) { ++replaced; }); });
    stage.claim(S::chip);
    stage.release(S::chip);
    EXPECT_EQ(replaced, 1);
}

TEST(NotchSource, RawValuesAndOrder)
{
    for (int raw = 0; raw <= 5; ++raw)
        EXPECT_EQ(rawValue(*notchSourceFromRaw(raw)), raw);
    EXPECT_EQ(notchSourceFromRaw(-1), std::nullopt);
    EXPECT_EQ(notchSourceFromRaw(6), std::nullopt);
    EXPECT_LT(S::nowPlaying, S::shelfBridge);
    EXPECT_LT(S::shelfCue, S::hints);
}

} // namespace
