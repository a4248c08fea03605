#pragma once

#include "platform/KeyFlags.h"

#include <QString>
#include <cstdint>

namespace quillon::platform {

/// The text a key types on the current keyboard layout.
class KeyCharacters {
public:
    /// The most UTF-16 units a key's text has.
    static constexpr int maxUnits = 4;

    virtual ~KeyCharacters() = default;

    /// The text the key types with these modifiers held (Command and Control
    /// change no text), at most `maxUnits` units; empty for keys that type
    /// nothing.
    virtual QString characters(uint16_t keyCode, EventFlags flags) = 0;
};

} // namespace quillon::platform
