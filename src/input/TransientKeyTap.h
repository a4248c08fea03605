#pragma once

#include "platform/KeyEvents.h"
#include "platform/KeyInterceptor.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

namespace quillon {

/// A key tap that a feature arms only while one of its flows is on screen
/// (the open shelf, the clipboard paste menu, the snippet picker, the break
/// overlay). While armed it hands key events to the feature, which may
/// swallow them. The application's own synthetic keys pass untouched, so they
/// never re-enter its flows.
class TransientKeyTap {
public:
    struct KeyEvent {
        /// The virtual key code; -1 for events that are no key events.
        int code = -1;
        platform::EventFlags flags = 0;
        bool isKeyUp = false;
        /// A press of a key that is already down.
        bool isRepeat = false;
        platform::KeyEvent event;
        /// The text the key types; empty for keys that type none and for
        /// events that are no key events.
        QString characters() const;
    };

    /// The scroll wheel's bit in `alsoWatch`; scroll events are heard, never
    /// swallowed, and the only further events a tap can watch on this desktop.
    static constexpr uint64_t scrollWheelMask = uint64_t(1) << 22;

    /// `consuming`: the tap may swallow events, else it only listens.
    /// `watchKeyUp`: releases are delivered as well as presses. `keys`: what a
    /// consuming tap takes over while armed (only those keys pass through the
    /// application; listening taps hear every key).
    TransientKeyTap(bool consuming, bool watchKeyUp, uint64_t alsoWatch = 0, platform::KeyGrab keys = {});
    ~TransientKeyTap();
    TransientKeyTap(const TransientKeyTap&) = delete;
    TransientKeyTap& operator=(const TransientKeyTap&) = delete;

    /// True asks to swallow the event (honoured for presses of a consuming tap).
    std::function<bool(const KeyEvent&)> onKey;

    /// Starts handing events to `onKey`; does nothing when armed already or
    /// when the session gives no key taps (the flow then runs without them).
    void arm();
    void disarm();
    bool isArmed() const { return m_tap.has_value(); }

    bool consuming() const { return m_consuming; }
    bool watchKeyUp() const { return m_watchKeyUp; }
    uint64_t alsoWatch() const { return m_alsoWatch; }

private:
    bool handle(const platform::KeyEvent& event);

    const bool m_consuming;
    const bool m_watchKeyUp;
    const uint64_t m_alsoWatch;
    const platform::KeyGrab m_keys;
    std::optional<int> m_tap;
    std::optional<int> m_scroll;
};

} // namespace quillon
