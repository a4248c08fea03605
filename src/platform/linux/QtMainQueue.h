#pragma once

#include "platform/MainQueue.h"

#include <QObject>

namespace quillon::platform::linux_ {

/// The main queue over Qt's event loop.
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;
    void post(std::function<void()> fn) override;
    WorkItem after(double seconds, std::function<void()> fn) override;
    /// A timerfd on CLOCK_REALTIME with an absolute deadline, read through a
    /// socket notifier: it fires after a resume by itself, where a QTimer
    /// (monotonic) would not count the time asleep.
    WorkItem at(const QDateTime& deadline, std::function<void()> fn) override;

private:
    QObject m_context;
};

} // namespace quillon::platform::linux_
