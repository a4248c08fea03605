#include "shelf/PromiseWait.h"

#include "support/Log.h"

#include <algorithm>

namespace quillon {

PromiseWait::PromiseWait(int expected)
    : m_remaining(std::max(expected, 1))
{
}

bool PromiseWait::report(const QString& path, const std::optional<QString>& error)
{
    std::lock_guard lock(m_lock);
    if (error)
        Log::debug([&] { return QStringLiteral("Shelf: file promise failed: ") + *error; });
    else if (!m_finished)
        m_received.push_back(path);
    --m_remaining;
    if (m_remaining > 0 || m_finished)
        return false;
    m_finished = true;
    return true;
}

bool PromiseWait::timeOut()
{
    std::lock_guard lock(m_lock);
    if (m_finished)
        return false;
    m_finished = true;
    return true;
}

QStringList PromiseWait::received() const
{
    std::lock_guard lock(m_lock);
    return m_received;
}

} // namespace quillon
