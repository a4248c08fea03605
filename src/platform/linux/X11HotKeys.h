#pragma once

#include "platform/HotKeys.h"
#include "platform/Observers.h"
#include "platform/linux/ModifierMap.h"
#include "platform/linux/X11Connection.h"

#include <bitset>
#include <map>
#include <memory>

namespace quillon::platform::linux_ {

/// Global hot keys as passive key grabs on the root window of a connection of
/// our own. The server refuses a grab that another client holds (BadAccess),
/// which is how a taken combination is told apart.
class X11HotKeys final : public HotKeys {
public:
    X11HotKeys() = default;
    ~X11HotKeys() override;

    std::optional<int> installHandler(std::function<void(HotKeyId)> handler) override;
    void removeHandler(int token) override { m_handlers.remove(token); }
    Registration registerKey(uint32_t keyCode, uint32_t modifiers, HotKeyId id) override;
    void unregisterKey(int ref) override;

private:
    struct Grab {
        uint8_t keyCode;
        uint16_t modifiers;
        HotKeyId id;
    };

    bool connect();
    void ungrab(const Grab& grab);
    void handle(const xcb_generic_event_t* event);

    std::unique_ptr<X11Connection> m_x;
    ModifierMap m_modifiers;
    std::map<int, Grab> m_grabs;
    int m_lastRef = 0;
    Observers<HotKeyId> m_handlers;
    /// Grabbed keys that are down, to tell auto-repeat from a new press.
    std::bitset<256> m_down;
};

} // namespace quillon::platform::linux_
