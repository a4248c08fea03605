#pragma once

#include "platform/MainQueue.h"
#include "platform/WindowEvents.h"
#include "windows/SweepStrategy.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

/// Watches one application's windows and tells its owner whenever a window
/// appears, goes away or the focus moves. An application that has just
/// started may not be observable yet, so attempts are retried with a growing
/// delay, then given up until the owner calls refresh(). Main thread.
class WindowObserver {
public:
    static const std::vector<platform::WindowNotification> windowScopedTriggers;
    static constexpr std::array<double, 7> retryDelays{0.5, 1, 2, 4, 8, 16, 30};

    std::function<void()> onWindowsChanged;

    WindowObserver(int32_t pid, SweepStrategy strategy,
                   std::vector<platform::WindowNotification> extraTriggers = {});
    ~WindowObserver();
    WindowObserver(const WindowObserver&) = delete;
    WindowObserver& operator=(const WindowObserver&) = delete;

    /// The first attempt; call after setting onWindowsChanged.
    void start();
    /// The application became active again: renew the per-window
    /// registrations, or start over when not observing and no retry waits.
    void refresh();
    void invalidate();

    int32_t pid() const { return m_pid; }
    SweepStrategy strategy() const { return m_strategy; }
    bool isObserving() const { return m_observer.has_value(); }
    int retryAttempt() const { return m_retryAttempt; }

private:
    void attemptStart();
    bool registerOn(int observer, platform::WindowNotification notification, platform::WindowId target);
    void registerWindowDestroyObservers();
    void scheduleRetry();
    void handle(platform::WindowNotification notification, platform::WindowId window);

    int32_t m_pid;
    SweepStrategy m_strategy;
    std::vector<platform::WindowNotification> m_extraTriggers;
    std::optional<int> m_observer;
    std::optional<platform::WorkItem> m_pendingRetry;
    int m_retryAttempt = 0;
    // Lets queued retries and event handlers outlive the object harmlessly.
    std::shared_ptr<WindowObserver*> m_self;
};

} // namespace quillon
