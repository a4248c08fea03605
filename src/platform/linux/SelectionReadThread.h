#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillon::platform::linux_ {

class SelectionReader;

/// Runs selection reads on a thread of its own, so the main thread never
/// waits for another client to answer. Jobs run one after another, in the
/// order posted, on a reader that thread opened (null when there is no X
/// server); a job hands its answer back to the main thread itself.
class SelectionReadThread {
public:
    using Job = std::function<void(SelectionReader*)>;

    SelectionReadThread();
    /// Waits for the job in progress (each is bounded by its own deadline);
    /// jobs not started are dropped.
    ~SelectionReadThread();

    void post(Job job);

private:
    void run();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace quillon::platform::linux_
