#include "features/breaks/BreaksFeature.h"
#include "fakes/FakePlatform.h"
#include "features/breaks/BreakPanel.h"
#include "settings/Settings.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quillon {
namespace {

/// What the feature told, and when (seconds since activation).
struct Event {
    double at;
    QString what;
    bool operator==(const Event&) const = default;
};

void PrintTo(const Event& e, std::ostream* os)
{
    *os << e.at << " " << e.what.toStdString();
}

class BreaksFeatureTest : public ::testing::Test {
protected:
    BreaksFeatureTest()
    {
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        settings.setBreaksWorkIntervalMinutes(1);
        settings.setBreaksSmartDefer(false);
        settings.setBreaksDelayedSkip(false);
        const auto note = [this](QString what) { events.push_back({now(), std::move(what)}); };
        feature.onPreWarn = [note] { note("preWarn"); };
        feature.onCountdownTick = [note](int n, bool open) {
            note(QStringLiteral("tick %1%2").arg(n).arg(open ? "" : " closed"));
        };
        feature.onCountdownEnd = [note] { note("countdownEnd"); };
        feature.onOverlayVisible = [note](bool shown) { note(shown ? "overlay" : "overlay gone"); };
        feature.onBreakDone = [note] { note("breakDone"); };
    }
    double now() const { return std::round((fake.queue.elapsed() - m_start) * 10000) / 10000; }
    void activate()
    {
        m_start = fake.queue.elapsed();
        feature.activate();
    }
    /// The events other than ticks, from `from` on.
    std::vector<Event> milestones(double from = 0) const
    {
        std::vector<Event> out;
        for (const Event& e : events) {
            if (e.at >= from && !e.what.startsWith("tick"))
                out.push_back(e);
        }
        return out;
    }
    std::vector<Event> ticks() const
    {
        std::vector<Event> out;
        for (const Event& e : events) {
            if (e.what.startsWith("tick"))
                out.push_back(e);
        }
        return out;
    }

    // Outlive the feature, whose deactivation on destruction still tells.
    std::vector<Event> events;
    double m_start = 0;
    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    BreaksFeature feature{settings};
};

TEST_F(BreaksFeatureTest, AOneMinuteIntervalWarnsCountsDownWithBlinksAndBreaksAt61)
{
    activate();
    fake.queue.advance(61.5);
    EXPECT_EQ(milestones(), (std::vector<Event>{{1, "preWarn"}, {61, "countdownEnd"}, {61, "overlay"}}));
    const auto t = ticks();
    ASSERT_EQ(t.size(), 10u + 5u * 4u);
    EXPECT_EQ(t[0], (Event{51, "tick 10"}));
    EXPECT_EQ(t[1], (Event{51.0625, "tick 10 closed"}));
    EXPECT_EQ(t[2], (Event{51.125, "tick 10"}));
    EXPECT_EQ(t[3], (Event{51.1875, "tick 10 closed"}));
    EXPECT_EQ(t[4], (Event{51.25, "tick 10"}));
    EXPECT_EQ(t[5], (Event{52, "tick 9"})) << "odd seconds do not blink";
    EXPECT_EQ(t.back(), (Event{60, "tick 1"}));
    ASSERT_EQ(feature.overlay().panels().size(), 1u);

    // Completed: told, and a full cycle again.
    fake.queue.advance(20);
    EXPECT_EQ(milestones(62), (std::vector<Event>{{81, "overlay gone"}, {81, "breakDone"}}));
    fake.queue.advance(1.5);
    EXPECT_EQ(milestones(82).front(), (Event{82, "preWarn"}));
}

TEST_F(BreaksFeatureTest, SkippedTellsNoBreakDoneAndSnoozedComesBackAfterFiveMinutes)
{
    activate();
    fake.queue.advance(62);
    feature.overlay().skipButtons()[0]->click();
    EXPECT_EQ(milestones(62), (std::vector<Event>{{62, "overlay gone"}}));
    fake.queue.advance(62);
    EXPECT_EQ(milestones(63), (std::vector<Event>{{63, "preWarn"}, {123, "countdownEnd"}, {123, "overlay"}}));

    feature.overlay().snoozeButtons()[0]->click();
    const double closed = now();
    fake.queue.advance(301);
    EXPECT_EQ(milestones(closed + 0.5),
              (std::vector<Event>{
                  {closed + 240, "preWarn"}, {closed + 300, "countdownEnd"}, {closed + 300, "overlay"}}));
}

TEST_F(BreaksFeatureTest, APauseAsLongAsABreakCountsAsOneAndTypingPostponesFiveTimes)
{
    settings.setBreaksSmartDefer(true);
    fake.inputIdleImpl.input = 25;
    activate();
    fake.queue.advance(1);
    EXPECT_TRUE(milestones().empty()) << "credited: no warning";
    EXPECT_TRUE(feature.lastDecisionSummary().startsWith("creditNatural"));
    EXPECT_EQ(feature.nextPhaseLabel(), QStringLiteral("pre-warning"));

    // Typing: five postponements of a minute, then the warning.
    fake.inputIdleImpl.input = 0.5;
    fake.inputIdleImpl.key = 0.5;
    fake.queue.advance(1 + 5 * 60);
    EXPECT_EQ(milestones(), (std::vector<Event>{{302, "preWarn"}}));
}

TEST_F(BreaksFeatureTest, AnotherProgramKeepingTheDisplayAwakePostponesOnAFreshReading)
{
    settings.setBreaksSmartDefer(true);
    fake.inputIdleImpl.input = 0.5;
    fake.powerAssertionsImpl.others = true;
    activate();
    EXPECT_EQ(fake.powerAssertionsImpl.refreshes, 0);
    fake.queue.advance(0.5);
    EXPECT_EQ(fake.powerAssertionsImpl.refreshes, 1) << "read before the pre-warning";
    fake.queue.advance(0.5);
    EXPECT_TRUE(milestones().empty());
    EXPECT_TRUE(feature.lastDecisionSummary().startsWith("postponeBusy"))
        << feature.lastDecisionSummary().toStdString();
    fake.queue.advance(58);
    EXPECT_EQ(fake.powerAssertionsImpl.refreshes, 2) << "and 2 s before the retry";
    fake.powerAssertionsImpl.others = false;
    fake.queue.advance(2);
    EXPECT_EQ(milestones(), (std::vector<Event>{{61, "preWarn"}}));
}

TEST_F(BreaksFeatureTest, AnExcludedAppInFrontAtTheBreakDefersTheCountdownAMinute)
{
    settings.setBreaksExcludedApps({QStringLiteral("org.videolan.VLC")});
    platform::RunningApp vlc;
    vlc.pid = 5;
    vlc.appId = QStringLiteral("org.videolan.VLC");
    activate();
    fake.queue.advance(55);
    vlc.active = true;
    fake.workspaceImpl.apps = {vlc};
    fake.queue.advance(6.5);
    // The countdown ends, then the break start defers and says so.
    EXPECT_EQ(milestones(), (std::vector<Event>{{1, "preWarn"}, {61, "countdownEnd"}, {61, "countdownEnd"}}));
    EXPECT_TRUE(feature.overlay().panels().empty());
    // Still in front a minute later: postponed again; gone, the countdown runs.
    fake.queue.advance(60);
    fake.workspaceImpl.apps.clear();
    fake.queue.advance(70);
    EXPECT_EQ(milestones(62), (std::vector<Event>{{191, "countdownEnd"}, {191, "overlay"}}));
}

TEST_F(BreaksFeatureTest, AChangedIntervalRestartsOnlyWhileWorking)
{
    settings.setBreaksWorkIntervalMinutes(5);
    activate();
    fake.queue.advance(10);
    settings.setBreaksWorkIntervalMinutes(2);
    feature.applySettings();
    fake.queue.advance(61);
    EXPECT_EQ(milestones(), (std::vector<Event>{{70, "preWarn"}}));
    fake.queue.advance(55);
    EXPECT_EQ(now(), 126);
    ASSERT_FALSE(ticks().empty()) << "counting down";
    settings.setBreaksWorkIntervalMinutes(3);
    feature.applySettings();
    fake.queue.advance(10);
    EXPECT_EQ(milestones(71), (std::vector<Event>{{130, "countdownEnd"}, {130, "overlay"}}));
    EXPECT_DOUBLE_EQ(feature.scheduledInterval(), 120);
}

TEST_F(BreaksFeatureTest, PreviewLeavesTheCycleAloneAndDeactivateCancelsEverything)
{
    activate();
    feature.preview();
    EXPECT_EQ(feature.overlay().panels().size(), 1u);
    feature.preview();
    fake.queue.advance(9);
    EXPECT_EQ(milestones(), (std::vector<Event>{{0, "overlay"}, {1, "preWarn"}, {8, "overlay gone"}}));

    fake.queue.advance(50);
    events.clear();
    feature.deactivate();
    EXPECT_EQ(milestones(), (std::vector<Event>{{59, "overlay gone"}, {59, "countdownEnd"}}));
    fake.queue.advance(600);
    EXPECT_EQ(events.size(), 2u) << "nothing after deactivate";
    EXPECT_FALSE(fake.inputIdleImpl.listening);
}

TEST_F(BreaksFeatureTest, WakingDuringABreakDropsItWithoutOutcomeAndStartsAFullCycle)
{
    activate();
    fake.queue.advance(62);
    ASSERT_EQ(feature.overlay().panels().size(), 1u);
    fake.sessionEventsImpl.send(platform::SessionNotice::woke);
    EXPECT_TRUE(feature.overlay().panels().empty());
    EXPECT_EQ(milestones(62), (std::vector<Event>{{62, "overlay gone"}, {62, "countdownEnd"}}));
    fake.queue.advance(61);
    EXPECT_EQ(milestones(62.5),
              (std::vector<Event>{{63, "preWarn"}, {123, "countdownEnd"}, {123, "overlay"}}));
    EXPECT_EQ(std::count(events.begin(), events.end(), Event{81, "breakDone"}), 0);

    // The session becoming active again does the same; switched off, nothing.
    fake.sessionEventsImpl.send(platform::SessionNotice::becameActive);
    EXPECT_TRUE(feature.overlay().panels().empty());
    feature.deactivate();
    EXPECT_FALSE(fake.sessionEventsImpl.hasHandlers());
}

TEST_F(BreaksFeatureTest, AnUnusableIntervalOrBreakLengthReadsAsItsDefault)
{
    settings.setBreaksWorkIntervalMinutes(0);
    settings.setBreaksBreakSeconds(-5);
    activate();
    EXPECT_DOUBLE_EQ(feature.scheduledInterval(), 20 * 60);
    fake.queue.advance(20 * 60 + 1);
    ASSERT_EQ(feature.overlay().panels().size(), 1u);
    fake.queue.advance(18);
    EXPECT_EQ(feature.overlay().panels().size(), 1u);
    fake.queue.advance(1.5);
    EXPECT_TRUE(feature.overlay().panels().empty()) << "a 20 s break";
}

TEST_F(BreaksFeatureTest, AHugeIntervalWarnsThatFarAheadNeverAtOnce)
{
    settings.setBreaksWorkIntervalMinutes(100000);
    activate();
    EXPECT_DOUBLE_EQ(feature.scheduledInterval(), 6000000);
    fake.queue.advance(24 * 3600);
    EXPECT_TRUE(events.empty());
    fake.queue.advance(6000000 - 60 - 24 * 3600);
    EXPECT_EQ(milestones(), (std::vector<Event>{{5999940, "preWarn"}}));
}

} // namespace
} // namespace quillon
