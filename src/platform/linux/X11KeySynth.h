#pragma once

#include "platform/KeySynth.h"
#include "platform/NowPlaying.h"
#include "platform/linux/XInput.h"

#include <bitset>
#include <chrono>
#include <deque>
#include <memory>
#include <vector>

namespace quillon::platform::linux_ {

/// Synthetic key strokes through XTest on a connection of our own.
///
/// X11 events carry no field for a marker of our own, and every XTest client
/// (xdotool, on-screen keyboards, test tools) shares the one XTest device, so
/// "came from XTest" does not make an event ours. Each stroke we post is
/// recorded instead, and an event is ours when it comes from an XTest device
/// and matches the oldest record of its key and direction that has not been
/// seen yet, within a short window. A key another XTest client types at the
/// same moment as the very same key of ours cannot be told apart.
class X11KeySynth final : public KeySynth {
public:
    X11KeySynth() = default;
    ~X11KeySynth() override;

    bool post(uint16_t keyCode, EventFlags flags) override;
    bool isOwn(const KeyEvent& event) override;
    /// One stroke of the keyboard's media key (XF86AudioPrev, XF86AudioPlay,
    /// XF86AudioNext), for whatever on the desktop listens to it.
    bool postMediaKey(MediaKeys::Key key);

    /// Whether a modifier key pressed again for a person is still waiting for
    /// them to let go.
    bool isRestoring() const { return m_restored.any(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Record {
        uint16_t keyCode;
        bool down;
        Clock::time_point posted;
        /// The server time of the event that matched it: the same event
        /// reaches several listeners and is ours for each of them.
        std::optional<uint32_t> seenAt;
    };

    bool connect();
    /// Press and release of the X key with exactly `flags` held; recorded as
    /// ours under `keyCode` when it has one.
    bool stroke(uint8_t xKey, std::optional<uint16_t> keyCode, EventFlags flags);
    void fake(bool press, uint8_t xKey);
    /// Keys held on the real keyboards (not the XTest device).
    std::bitset<256> physicallyDown();
    void handle(const xcb_generic_event_t* event);
    void watchReleases(bool on);

    std::unique_ptr<XInput> m_xi;
    bool m_watching = false;
    std::deque<Record> m_records;
    /// Modifier keys pressed again on the XTest device for a person who
    /// still holds them: the XTest device lets go of each when the person
    /// does, or its own state would keep the key down for every later
    /// synthetic press.
    std::bitset<256> m_restored;
};

} // namespace quillon::platform::linux_
