#pragma once

#include "platform/HotKeys.h"
#include "platform/KeyEvents.h"
#include "platform/Observers.h"
#include "platform/Pointer.h"

#include <map>
#include <set>
#include <vector>

namespace quillon::fakes {

/// A scripted key stream. `available = false` refuses new listeners, as a
/// session without a global key stream does.
class FakeKeyEvents final : public platform::KeyEvents {
public:
    std::optional<int> addListener(std::function<void(const platform::KeyEvent&)> handler) override;
    void removeListener(int token) override { m_listeners.remove(token); }

    void send(const platform::KeyEvent& event) { m_listeners.notify(event); }
    void sendFlags(platform::EventFlags flags)
    {
        send({platform::KeyEvent::Type::flagsChanged, -1, flags, false});
    }
    int listenerCount() const { return int(m_listeners.size()); }
    /// How often a listener was added successfully.
    int installs = 0;
    bool available = true;

private:
    platform::Observers<const platform::KeyEvent&> m_listeners;
};

/// A scripted pointer.
class FakePointer final : public platform::Pointer {
public:
    QPointF location() const override { return position; }
    std::optional<int> addMouseDownMonitor(std::function<void(const platform::MouseDown&)> handler) override;
    void removeMouseDownMonitor(int token) override { m_downs.remove(token); }
    std::optional<int> addDragMonitor(std::function<void(platform::DragPhase)> handler) override;
    void removeDragMonitor(int token) override { m_drags.remove(token); }
    std::optional<int> addScrollMonitor(std::function<void(int button)> handler) override;
    void removeScrollMonitor(int token) override { m_scrolls.remove(token); }
    std::optional<int> addMoveMonitor(std::function<void()> handler) override
    {
        if (!available)
            return std::nullopt;
        return m_moves.add(std::move(handler));
    }
    void removeMoveMonitor(int token) override { m_moves.remove(token); }

    /// Puts the pointer at `to` (y-up) and tells the move monitors.
    void moveTo(const QPointF& to)
    {
        position = to;
        m_moves.notify();
    }
    int moveMonitorCount() const { return int(m_moves.size()); }

    void press(const platform::MouseDown& down) { m_downs.notify(down); }
    void drag(platform::DragPhase phase) { m_drags.notify(phase); }
    void scroll(int button) { m_scrolls.notify(button); }
    int scrollMonitorCount() const { return int(m_scrolls.size()); }
    int mouseDownMonitorCount() const { return int(m_downs.size()); }
    int dragMonitorCount() const { return int(m_drags.size()); }

    QPointF position;
    bool available = true;

private:
    platform::Observers<const platform::MouseDown&> m_downs;
    platform::Observers<platform::DragPhase> m_drags;
    platform::Observers<int> m_scrolls;
    platform::Observers<> m_moves;
};

/// Hot keys that never reach the desktop. Combinations in `refused` are
/// answered with `statusTaken`; `fire` plays a press.
class FakeHotKeys final : public platform::HotKeys {
public:
    struct Key {
        uint32_t keyCode;
        uint32_t modifiers;
        platform::HotKeyId id;
    };

    std::optional<int> installHandler(std::function<void(platform::HotKeyId)> handler) override;
    void removeHandler(int token) override { m_handlers.remove(token); }
    Registration registerKey(uint32_t keyCode, uint32_t modifiers, platform::HotKeyId id) override;
    void unregisterKey(int ref) override { registered.erase(ref); }

    /// Presses the combination of a registered key: the handlers get its id.
    void fire(int ref);
    /// A press carrying any identifier, such as another owner's.
    void fireId(platform::HotKeyId id) { m_handlers.notify(id); }
    int handlerCount() const { return int(m_handlers.size()); }

    std::set<std::pair<uint32_t, uint32_t>> refused;
    std::map<int, Key> registered;
    /// Every registration attempt, refused ones included.
    std::vector<Key> attempts;

private:
    platform::Observers<platform::HotKeyId> m_handlers;
    int m_lastRef = 0;
};

} // namespace quillon::fakes
