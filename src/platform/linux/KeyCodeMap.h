#pragma once

#include "platform/KeyEvents.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <xcb/xcb.h>

struct xkb_keymap;

namespace quillon::platform::linux_ {

/// X11 key codes and the system's virtual key codes, matched by the physical
/// key, so a shortcut means the same key on every layout. The physical key of
/// an X key code is its XKB key name (<AC01> is the A position), read from the
/// server by `load`; until then, or without names, X key code = evdev code + 8.
/// Safe from any thread.
namespace KeyCodeMap {

/// Reads the server's key names and maps by them from now on; false (logged
/// once) when it gives none, and evdev codes are assumed.
bool load(xcb_connection_t* c);
/// Loads once per process, for the first connection that needs key codes.
void loadOnce(xcb_connection_t* c);
/// The virtual key of every X key code of a keymap, by key name; none when
/// the keymap names no key we know.
std::optional<std::array<uint16_t, 256>> byName(xkb_keymap* keymap);

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
