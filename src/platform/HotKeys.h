#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace quillon::platform {

/// The identifier pair a hot key carries: a four-character signature of its
/// owner and an id within it.
struct HotKeyId {
    uint32_t signature = 0;
    uint32_t id = 0;
    bool operator==(const HotKeyId&) const = default;
};

/// Modifier mask of a hot key. Command is Ctrl, Shift is Shift, Option is
/// Alt, Control is Super.
namespace HotKeyModifiers {
inline constexpr uint32_t cmdKey = 0x100;
inline constexpr uint32_t shiftKey = 0x200;
inline constexpr uint32_t optionKey = 0x800;
inline constexpr uint32_t controlKey = 0x1000;
} // namespace HotKeyModifiers

/// Global hot keys: a key with modifiers that reaches us whichever window has
/// the focus, and nobody else.
class HotKeys {
public:
    /// Status of a refused registration.
    static constexpr int statusTaken = 10;      // another client owns the combination (BadAccess)
    static constexpr int statusNoSuchKey = -1;  // no key of this keyboard has that code
    static constexpr int statusUnavailable = -2; // no X11 session

    struct Registration {
        /// 0 on success.
        int status = 0;
        /// The registration's reference, present on success.
        std::optional<int> ref;
    };

    virtual ~HotKeys() = default;

    /// The handler that every press of a registered hot key reaches, with the
    /// id the key was registered with. One press calls it once (auto-repeat
    /// does not). Answers a token for removeHandler.
    virtual std::optional<int> installHandler(std::function<void(HotKeyId)> handler) = 0;
    virtual void removeHandler(int token) = 0;

    /// Registers a virtual key code with a modifier mask (HotKeyModifiers).
    virtual Registration registerKey(uint32_t keyCode, uint32_t modifiers, HotKeyId id) = 0;
    virtual void unregisterKey(int ref) = 0;
};

} // namespace quillon::platform
