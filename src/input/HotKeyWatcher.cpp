#include "input/HotKeyWatcher.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <limits>

namespace quillon {

HotKeyWatcher::~HotKeyWatcher()
{
    while (!m_refs.empty())
        unregister(m_refs.begin()->first);
    removeHandlerWhenUnused();
}

std::optional<uint32_t> HotKeyWatcher::registerHotKey(int64_t keyCode, uint32_t modifiers,
                                                      std::function<void()> action)
{
    auto& hotKeys = platform::platform().hotKeys();
    if (!m_handler)
        m_handler = hotKeys.installHandler([this](platform::HotKeyId hotKey) { handleHotKey(hotKey); });

    if (keyCode < 0 || keyCode > int64_t(std::numeric_limits<uint32_t>::max())) {
        Log::error(QStringLiteral("HotKeyWatcher: invalid key code %1").arg(keyCode));
        removeHandlerWhenUnused();
        return std::nullopt;
    }

    const uint32_t id = m_nextID;
    const auto registration = hotKeys.registerKey(uint32_t(keyCode), modifiers, {signature, id});
    if (registration.status != 0 || !registration.ref) {
        Log::error(QStringLiteral("HotKeyWatcher: registration failed (status %1)").arg(registration.status));
        removeHandlerWhenUnused();
        return std::nullopt;
    }
    ++m_nextID;
    m_refs[id] = *registration.ref;
    m_actions[id] = std::move(action);
    return id;
}

void HotKeyWatcher::unregister(uint32_t id)
{
    const auto it = m_refs.find(id);
    if (it != m_refs.end())
        platform::platform().hotKeys().unregisterKey(it->second);
    m_refs.erase(id);
    m_actions.erase(id);
    removeHandlerWhenUnused();
}

void HotKeyWatcher::handleHotKey(platform::HotKeyId hotKey)
{
    if (hotKey.signature != signature)
        return;
    const auto it = m_actions.find(hotKey.id);
    if (it == m_actions.end())
        return;
    // The action may unregister its own hot key.
    const auto action = it->second;
    if (action)
        action();
}

void HotKeyWatcher::removeHandlerWhenUnused()
{
    if (!m_refs.empty() || !m_handler)
        return;
    platform::platform().hotKeys().removeHandler(*m_handler);
    m_handler.reset();
}

} // namespace quillon
