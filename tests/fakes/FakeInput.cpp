#include "fakes/FakeInput.h"

namespace quillon::fakes {

std::optional<int> FakeKeyEvents::addListener(std::function<void(const platform::KeyEvent&)> handler)
{
    if (!available)
        return std::nullopt;
    ++installs;
    return m_listeners.add(std::move(handler));
}

std::optional<int> FakePointer::addMouseDownMonitor(std::function<void(const platform::MouseDown&)> handler)
{
    if (!available)
        return std::nullopt;
    return m_downs.add(std::move(handler));
}

std::optional<int> FakePointer::addDragMonitor(std::function<void(platform::DragPhase)> handler)
{
    if (!available)
        return std::nullopt;
    return m_drags.add(std::move(handler));
}

std::optional<int> FakePointer::addScrollMonitor(std::function<void(int button)> handler)
{
    if (!available)
        return std::nullopt;
    return m_scrolls.add(std::move(handler));
}

std::optional<int> FakeHotKeys::installHandler(std::function<void(platform::HotKeyId)> handler)
{
    return m_handlers.add(std::move(handler));
}

platform::HotKeys::Registration FakeHotKeys::registerKey(uint32_t keyCode, uint32_t modifiers,
                                                         platform::HotKeyId id)
{
    attempts.push_back({keyCode, modifiers, id});
    if (refused.count({keyCode, modifiers}))
        return {statusTaken, std::nullopt};
    const int ref = ++m_lastRef;
    registered[ref] = {keyCode, modifiers, id};
    return {0, ref};
}

void FakeHotKeys::fire(int ref)
{
    const auto it = registered.find(ref);
    if (it != registered.end())
        m_handlers.notify(it->second.id);
}

} // namespace quillon::fakes
