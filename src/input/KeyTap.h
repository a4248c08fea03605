#pragma once

#include "input/KeyTapLogic.h"
#include "platform/KeyEvents.h"
#include "platform/KeyInterceptor.h"

#include <functional>
#include <optional>
#include <set>
#include <vector>

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
    /// The keys the consumers take under a leader, read at each leader press:
    /// only those (of the keys `grabFor` names) are taken over. Unset, every
    /// key `grabFor` names is.
    std::function<std::vector<uint16_t>(Leader)> keysFor;

    KeyTap() = default;
    ~KeyTap();
    KeyTap(const KeyTap&) = delete;
    KeyTap& operator=(const KeyTap&) = delete;

    /// Makes the tap ready; true when key taps can work in this session.
    bool start();
    /// Removes the tap and forgets the leader and every swallowed key.
    void stop();
    /// Takes over the presses of these leaders' keys themselves, so the
    /// keyboard waits while a leader's keys are armed and a key typed right
    /// after the leader is still taken. Only leaders whose consumers take
    /// keys: each such press costs the focused window a focus change.
    void setLeaderKeys(const std::set<Leader>& leaders);
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
    /// The leader keys pressed into a leader, with the modifiers held before
    /// them: right Ctrl alone for the command leader, either Alt with Control
    /// or right Ctrl with Alt for the feature leader, right Alt alone for the
    /// option leader.
    static std::vector<platform::KeyGrab> leaderKeyGrabs(Leader leader);

private:
    /// Arms the tap exactly while it is needed, for the held leader.
    void applyEnabled();
    void disarm();

    KeyTapLogic m_logic;
    bool m_started = false;
    std::optional<int> m_armed;
    /// The leader whose keys were last armed (perhaps none of them).
    std::optional<Leader> m_armedFor;
    std::set<Leader> m_leaderKeys;
    std::vector<int> m_leaderTaps;
};

} // namespace quillon
