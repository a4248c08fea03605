#pragma once

#include "platform/KeyFlags.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quillon::platform {

/// One key event as every client of the desktop sees it. Key codes are the
/// system's own virtual key codes (A = 0, Return = 36, right Command = 54, …).
struct KeyEvent {
    enum class Type {
        keyDown,
        keyUp,
        /// A modifier key went down or up; `flags` holds the new state.
        flagsChanged,
        /// A scroll wheel turned (no key: `keyCode` is -1).
        scrollWheel,
    };
    Type type = Type::keyDown;
    int keyCode = -1;
    /// The modifier keys held after the event.
    EventFlags flags = 0;
    /// A press of a key that is already down.
    bool isRepeat = false;
    /// Server time of the event in milliseconds; 0 when unknown.
    uint32_t time = 0;
    /// The event came from the synthetic-input device that every client
    /// posting keys shares (ours, a test tool's, an on-screen keyboard's).
    bool fromSyntheticDevice = false;
};

/// Listen-only key events of the whole desktop: nothing is consumed, and the
/// stream is open only while somebody listens.
class KeyEvents {
public:
    virtual ~KeyEvents() = default;
    /// Starts listening; none when the session gives no such stream. Handlers
    /// run on the main thread.
    virtual std::optional<int> addListener(std::function<void(const KeyEvent&)> handler) = 0;
    virtual void removeListener(int token) = 0;
};

} // namespace quillon::platform
