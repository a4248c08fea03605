#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace quillon::platform::linux_ {

/// The server's modifier map: which modifier bits each X key code sets. Read
/// from the server, never assumed: a layout may make right Alt a level-three
/// shift (Mod5) or move NumLock to another bit.
class ModifierMap {
public:
    /// Reads the map; none when the server does not answer.
    static std::optional<ModifierMap> load(xcb_connection_t* c);

    /// The modifier bits (XCB_MOD_MASK_*) a key sets; 0 for other keys.
    uint16_t bitsOf(uint8_t xKeyCode) const { return m_bits[xKeyCode]; }
    /// The bit NumLock sets (usually Mod2); 0 when no key is Num_Lock.
    uint16_t numLock() const { return m_numLock; }
    /// The lock bits (Caps Lock, NumLock) that are on or off whatever is held.
    uint16_t lockBits() const { return uint16_t(XCB_MOD_MASK_LOCK | m_numLock); }
    /// A modifier set with every combination of the lock bits, so a grab
    /// works whatever the lock lights say.
    std::vector<uint16_t> lockVariants(uint16_t modifiers) const;

private:
    std::array<uint16_t, 256> m_bits{};
    uint16_t m_numLock = 0;
};

} // namespace quillon::platform::linux_
