#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

namespace quillon::platform {

/// A scheduled piece of work on the main queue. Copies share one item.
/// Dropping every copy leaves the work scheduled: only cancel() stops it.
class WorkItem {
public:
    struct State {
        bool cancelled = false;
        bool done = false;
        std::function<void()> onCancel; // lets the queue release its timer early
    };

    WorkItem() = default;
    explicit WorkItem(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    void cancel();
    bool isCancelled() const { return m_state && m_state->cancelled; }
    /// True while the item is scheduled and has neither run nor been cancelled.
    bool isPending() const { return m_state && !m_state->cancelled && !m_state->done; }
    bool isValid() const { return m_state != nullptr; }

private:
    std::shared_ptr<State> m_state;
};

/// The one queue of the logic thread (the Qt main thread).
class MainQueue {
public:
    virtual ~MainQueue() = default;
    /// Runs fn on the main thread after the current event has been handled.
    /// Safe to call from any thread.
    virtual void post(std::function<void()> fn) = 0;
    /// Runs fn on the main thread once `seconds` have passed (negative = 0).
    virtual WorkItem after(double seconds, std::function<void()> fn) = 0;
    /// Runs fn on the main thread once the wall clock reaches `deadline`; time
    /// asleep counts, so a deadline passed during sleep runs at wake.
    virtual WorkItem at(const QDateTime& deadline, std::function<void()> fn) = 0;
};

} // namespace quillon::platform
