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

private:
    QObject m_context;
};

} // namespace quillon::platform::linux_
