#include "fakes/FakePlatform.h"
#include "support/Log.h"
#include "windows/WindowObserver.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::RegistrationStatus;
using platform::WindowKind;
using platform::WindowNotification;

namespace {

class WindowObserverTest : public ::testing::Test {
protected:
    void SetUp() override { Log::isDebugEnabled = true; }
    void TearDown() override { Log::isDebugEnabled = false; }

    std::unique_ptr<WindowObserver> make(SweepStrategy strategy, std::vector<WindowNotification> extra = {})
    {
        auto observer = std::make_unique<WindowObserver>(42, strategy, std::move(extra));
        observer->onWindowsChanged = [this] { ++changes; };
        return observer;
    }
    int errorCount(const QString& text) const
    {
        return int(std::count_if(fake.log.lines.begin(), fake.log.lines.end(), [&](const auto& line) {
            return line.level == platform::LogLevel::Error && line.message == text;
        }));
    }

    fakes::FakePlatform fake;
    fakes::FakeWindowEvents& events = fake.windowEventsImpl;
    int changes = 0;
};

TEST_F(WindowObserverTest, RetriesOnTheGrowingScheduleUntilTheAppCanBeObserved)
{
    // Failing N times: the attempt that succeeds comes after the first N delays.
    const double schedule[] = {0.5, 1, 2, 4, 8, 16, 30};
    for (int failures = 0; failures <= 7; ++failures) {
        fakes::FakePlatform local;
        local.windowEventsImpl.failObserve = failures;
        int changed = 0;
        WindowObserver observer(42, SweepStrategy::efficient);
        observer.onWindowsChanged = [&] { ++changed; };
        observer.start();
        double due = 0;
        for (int attempt = 0; attempt < failures; ++attempt) {
            EXPECT_FALSE(observer.isObserving()) << failures;
            local.queue.advance(schedule[attempt] - 0.01);
            EXPECT_EQ(local.windowEventsImpl.observeCalls, attempt + 1) << "not before its delay";
            local.queue.advance(0.01);
            due += schedule[attempt];
        }
        EXPECT_TRUE(observer.isObserving()) << failures;
        EXPECT_EQ(local.windowEventsImpl.observeCalls, failures + 1);
        EXPECT_DOUBLE_EQ(local.queue.elapsed(), due);
        EXPECT_EQ(changed, 1) << "the owner counts once when observation starts";
    }
}

TEST_F(WindowObserverTest, GivesUpAfterSevenRetriesAndRefreshStartsOver)
{
    events.failObserve = 1000;
    auto observer = make(SweepStrategy::efficient);
    observer->start();
    fake.queue.advance(61.5);
    EXPECT_EQ(events.observeCalls, 8);
    const QString givingUp = "Giving up on pid 42 until its next activation: app not accessible";
    EXPECT_EQ(errorCount(givingUp), 1);
    fake.queue.advance(600);
    EXPECT_EQ(events.observeCalls, 8) << "nothing more after giving up";
    EXPECT_EQ(fake.queue.pendingCount(), 0);

    events.failObserve = 0;
    observer->refresh();
    EXPECT_EQ(events.observeCalls, 9) << "at once";
    EXPECT_TRUE(observer->isObserving());
    EXPECT_EQ(observer->retryAttempt(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(WindowObserverTest, RefreshWaitsForAPendingRetry)
{
    events.failObserve = 1;
    auto observer = make(SweepStrategy::efficient);
    observer->start();
    observer->refresh();
    EXPECT_EQ(events.observeCalls, 1);
    fake.queue.advance(0.5);
    EXPECT_EQ(events.observeCalls, 2);
    EXPECT_TRUE(observer->isObserving());
}

TEST_F(WindowObserverTest, ARetryThatFindsAnObserverDoesNothing)
{
    events.failObserve = 1;
    auto observer = make(SweepStrategy::efficient);
    observer->start();
    observer->start(); // the owner starts again meanwhile, and it works
    EXPECT_TRUE(observer->isObserving());
    fake.queue.advance(1);
    EXPECT_EQ(events.observeCalls, 2);
    EXPECT_EQ(events.observers.size(), 1u);
}

TEST_F(WindowObserverTest, AlreadyRegisteredEverywhereStillCountsAsObserved)
{
    for (auto n : {WindowNotification::focusedWindowChanged, WindowNotification::mainWindowChanged,
                   WindowNotification::windowCreated, WindowNotification::elementDestroyed})
        events.statusFor[n] = RegistrationStatus::alreadyRegistered;
    auto observer = make(SweepStrategy::thorough);
    observer->start();
    EXPECT_TRUE(observer->isObserving());
    EXPECT_TRUE(fake.log.contains("pid 42: observer active (thorough)"));
}

TEST_F(WindowObserverTest, NothingRegisteredMeansNotReadyAndARetry)
{
    for (auto n : {WindowNotification::focusedWindowChanged, WindowNotification::mainWindowChanged,
                   WindowNotification::windowCreated})
        events.statusFor[n] = RegistrationStatus::cannotComplete;
    auto observer = make(SweepStrategy::efficient);
    observer->start();
    EXPECT_FALSE(observer->isObserving());
    EXPECT_TRUE(events.observers.empty()) << "the unusable observer is dropped";
    EXPECT_TRUE(fake.log.contains("pid 42: windowCreated failed (cannotComplete)"));
    EXPECT_TRUE(fake.log.contains("pid 42: window events not ready (efficient), retrying"));
    EXPECT_EQ(fake.queue.pendingCount(), 1);

    events.statusFor.erase(WindowNotification::windowCreated); // one is enough
    fake.queue.advance(0.5);
    EXPECT_TRUE(observer->isObserving());
    EXPECT_EQ(changes, 1);
}

TEST_F(WindowObserverTest, EfficientStrategyWatchesEachWindowForItsEnd)
{
    fake.windowControlImpl.table = {{1, 42, WindowKind::standard, QString("a"), {}},
                                    {2, 42, WindowKind::dialog, QString("b"), {}},
                                    {3, 7, WindowKind::standard, QString("c"), {}}};
    auto observer = make(SweepStrategy::efficient, {WindowNotification::titleChanged});
    observer->start();
    EXPECT_TRUE(events.isRegistered(WindowNotification::elementDestroyed, 1));
    EXPECT_TRUE(events.isRegistered(WindowNotification::elementDestroyed, 2));
    EXPECT_FALSE(events.isRegistered(WindowNotification::elementDestroyed, 3));
    EXPECT_FALSE(events.isRegistered(WindowNotification::elementDestroyed, events.application));
    EXPECT_TRUE(events.isRegistered(WindowNotification::titleChanged, events.application));

    events.send(42, WindowNotification::windowCreated, 9);
    EXPECT_TRUE(events.isRegistered(WindowNotification::elementDestroyed, 9));
    events.send(42, WindowNotification::elementDestroyed, 9);
    events.send(42, WindowNotification::elementDestroyed, 5); // not watched
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(fake.log.contains("pid 42: window event elementDestroyed"));

    // Windows that appeared while unobserved are picked up on activation.
    fake.windowControlImpl.table.push_back({4, 42, WindowKind::standard, QString("d"), {}});
    observer->refresh();
    EXPECT_TRUE(events.isRegistered(WindowNotification::elementDestroyed, 4));
}

TEST_F(WindowObserverTest, ThoroughStrategyWatchesTheApplicationOnly)
{
    fake.windowControlImpl.table = {{1, 42, WindowKind::standard, QString("a"), {}}};
    auto observer = make(SweepStrategy::thorough);
    observer->start();
    EXPECT_TRUE(events.isRegistered(WindowNotification::elementDestroyed, events.application));
    EXPECT_FALSE(events.isRegistered(WindowNotification::elementDestroyed, 1));
    events.send(42, WindowNotification::windowCreated, 9);
    EXPECT_FALSE(events.isRegistered(WindowNotification::elementDestroyed, 9));
    events.send(42, WindowNotification::elementDestroyed, 9);
    EXPECT_EQ(changes, 3);
}

TEST_F(WindowObserverTest, InvalidateAndDestructionStopEverything)
{
    auto observer = make(SweepStrategy::efficient);
    observer->start();
    observer->invalidate();
    EXPECT_TRUE(events.observers.empty());
    events.send(42, WindowNotification::windowCreated, 9);
    EXPECT_EQ(changes, 1);

    events.failObserve = 1;
    auto retrying = make(SweepStrategy::efficient);
    retrying->start();
    retrying.reset();
    fake.queue.advance(100);
    EXPECT_EQ(events.observeCalls, 2) << "a destroyed observer never retries";
}

} // namespace
