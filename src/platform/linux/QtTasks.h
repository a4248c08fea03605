#pragma once

#include "platform/Tasks.h"

namespace quillon::platform {
class MainQueue;
}

namespace quillon::platform::linux_ {

/// Background work on Qt's thread pools; results come back through the main queue.
class QtTasks final : public Tasks {
public:
    explicit QtTasks(MainQueue& queue) : m_queue(queue) {}
    void run(std::function<void()> work, std::function<void()> then) override;
    std::unique_ptr<SerialQueue> makeSerial() override;

private:
    MainQueue& m_queue;
};

} // namespace quillon::platform::linux_
