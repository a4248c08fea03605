#pragma once

#include "platform/InputAccess.h"
#include "platform/KeyCharacters.h"
#include "platform/KeyInterceptor.h"
#include "platform/KeySynth.h"

#include <QString>
#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <vector>

namespace quillon::fakes {

/// Key taps that never reach the desktop: a test presses keys into the armed
/// taps and reads what they decided.
class FakeKeyInterceptor final : public platform::KeyInterceptor {
public:
    struct Tap {
        platform::KeyGrab keys;
        Handler handler;
    };

    bool isAvailable() override { return available; }
    std::optional<int> arm(const platform::KeyGrab& keys, Handler handler) override;
    void disarm(int token) override { taps.erase(token); }

    /// A press as the desktop delivers it: to the taps holding the key with
    /// these modifiers, newest first, until one swallows it. True = swallowed.
    bool press(const platform::KeyEvent& event);
    bool press(uint16_t keyCode, platform::EventFlags flags = 0, bool isRepeat = false);
    /// A release: every tap holding the key hears it. True = swallowed, which
    /// it is exactly when its press was.
    bool release(uint16_t keyCode, platform::EventFlags flags = 0);
    /// Whether an armed tap holds the key with these modifiers held.
    bool holds(uint16_t keyCode, platform::EventFlags flags = 0) const;

    std::map<int, Tap> taps;
    bool available = true;
    /// How often a tap was armed.
    int arms = 0;

private:
    std::set<uint16_t> m_swallowed;
    int m_lastToken = 0;
};

/// Synthetic strokes that are recorded instead of posted. An event counts as
/// ours when it comes from the synthetic device and matches a stroke posted
/// and not yet seen.
class FakeKeySynth final : public platform::KeySynth {
public:
    struct Stroke {
        uint16_t keyCode;
        platform::EventFlags flags;
        bool operator==(const Stroke&) const = default;
    };

    bool post(uint16_t keyCode, platform::EventFlags flags) override;
    bool isOwn(const platform::KeyEvent& event) override;

    std::vector<Stroke> strokes;
    bool available = true;

private:
    std::deque<std::pair<int, bool>> m_pending;
};

/// Key text from a table; keys not in it type nothing.
class FakeKeyCharacters final : public platform::KeyCharacters {
public:
    QString characters(uint16_t keyCode, platform::EventFlags flags) override;
    std::map<std::pair<uint16_t, platform::EventFlags>, QString> text;
};

class FakeInputAccess final : public platform::InputAccess {
public:
    bool secureInputActive() override { return secure; }
    bool secure = false;
};

} // namespace quillon::fakes
