#include "platform/linux/QtTasks.h"

#include "platform/MainQueue.h"

#include <QThreadPool>

namespace quillon::platform::linux_ {

namespace {

void start(QThreadPool& pool, MainQueue& queue, std::function<void()> work, std::function<void()> then)
{
    pool.start([&queue, work = std::move(work), then = std::move(then)]() mutable {
        work();
        if (then)
            queue.post(std::move(then));
    });
}

// One thread, so jobs run one after another in the order they were queued.
class PoolSerialQueue final : public SerialQueue {
public:
    explicit PoolSerialQueue(MainQueue& queue) : m_queue(queue) { m_pool.setMaxThreadCount(1); }
    ~PoolSerialQueue() override { m_pool.waitForDone(); }
    void run(std::function<void()> work, std::function<void()> then) override
    {
        start(m_pool, m_queue, std::move(work), std::move(then));
    }

private:
    MainQueue& m_queue;
    QThreadPool m_pool;
};

} // namespace

void QtTasks::run(std::function<void()> work, std::function<void()> then)
{
    start(*QThreadPool::globalInstance(), m_queue, std::move(work), std::move(then));
}

std::unique_ptr<SerialQueue> QtTasks::makeSerial() { return std::make_unique<PoolSerialQueue>(m_queue); }

} // namespace quillon::platform::linux_
