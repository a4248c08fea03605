#pragma once

#include "platform/KeyEvents.h"
#include "platform/KeyFlags.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// The keys a tap takes over while it is armed.
struct KeyGrab {
    /// Virtual key codes.
    std::vector<uint16_t> keyCodes;
    /// The modifier keys that may be held with them, one entry per
    /// combination, as flags: a side bit (KeyFlags::rightCommand) names that
    /// key, a mask without its side bit (KeyFlags::shift) stands for either
    /// key of the pair, 0 is no modifier. Presses with other modifiers held
    /// never reach the tap.
    std::vector<EventFlags> modifiers{0};
    /// Every key but the modifier keys, besides `keyCodes`: for a flow that
    /// reads whatever is typed while it is open.
    bool everyKey = false;

    /// Every combination of Shift, Ctrl, Alt and Super, either key of each:
    /// for a flow that ignores modifiers. A tap given all of them takes its
    /// keys with whatever modifiers are held, locks and other modifiers too.
    static std::vector<EventFlags> everyModifier()
    {
        const EventFlags bits[] = {KeyFlags::shift, KeyFlags::command, KeyFlags::option, KeyFlags::control};
        std::vector<EventFlags> all;
        for (int mask = 0; mask < 16; ++mask) {
            EventFlags flags = 0;
            for (int i = 0; i < 4; ++i)
                if (mask & (1 << i))
                    flags |= bits[i];
            all.push_back(flags);
        }
        return all;
    }
    /// The whole keyboard, taken actively: every key reaches the tap, the
    /// window manager's own combinations included, and none is replayed.
    /// Where the session cannot take it, `everyKey` still stands.
    bool wholeKeyboard = false;
};

/// Consuming key taps. While a tap is armed, presses of its keys reach it
/// before the focused window; it swallows or passes each at once. Nothing
/// else of the person's typing passes through the process.
class KeyInterceptor {
public:
    /// Answers true to swallow a press; the answer for a release is ignored.
    using Handler = std::function<bool(const KeyEvent&)>;

    virtual ~KeyInterceptor() = default;

    /// Whether taps can be armed in this session.
    virtual bool isAvailable() = 0;

    /// Arms a tap; none when the session gives no such taps. Several taps may
    /// be armed at once: a press goes to the newest tap first and to older
    /// ones only while each newer one passes it. Releases of the tap's keys
    /// reach every tap that holds them; a release is swallowed exactly when
    /// its press was, so the focused window never sees half a key stroke.
    virtual std::optional<int> arm(const KeyGrab& keys, Handler handler) = 0;
    virtual void disarm(int token) = 0;
    /// Whether another program holds the key with these modifier flags, so
    /// that no tap of ours gets it (known once a tap tried to grab it).
    virtual bool isRefused(uint16_t keyCode, EventFlags flags)
    {
        (void)keyCode;
        (void)flags;
        return false;
    }
};

} // namespace quillon::platform
