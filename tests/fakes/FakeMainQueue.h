#pragma once

#include "platform/Clock.h"
#include "platform/MainQueue.h"

#include <QDateTime>
#include <optional>
#include <vector>

namespace quillon::fakes {

/// A manual clock and the main queue that runs on it. Nothing happens until a
/// test calls advance(): then due items run in deadline order (equal
/// deadlines in the order they were scheduled), each with the clock set to
/// its deadline; items scheduled while advancing run too when they fall due
/// within the step.
class FakeMainQueue final : public platform::MainQueue, public platform::Clock {
public:
    FakeMainQueue();

    void post(std::function<void()> fn) override;
    platform::WorkItem after(double seconds, std::function<void()> fn) override;
    /// Runs once advance() or setNow() carries now() to the deadline.
    platform::WorkItem at(const QDateTime& deadline, std::function<void()> fn) override;

    QDateTime now() const override;
    double uptime() const override { return 1000.0 + m_elapsed; }

    /// Moves the clock forward, running what falls due.
    void advance(double seconds);
    /// Runs what is due now (posted items included).
    void drain() { advance(0); }
    /// Scheduled items that have neither run nor been cancelled.
    int pendingCount() const;
    /// Sets the wall clock (the uptime is not affected: time asleep) and runs
    /// the wall-clock items it carries past their deadline.
    void setNow(const QDateTime& now);
    double elapsed() const { return m_elapsed; }

private:
    struct Item {
        double deadline;
        long sequence;
        std::shared_ptr<platform::WorkItem::State> state;
        std::function<void()> fn;
        std::optional<QDateTime> wall; // a wall-clock deadline instead
    };
    double deadlineOf(const Item& item) const;
    QDateTime m_base;
    double m_elapsed = 0;
    long m_sequence = 0;
    std::vector<Item> m_items;
};

} // namespace quillon::fakes
