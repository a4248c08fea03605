#include "fakes/FakeMainQueue.h"

#include <algorithm>
#include <cmath>

namespace quillon::fakes {

FakeMainQueue::FakeMainQueue()
    : m_base(QDateTime::fromString(QStringLiteral("2026-03-01T09:00:00.000Z"), Qt::ISODateWithMs))
{
}

void FakeMainQueue::post(std::function<void()> fn)
{
    after(0, std::move(fn));
}

platform::WorkItem FakeMainQueue::after(double seconds, std::function<void()> fn)
{
    auto state = std::make_shared<platform::WorkItem::State>();
    const double delay = std::isfinite(seconds) ? std::max(0.0, seconds) : 0.0;
    m_items.push_back({m_elapsed + delay, m_sequence++, state, std::move(fn), std::nullopt});
    return platform::WorkItem(state);
}

platform::WorkItem FakeMainQueue::at(const QDateTime& deadline, std::function<void()> fn)
{
    auto state = std::make_shared<platform::WorkItem::State>();
    m_items.push_back({0, m_sequence++, state, std::move(fn), deadline});
    return platform::WorkItem(state);
}

double FakeMainQueue::deadlineOf(const Item& item) const
{
    return item.wall ? double(m_base.msecsTo(*item.wall)) / 1000.0 : item.deadline;
}

QDateTime FakeMainQueue::now() const
{
    return m_base.addMSecs(qint64(std::llround(m_elapsed * 1000.0)));
}

void FakeMainQueue::setNow(const QDateTime& now)
{
    m_base = now.addMSecs(-qint64(std::llround(m_elapsed * 1000.0)));
    drain();
}

void FakeMainQueue::advance(double seconds)
{
    const double target = m_elapsed + std::max(0.0, seconds);
    for (;;) {
        std::erase_if(m_items, [](const Item& item) { return item.state->cancelled; });
        auto next = std::min_element(m_items.begin(), m_items.end(), [this](const Item& a, const Item& b) {
            const double da = deadlineOf(a), db = deadlineOf(b);
            return da < db || (da == db && a.sequence < b.sequence);
        });
        if (next == m_items.end() || deadlineOf(*next) > target)
            break;
        const double due = deadlineOf(*next);
        Item item = std::move(*next);
        m_items.erase(next);
        m_elapsed = std::max(m_elapsed, due);
        item.state->done = true;
        item.fn();
    }
    m_elapsed = target;
}

int FakeMainQueue::pendingCount() const
{
    return int(
        std::count_if(m_items.begin(), m_items.end(), [](const Item& i) { return !i.state->cancelled; }));
}

} // namespace quillon::fakes
