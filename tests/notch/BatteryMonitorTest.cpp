#include "notch/BatteryMonitor.h"

#include "fakes/FakePlatform.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class BatteryMonitorTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    BatteryMonitor monitor;
    int a = 0, b = 0;
};

TEST_F(BatteryMonitorTest, ChargeIsWholePercentWithinRange)
{
    struct Case {
        double reported;
        int percent;
    };
    const Case cases[] = {{49.6, 49}, {100, 100}, {0, 0}, {104.2, 100}, {-3, 0}, {std::nan(""), 0}};
    for (const Case& c : cases) {
        fake.powerSourcesImpl.battery = platform::BatteryReading{true, c.reported};
        const auto state = monitor.currentState();
        ASSERT_TRUE(state);
        EXPECT_EQ(state->percent, c.percent) << c.reported;
        EXPECT_TRUE(state->isOnBattery);
    }
    fake.powerSourcesImpl.battery.reset();
    EXPECT_FALSE(monitor.currentState());
}

TEST_F(BatteryMonitorTest, WatchesWhileAnyOwnerIsRegistered)
{
    std::vector<std::pair<char, BatteryMonitor::State>> calls;
    monitor.add(&a, [&](BatteryMonitor::State s) { calls.push_back({'a', s}); });
    monitor.add(&a, [&](BatteryMonitor::State s) { calls.push_back({'A', s}); }); // replaces
    monitor.add(&b, [&](BatteryMonitor::State s) { calls.push_back({'b', s}); });
    EXPECT_EQ(fake.powerSourcesImpl.addCalls, 1);

    fake.powerSourcesImpl.set(true, 55);
    ASSERT_EQ(calls.size(), 2u);
    for (const auto& [who, state] : calls) {
        EXPECT_NE(who, 'a');
        EXPECT_EQ(state, (BatteryMonitor::State{true, 55}));
    }

    monitor.remove(&a);
    EXPECT_TRUE(fake.powerSourcesImpl.watching());
    monitor.remove(&b);
    EXPECT_FALSE(fake.powerSourcesImpl.watching());
}

TEST_F(BatteryMonitorTest, AChangeWithoutABatteryCallsNoOne)
{
    int calls = 0;
    monitor.add(&a, [&](BatteryMonitor::State) { ++calls; });
    fake.powerSourcesImpl.battery.reset();
    fake.powerSourcesImpl.change();
    EXPECT_EQ(calls, 0);
}

TEST_F(BatteryMonitorTest, AFailedStartIsLoggedAndTriedAgainByTheNextRegistration)
{
    fake.powerSourcesImpl.refuseWatching = true;
    monitor.add(&a, [](BatteryMonitor::State) {});
    EXPECT_FALSE(monitor.isWatching());
    EXPECT_TRUE(fake.log.contains("Awake: could not create battery notification source"));

    fake.powerSourcesImpl.refuseWatching = false;
    int calls = 0;
    monitor.add(&b, [&](BatteryMonitor::State) { ++calls; });
    EXPECT_TRUE(monitor.isWatching());
    fake.powerSourcesImpl.set(false, 80);
    EXPECT_EQ(calls, 1);
}

} // namespace
