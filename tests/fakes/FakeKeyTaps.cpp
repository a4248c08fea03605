#include "fakes/FakeKeyTaps.h"

namespace quillon::fakes {

namespace {

namespace F = platform::KeyFlags;

struct Pair {
    platform::EventFlags mask, sides;
};
constexpr Pair pairs[] = {
    {F::shift, F::leftShift | F::rightShift},
    {F::command, F::leftCommand | F::rightCommand},
    {F::option, F::leftOption | F::rightOption},
    {F::control, F::leftControl | F::rightControl},
};

// A combination names sides (those keys exactly), a mask (either key) or
// nothing (no key of the pair).
bool combinationMatches(platform::EventFlags combination, platform::EventFlags held)
{
    for (const Pair& pair : pairs) {
        if (combination & pair.sides) {
            if ((combination & pair.sides) != (held & pair.sides))
                return false;
        } else if ((combination & pair.mask) != (held & pair.mask)) {
            return false;
        }
    }
    return true;
}

// The flags a modifier key's own press adds, as the desktop matches a grab
// on the modifiers held before the press.
platform::EventFlags withoutOwnFlags(uint16_t keyCode, platform::EventFlags flags)
{
    struct Side {
        uint16_t key;
        platform::EventFlags bit, otherBit, mask;
    };
    constexpr Side sides[] = {
        {54, F::rightCommand, F::leftCommand, F::command}, {55, F::leftCommand, F::rightCommand, F::command},
        {56, F::leftShift, F::rightShift, F::shift},       {60, F::rightShift, F::leftShift, F::shift},
        {58, F::leftOption, F::rightOption, F::option},    {61, F::rightOption, F::leftOption, F::option},
        {59, F::leftControl, F::rightControl, F::control}, {62, F::rightControl, F::leftControl, F::control},
    };
    for (const Side& side : sides) {
        if (side.key != keyCode)
            continue;
        flags &= ~side.bit;
        if (!(flags & side.otherBit))
            flags &= ~side.mask;
    }
    return flags;
}

bool tapHolds(const FakeKeyInterceptor::Tap& tap, uint16_t keyCode, platform::EventFlags flags)
{
    // The whole keyboard taken actively: every key, whatever is held.
    if (tap.keys.wholeKeyboard)
        return true;
    flags = withoutOwnFlags(keyCode, flags);
    if (!tap.keys.everyKey &&
        std::find(tap.keys.keyCodes.begin(), tap.keys.keyCodes.end(), keyCode) == tap.keys.keyCodes.end())
        return false;
    for (const platform::EventFlags combination : tap.keys.modifiers) {
        if (combinationMatches(combination, flags))
            return true;
    }
    return false;
}

} // namespace

std::optional<int> FakeKeyInterceptor::arm(const platform::KeyGrab& keys, Handler handler)
{
    if (!available)
        return std::nullopt;
    ++arms;
    const int token = ++m_lastToken;
    taps.emplace(token, Tap{keys, std::move(handler)});
    return token;
}

bool FakeKeyInterceptor::holds(uint16_t keyCode, platform::EventFlags flags) const
{
    for (const auto& [token, tap] : taps) {
        if (tapHolds(tap, keyCode, flags))
            return true;
    }
    return false;
}

bool FakeKeyInterceptor::press(const platform::KeyEvent& event)
{
    std::vector<int> tokens;
    for (const auto& [token, tap] : taps) {
        if (tapHolds(tap, uint16_t(event.keyCode), event.flags))
            tokens.push_back(token);
    }
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
        const auto tap = taps.find(*it);
        if (tap == taps.end())
            continue;
        // A handler may disarm its own tap while it runs.
        const Handler handler = tap->second.handler;
        if (handler(event)) {
            m_swallowed.insert(uint16_t(event.keyCode));
            return true;
        }
    }
    return false;
}

bool FakeKeyInterceptor::press(uint16_t keyCode, platform::EventFlags flags, bool isRepeat)
{
    return press(platform::KeyEvent{platform::KeyEvent::Type::keyDown, keyCode, flags, isRepeat});
}

bool FakeKeyInterceptor::release(uint16_t keyCode, platform::EventFlags flags)
{
    const platform::KeyEvent event{platform::KeyEvent::Type::keyUp, keyCode, flags, false};
    std::vector<int> tokens;
    for (const auto& [token, tap] : taps) {
        const auto& codes = tap.keys.keyCodes;
        if (tap.keys.everyKey || std::find(codes.begin(), codes.end(), keyCode) != codes.end())
            tokens.push_back(token);
    }
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
        const auto tap = taps.find(*it);
        if (tap != taps.end()) {
            const Handler handler = tap->second.handler;
            handler(event);
        }
    }
    return m_swallowed.erase(keyCode) > 0;
}

bool FakeKeySynth::post(uint16_t keyCode, platform::EventFlags flags)
{
    if (!available)
        return false;
    strokes.push_back({keyCode, flags});
    m_pending.emplace_back(keyCode, true);
    m_pending.emplace_back(keyCode, false);
    return true;
}

bool FakeKeySynth::isOwn(const platform::KeyEvent& event)
{
    if (!event.fromSyntheticDevice)
        return false;
    const bool down = event.type == platform::KeyEvent::Type::keyDown;
    for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
        if (it->first == event.keyCode && it->second == down) {
            m_pending.erase(it);
            return true;
        }
    }
    return false;
}

QString FakeKeyCharacters::characters(uint16_t keyCode, platform::EventFlags flags)
{
    const auto it = text.find({keyCode, flags});
    return it == text.end() ? QString() : it->second;
}

} // namespace quillon::fakes
