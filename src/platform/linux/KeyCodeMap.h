#pragma once

#include "platform/KeyEvents.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace quillon::platform::linux_ {

/// X11 key codes and the system's virtual key codes, matched by the physical
/// key (X key code = evdev code + 8), so a shortcut means the same key on
/// every layout.
namespace KeyCodeMap {

std::optional<uint16_t> virtualKey(uint8_t xKeyCode);
std::optional<uint8_t> xKeyCode(uint16_t virtualKey);
/// The side flag of a modifier key (KeyFlags::rightCommand for right Ctrl…);
/// 0 for other keys.
EventFlags modifierSideFlag(uint16_t virtualKey);

} // namespace KeyCodeMap

/// Turns raw key presses and releases into key events. Modifier flags come
/// from the physical modifier keys held, never from the keyboard layout's
/// modifier state: a layout that makes right Alt a level-three shift (AltGr)
/// must not hide the right-Alt leader.
class KeyStream {
public:
    /// The event a press or release of an X key code makes; none for keys
    /// that have no virtual key code.
    std::optional<KeyEvent> handle(uint8_t xKeyCode, bool isPress);
    /// Starts from the keys already down (the 32-byte bit vector of
    /// QueryKeymap), so a modifier held before listening counts.
    void seed(const uint8_t keys[32]);
    EventFlags flags() const { return m_flags; }

private:
    EventFlags heldModifierFlags() const;

    std::bitset<256> m_down;
    EventFlags m_flags = 0;
};

} // namespace quillon::platform::linux_
