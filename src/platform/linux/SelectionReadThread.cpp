#include "platform/linux/SelectionReadThread.h"

#include "platform/linux/SelectionReader.h"

namespace quillon::platform::linux_ {

SelectionReadThread::SelectionReadThread()
    : m_thread([this] { run(); })
{
}

SelectionReadThread::~SelectionReadThread()
{
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    m_thread.join();
}

void SelectionReadThread::post(Job job)
{
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void SelectionReadThread::run()
{
    // Opened here, so its connection is read on this thread alone.
    std::unique_ptr<SelectionReader> reader = SelectionReader::open();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job(reader.get());
    }
}

} // namespace quillon::platform::linux_
