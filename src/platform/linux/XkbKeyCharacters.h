#pragma once

#include "platform/KeyCharacters.h"
#include "platform/linux/X11Connection.h"

#include <memory>

struct xkb_context;
struct xkb_keymap;

namespace quillon::platform::linux_ {

/// Key text from xkbcommon with the server's current keymap, kept until the
/// server announces a new keyboard or map.
class XkbKeyCharacters final : public KeyCharacters {
public:
    XkbKeyCharacters() = default;
    ~XkbKeyCharacters() override;

    QString characters(uint16_t keyCode, EventFlags flags) override;

private:
    bool connect();
    xkb_keymap* keymap();

    std::unique_ptr<X11Connection> m_x;
    int32_t m_device = -1;
    uint8_t m_eventBase = 0;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
};

} // namespace quillon::platform::linux_
