#include "fakes/FakePlatform.h"
#include "platform/linux/QtMainQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct ManualClockCase {
    const char* name;
    std::function<void(fakes::FakeMainQueue&, QStringList&)> schedule;
    double advanceBy;
    QStringList expected;
};

class ManualClock : public ::testing::TestWithParam<ManualClockCase> {};

TEST_P(ManualClock, RunsDueItemsInDeadlineThenSchedulingOrder)
{
    fakes::FakeMainQueue queue;
    QStringList ran;
    GetParam().schedule(queue, ran);
    queue.advance(GetParam().advanceBy);
    EXPECT_EQ(ran, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManualClock,
    ::testing::Values(
        ManualClockCase{"DeadlineOrder",
                        [](auto& q, auto& ran) {
                            q.after(2, [&] { ran << "b"; });
                            q.after(1, [&] { ran << "a"; });
                            q.after(3, [&] { ran << "c"; });
                        },
                        2.5, {"a", "b"}},
        ManualClockCase{"EqualDeadlinesKeepSchedulingOrder",
                        [](auto& q, auto& ran) {
                            q.after(1, [&] { ran << "first"; });
                            q.after(1, [&] { ran << "second"; });
                            q.post([&] { ran << "posted"; });
                        },
                        1, {"posted", "first", "second"}},
        ManualClockCase{"CancelledItemNeverRuns",
                        [](auto& q, auto& ran) {
                            auto item = q.after(1, [&] { ran << "cancelled"; });
                            q.after(1, [&] { ran << "kept"; });
                            item.cancel();
                        },
                        5, {"kept"}},
        ManualClockCase{"DroppedHandleStillRuns",
                        [](auto& q, auto& ran) { (void)q.after(1, [&] { ran << "forgotten"; }); }, 1,
                        {"forgotten"}},
        ManualClockCase{"ItemThatSchedulesAnotherWithinTheStep",
                        [](auto& q, auto& ran) {
                            q.after(1, [&] {
                                ran << "outer@" + QString::number(q.elapsed());
                                q.after(1, [&] { ran << "inner@" + QString::number(q.elapsed()); });
                                q.after(5, [&] { ran << "late"; });
                            });
                        },
                        3, {"outer@1", "inner@2"}},
        ManualClockCase{"NegativeDelayRunsNow",
                        [](auto& q, auto& ran) { q.after(-4, [&] { ran << "now"; }); }, 0, {"now"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ManualClockTime, WallClockAndUptimeAdvanceTogether)
{
    fakes::FakeMainQueue queue;
    const QDateTime start = queue.now();
    const double up = queue.uptime();
    queue.advance(90.5);
    EXPECT_EQ(start.msecsTo(queue.now()), 90500);
    EXPECT_DOUBLE_EQ(queue.uptime() - up, 90.5);
}

TEST(ManualClockTime, CancelAfterRunHasNoEffect)
{
    fakes::FakeMainQueue queue;
    int runs = 0;
    auto item = queue.after(1, [&] { ++runs; });
    queue.advance(1);
    item.cancel();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(item.isCancelled());
    EXPECT_FALSE(item.isPending());
}

void spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(QtMainQueue, RunsPostedAndDelayedWorkAndHonoursCancel)
{
    platform::linux_::QtMainQueue queue;
    QStringList ran;
    queue.post([&] { ran << "posted"; });
    queue.after(0.02, [&] { ran << "delayed"; });
    auto cancelled = queue.after(0.01, [&] { ran << "cancelled"; });
    cancelled.cancel();
    spin(150);
    EXPECT_EQ(ran, (QStringList{"posted", "delayed"}));
}

TEST(QtMainQueue, DelayBeyondOneTimerIsStillScheduled)
{
    platform::linux_::QtMainQueue queue;
    bool ran = false;
    // 40 days: more than one QTimer interval can hold.
    auto item = queue.after(40.0 * 86400.0, [&] { ran = true; });
    spin(20);
    EXPECT_TRUE(item.isPending());
    EXPECT_FALSE(ran);
    item.cancel();
    EXPECT_FALSE(item.isPending());
}

} // namespace
