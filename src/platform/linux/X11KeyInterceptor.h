#pragma once

#include "platform/KeyInterceptor.h"
#include "platform/linux/KeyCodeMap.h"
#include "platform/linux/KeyGrabThread.h"
#include "platform/linux/ModifierMap.h"

#include <map>
#include <memory>
#include <set>
#include <xcb/xinput.h>

#include <QTimer>

namespace quillon::platform::linux_ {

/// Consuming key taps as XInput 2 passive grabs on the root window, owned by
/// a thread with an X connection of its own (`KeyGrabThread`). A tap that
/// takes its keys with every modifier holds one grab per key with
/// AnyModifier, minus the modifier sets another client holds (punched out of
/// it); any other tap's key is grabbed per modifier combination that can be
/// held with it and per Lock/NumLock variant. Never AnyKey, which fails whole
/// as soon as any client grabs any key. The grabs are synchronous: the keyboard waits
/// after each grabbed press until the handlers, on the main thread, answer —
/// swallow, or replay the press to the focused window — or until the thread
/// gives up waiting and passes it.
class X11KeyInterceptor final : public KeyInterceptor {
public:
    X11KeyInterceptor() = default;
    ~X11KeyInterceptor() override;

    bool isAvailable() override { return connect(); }
    std::optional<int> arm(const KeyGrab& keys, Handler handler) override;
    void disarm(int token) override;

    /// Whether a press we swallowed may still hold the keyboard's grab.
    bool holdsKeyboard() const { return m_thread && m_thread->holdsKeyboard(); }
    /// Whether a tap holds the whole keyboard now.
    bool holdsWholeKeyboard() const { return m_thread && m_thread->holdsWholeKeyboard(); }
    /// The key-and-modifier combinations the server grabs for us.
    int grabCount() const { return int(m_grabCount.size() - m_refused.size()); }
    bool isRefused(uint16_t keyCode, EventFlags flags) override;

private:
    /// An X key code with an X modifier set, or with `anyModifier`.
    using Combo = std::pair<uint8_t, uint16_t>;
    static constexpr uint16_t anyModifier = KeyGrabThread::anyModifier;
    struct Tap {
        std::set<Combo> combos;
        std::set<uint8_t> keys;
        Handler handler;
        /// Takes the whole keyboard (an active grab) besides its combos.
        bool whole = false;
    };

    bool connect();
    const ModifierMap& modifiers();
    std::set<Combo> combosFor(const KeyGrab& keys);
    /// The X modifier sets that one combination of held modifier keys makes.
    std::set<uint16_t> xModifierSets(EventFlags combination);
    void grab(const std::map<uint8_t, std::vector<uint32_t>>& combos);
    /// Grabs each key with AnyModifier where the server lets us, and punches
    /// out of it the modifier sets another client holds.
    void grabAnyModifier(const std::vector<uint8_t>& keys);
    void ungrab(const std::map<uint8_t, std::vector<uint32_t>>& combos);
    /// After an ungrab, which drops more of a key's grabs than asked for:
    /// grabs again what the armed taps still count for each key.
    void restore(const std::set<uint8_t>& keys);
    void shareCombos();
    /// Another client holds the combination: it is not ours.
    void refuse(const Combo& combo);
    /// Logs once that another client holds the combination.
    void report(const Combo& combo);
    bool pressed(const KeyGrabThread::Press& press);
    bool wantsWholeKeyboard() const;
    /// Takes the whole keyboard, or tries again each second while another
    /// client holds it.
    void takeWholeKeyboard();
    void heldPress(const KeyEvent& event);
    void released(uint8_t xKey, const KeyEvent& event);

    std::unique_ptr<KeyGrabThread> m_thread;
    std::optional<ModifierMap> m_modifiers;
    std::map<int, Tap> m_taps;
    int m_lastToken = 0;
    /// How many armed taps need each combination: X11 keeps one grab per
    /// client and combination, and one tap's disarm must not drop another's.
    std::map<Combo, int> m_grabCount;
    /// Counted combinations that another client holds (a window manager's
    /// bindings): they cannot be ours.
    std::set<Combo> m_refused;
    /// The modifier sets another client holds, punched out of each key's
    /// AnyModifier grab.
    std::map<uint8_t, std::vector<uint32_t>> m_holes;
    std::set<Combo> m_reported;
    bool m_listening = false;
    std::unique_ptr<QTimer> m_wholeRetry;
    /// Ctrl+Alt+Esc gave the keyboard back: not taken again until a new tap.
    bool m_wholeFreed = false;
    bool m_toldWholeRefused = false;
};

} // namespace quillon::platform::linux_
