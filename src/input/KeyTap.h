#pragma once

#include "input/KeyTapLogic.h"
#include "platform/KeyEvents.h"
#include "platform/KeyInterceptor.h"

#include <functional>
#include <optional>

namespace quillon {

/// The leader's key tap. It is armed only while a leader is held or a key it
/// swallowed is still down, so ordinary typing never passes through the
/// application; while armed it takes the keys a consumer may want under the
/// held leader and hands each press to `KeyTapLogic`.
class KeyTap {
public:
    /// A consumer for a key under a leader; true when it took the key.
    std::function<bool(Leader, QChar)> onKey;
    /// Called after every change of the held leader.
    std::function<void(std::optional<Leader>)> onLeaderChange;

    KeyTap() = default;
    ~KeyTap();
    KeyTap(const KeyTap&) = delete;
    KeyTap& operator=(const KeyTap&) = delete;

    /// Makes the tap ready; true when key taps can work in this session.
    bool start();
    /// Removes the tap and forgets the leader and every swallowed key.
    void stop();
    bool isStarted() const { return m_started; }
    /// Whether the tap is armed just now.
    bool isEnabled() const { return m_armed.has_value(); }

    /// The modifier flags of every modifier change.
    void handleFlags(platform::EventFlags flags);
    /// A press or release that reached the tap; true = swallow it.
    bool handleKey(const platform::KeyEvent& event);

    /// The keys a leader's consumers can be handed, with the modifier keys
    /// that may be held with them (Control with any leader, and Command with
    /// the option leader, make a key pass, so they are not taken).
    static platform::KeyGrab grabFor(Leader leader);

private:
    /// Arms the tap exactly while it is needed, for the held leader.
    void applyEnabled();
    void disarm();

    KeyTapLogic m_logic;
    bool m_started = false;
    std::optional<int> m_armed;
    std::optional<Leader> m_armedFor;
};

} // namespace quillon
