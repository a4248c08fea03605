#pragma once

#include "platform/KeyEvents.h"
#include "platform/linux/KeyCodeMap.h"

#include <QObject>
#include <atomic>
#include <bitset>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace quillon::platform::linux_ {

/// The thread that answers the keyboard while our synchronous key grabs hold
/// it frozen. It has an X connection of its own and reads it itself, so the
/// keyboard never waits on the main thread: each grabbed press goes to the
/// main thread for its handlers' answer, and a press that the main thread has
/// not taken up within `answerTimeout` passes to the focused window (and is
/// never handed to a handler afterwards); once taken up, its handlers have
/// `answerTimeout` again to answer.
///
/// Requests (grabs, event selection) may be sent on `connection()` from the
/// main thread; everything the thread hears it hands to the main thread
/// through the callbacks, in order.
class KeyGrabThread {
public:
    static constexpr auto answerTimeout = std::chrono::milliseconds(100);

    /// A grabbed press waiting for its answer.
    struct Press {
        uint64_t id = 0;
        uint8_t xKey = 0;
        /// The X modifier state of the press.
        uint16_t modifiers = 0;
        KeyEvent event;
    };
    struct Callbacks {
        /// On the main thread: a press to answer with `answer()` (after
        /// `claim()` said it is still waiting).
        std::function<void(const Press&)> onPress;
        /// On the main thread: a key released (by any device), for the
        /// handlers that hold it; it needs no answer.
        std::function<void(uint8_t xKey, const KeyEvent&)> onRelease;
        /// On the main thread: the keyboard mapping changed.
        std::function<void()> onMappingChange;
        /// On the main thread: one line for the log.
        std::function<void(const QString&)> onLog;
        /// On the main thread: a press while the whole keyboard is ours; it
        /// went nowhere and needs no answer.
        std::function<void(const KeyEvent&)> onHeldPress;
        /// On the main thread: Ctrl+Alt+Esc gave the whole keyboard back.
        std::function<void()> onKeyboardFreed;
    };

    /// Connects and starts the thread; none without an X server with
    /// XInput 2.2.
    static std::unique_ptr<KeyGrabThread> start(Callbacks callbacks);
    ~KeyGrabThread();
    KeyGrabThread(const KeyGrabThread&) = delete;
    KeyGrabThread& operator=(const KeyGrabThread&) = delete;

    xcb_connection_t* connection() const { return m_c; }
    xcb_window_t root() const { return m_root; }
    const std::vector<uint16_t>& masterKeyboards() const { return m_keyboards; }

    /// Main thread: takes a press for its handlers. False when it already
    /// passed for want of an answer: its handlers must not see it.
    bool claim(uint64_t id);
    /// Main thread: the answer to a claimed press.
    void answer(uint64_t id, bool swallow);
    /// Main thread: hears raw key events (every key's release) or stops.
    void listen(bool on);
    /// The modifier set of a tap combination grabbed with AnyModifier.
    static constexpr uint16_t anyModifier = 0x8000;
    /// Main thread: the key-and-modifier combinations our taps grab, which a
    /// grab for a held key must leave alone, and the sets punched out of the
    /// keys grabbed with `anyModifier`.
    void setTapCombos(std::set<std::pair<uint8_t, uint16_t>> combos,
                      std::map<uint8_t, std::vector<uint32_t>> holes = {});
    /// Main thread: after waiting for a reply on the connection, whose events
    /// xcb may then have queued without the socket waking the thread.
    void wake();

    /// Whether a press we swallowed is still down (the keyboard may be held).
    bool holdsKeyboard() const { return m_holding.load(); }

    /// Main thread: takes the whole keyboard with an active grab of every
    /// master keyboard; false when another client holds one (nothing is
    /// then taken). Ctrl+Alt+Esc gives it back at once, from the thread.
    bool grabKeyboard();
    /// Main thread: gives the whole keyboard back.
    void ungrabKeyboard();
    bool holdsWholeKeyboard() const { return m_whole.load(); }

private:
    KeyGrabThread(xcb_connection_t* c, xcb_window_t root, uint8_t opcode, Callbacks callbacks);

    void run();
    void handle(const xcb_generic_event_t* event);
    void rawKey(uint8_t xKey, bool isPress, uint32_t time, uint16_t sourceId);
    void pressed(const xcb_generic_event_t* event);
    void released(const xcb_generic_event_t* event);
    /// Answers the frozen event now (thread), and keeps our swallowed keys'
    /// repeats when the answer ends the grab.
    void allow(uint16_t deviceId, bool swallow, uint32_t time, std::optional<uint8_t> pressed);
    void checkPending();
    void grabHeldKeys();
    void releaseHeldKey(uint8_t xKey);
    bool isSyntheticDevice(uint16_t deviceId);
    void post(std::function<void()> fn);
    void updateHolding() { m_holding = m_swallowed.any(); }
    void heldPress(const xcb_generic_event_t* generic);
    void releaseWholeKeyboard();

    xcb_connection_t* m_c;
    xcb_window_t m_root;
    uint8_t m_opcode;
    std::vector<uint16_t> m_keyboards;
    Callbacks m_callbacks;
    /// Lives on the main thread: what the thread posts runs there, and stops
    /// with it.
    std::unique_ptr<QObject> m_main;
    int m_wakeFd = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_holding{false};
    std::atomic<bool> m_whole{false};
    /// The thread reads the keys down before it hears the next raw event.
    std::atomic<bool> m_seed{false};

    // Shared with the main thread.
    enum class State { waiting, claimed, answered };
    struct Pending {
        Press press;
        uint16_t deviceId = 0;
        std::chrono::steady_clock::time_point deadline;
        State state = State::waiting;
        bool swallow = false;
    };
    std::mutex m_lock;
    std::optional<Pending> m_pending;
    /// A press passed for want of an answer, and the main thread has not
    /// come back since: later presses pass at once, with one log line.
    bool m_stalled = false;
    std::set<std::pair<uint8_t, uint16_t>> m_tapCombos;
    std::map<uint8_t, std::vector<uint32_t>> m_tapHoles;

    // The thread's own.
    uint64_t m_lastId = 0;
    KeyStream m_stream;
    std::map<uint16_t, bool> m_synthetic;
    std::set<int> m_reportedErrors;
    /// Keys whose press we swallowed, until their release.
    std::bitset<256> m_swallowed;
    /// The key whose press activated the grab that is active now.
    std::optional<uint8_t> m_grabKey;
    /// Swallowed keys still down after their grab ended, grabbed on their own
    /// so their auto-repeats never reach the focused window.
    std::map<uint8_t, std::vector<uint32_t>> m_heldGrabs;
    std::thread m_thread;
};

} // namespace quillon::platform::linux_
