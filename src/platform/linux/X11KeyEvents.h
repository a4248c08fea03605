#pragma once

#include "platform/KeyEvents.h"
#include "platform/Observers.h"
#include "platform/linux/KeyCodeMap.h"
#include "platform/linux/XInput.h"

#include <memory>

namespace quillon::platform::linux_ {

/// Every client's key presses, from XInput 2 raw key events on the root of
/// a connection of our own. Listen-only: the focused window still gets every
/// key. The events are selected only while somebody listens.
class X11KeyEvents final : public KeyEvents {
public:
    X11KeyEvents() = default;
    ~X11KeyEvents() override;

    std::optional<int> addListener(std::function<void(const KeyEvent&)> handler) override;
    void removeListener(int token) override;

private:
    bool connect();
    void handle(const xcb_generic_event_t* event);

    std::unique_ptr<XInput> m_xi;
    KeyStream m_stream;
    Observers<const KeyEvent&> m_listeners;
};

} // namespace quillon::platform::linux_
