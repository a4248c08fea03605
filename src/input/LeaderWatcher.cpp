#include "input/LeaderWatcher.h"

#include <algorithm>

namespace quillon {

LeaderWatcher::LeaderWatcher(ModifierWatcher& modifiers)
    : m_modifiers(modifiers)
{
}

void LeaderWatcher::add(const void* owner, std::set<Leader> leaders, KeyHandler onKey, HintProvider hints)
{
    if (!m_consumers.count(owner))
        m_order.push_back(owner);
    m_consumers[owner] = Consumer{std::move(leaders), std::move(onKey), std::move(hints)};
    start();
}

void LeaderWatcher::remove(const void* owner)
{
    m_consumers.erase(owner);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), owner), m_order.end());
    if (m_consumers.empty())
        stop();
}

void LeaderWatcher::start()
{
    if (m_running)
        return;
    m_running = true;
}

void LeaderWatcher::stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (onRelease)
        onRelease();
}

void LeaderWatcher::dismissHint()
{
    if (onRelease)
        onRelease();
}

} // namespace quillon
