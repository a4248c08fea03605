#include "platform/linux/X11KeyInterceptor.h"

#include "support/Log.h"

namespace quillon::platform::linux_ {

namespace {

// Each modifier pair: its mask and the virtual key codes of its left and
// right keys with their side bits.
struct ModifierPair {
    EventFlags mask;
    uint16_t leftKey;
    EventFlags leftBit;
    uint16_t rightKey;
    EventFlags rightBit;
};
constexpr ModifierPair modifierPairs[] = {
    {KeyFlags::shift, 56, KeyFlags::leftShift, 60, KeyFlags::rightShift},
    {KeyFlags::command, 55, KeyFlags::leftCommand, 54, KeyFlags::rightCommand},
    {KeyFlags::option, 58, KeyFlags::leftOption, 61, KeyFlags::rightOption},
    {KeyFlags::control, 59, KeyFlags::leftControl, 62, KeyFlags::rightControl},
};

// While a grab of ours is active the server sends the raw events of the
// grabbed keyboard only to us, and only when the grab asks for them.
constexpr uint32_t rawKeyMask =
    XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
constexpr uint32_t grabMask =
    XCB_INPUT_XI_EVENT_MASK_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_KEY_RELEASE | rawKeyMask;

} // namespace

X11KeyInterceptor::~X11KeyInterceptor()
{
    if (!m_xi)
        return;
    std::map<uint8_t, std::vector<uint32_t>> held;
    for (const auto& [combo, count] : m_grabCount) {
        if (!m_refused.count(combo))
            held[combo.first].push_back(combo.second);
    }
    ungrab(held);
    listen(false);
}

bool X11KeyInterceptor::connect()
{
    if (m_xi)
        return true;
    m_xi = XInput::open([this](const xcb_generic_event_t* event) { handle(event); });
    if (m_xi)
        m_keyboards = m_xi->masterKeyboards();
    return m_xi != nullptr;
}

const ModifierMap& X11KeyInterceptor::modifiers()
{
    if (!m_modifiers)
        m_modifiers = ModifierMap::load(m_xi->connection().get()).value_or(ModifierMap());
    return *m_modifiers;
}

std::set<uint16_t> X11KeyInterceptor::xModifierSets(EventFlags combination)
{
    const ModifierMap& map = modifiers();
    const auto bitsOf = [&](uint16_t virtualKey) -> uint16_t {
        const auto xKey = KeyCodeMap::xKeyCode(virtualKey);
        return xKey ? map.bitsOf(*xKey) : 0;
    };
    std::set<uint16_t> sets{0};
    for (const ModifierPair& pair : modifierPairs) {
        // The modifier bits this pair may add: the named keys together, or
        // either key when the combination names no side.
        std::set<uint16_t> choices;
        if (combination & (pair.leftBit | pair.rightBit)) {
            uint16_t bits = 0;
            if (combination & pair.leftBit)
                bits |= bitsOf(pair.leftKey);
            if (combination & pair.rightBit)
                bits |= bitsOf(pair.rightKey);
            choices.insert(bits);
        } else if (combination & pair.mask) {
            choices = {bitsOf(pair.leftKey), bitsOf(pair.rightKey)};
        } else {
            continue;
        }
        std::set<uint16_t> next;
        for (const uint16_t set : sets) {
            for (const uint16_t choice : choices)
                next.insert(uint16_t(set | choice));
        }
        sets = std::move(next);
    }
    std::set<uint16_t> withLocks;
    for (const uint16_t set : sets) {
        for (const uint16_t variant : map.lockVariants(set))
            withLocks.insert(variant);
    }
    return withLocks;
}

std::set<X11KeyInterceptor::Combo> X11KeyInterceptor::combosFor(const KeyGrab& keys)
{
    std::set<uint16_t> sets;
    for (const EventFlags combination : keys.modifiers)
        sets.merge(xModifierSets(combination));
    std::set<Combo> combos;
    for (const uint16_t keyCode : keys.keyCodes) {
        const auto xKey = KeyCodeMap::xKeyCode(keyCode);
        if (!xKey)
            continue;
        for (const uint16_t set : sets)
            combos.emplace(*xKey, set);
    }
    return combos;
}

std::optional<int> X11KeyInterceptor::arm(const KeyGrab& keys, Handler handler)
{
    if (!connect())
        return std::nullopt;
    if (m_taps.empty())
        listen(true);
    Tap tap{combosFor(keys), {}, std::move(handler)};
    std::map<uint8_t, std::vector<uint32_t>> fresh;
    for (const Combo& combo : tap.combos) {
        tap.keys.insert(combo.first);
        if (m_grabCount[combo]++ == 0)
            fresh[combo.first].push_back(combo.second);
    }
    grab(fresh);
    const int token = ++m_lastToken;
    m_taps.emplace(token, std::move(tap));
    return token;
}

void X11KeyInterceptor::disarm(int token)
{
    const auto it = m_taps.find(token);
    if (it == m_taps.end())
        return;
    std::map<uint8_t, std::vector<uint32_t>> unused;
    for (const Combo& combo : it->second.combos) {
        if (--m_grabCount[combo] > 0)
            continue;
        m_grabCount.erase(combo);
        // A refused combination was never ours; the next arm asks again.
        if (!m_refused.erase(combo))
            unused[combo.first].push_back(combo.second);
    }
    m_taps.erase(it);
    ungrab(unused);
    if (m_taps.empty())
        listen(false);
}

void X11KeyInterceptor::grab(const std::map<uint8_t, std::vector<uint32_t>>& combos)
{
    if (combos.empty())
        return;
    xcb_connection_t* c = m_xi->connection().get();
    const xcb_window_t root = m_xi->connection().root();
    // All requests first, then the replies: one round trip for every key.
    // Each master keyboard is grabbed by its own id: the server does not
    // replay presses that a grab for all master devices caught.
    std::vector<std::pair<uint8_t, xcb_input_xi_passive_grab_device_cookie_t>> cookies;
    for (const uint16_t keyboard : m_keyboards) {
        for (const auto& [xKey, sets] : combos) {
            cookies.emplace_back(xKey, xcb_input_xi_passive_grab_device(
                                           c, XCB_CURRENT_TIME, root, XCB_NONE, xKey, keyboard,
                                           uint16_t(sets.size()), 1, XCB_INPUT_GRAB_TYPE_KEYCODE,
                                           XCB_INPUT_GRAB_MODE_22_SYNC, XCB_INPUT_GRAB_MODE_22_ASYNC, 0,
                                           &grabMask, sets.data()));
        }
    }
    for (const auto& [xKey, cookie] : cookies) {
        XcbReply<xcb_input_xi_passive_grab_device_reply_t> reply(
            xcb_input_xi_passive_grab_device_reply(c, cookie, nullptr));
        if (!reply)
            continue;
        // The reply lists the modifier sets that could not be grabbed.
        const xcb_input_grab_modifier_info_t* failed =
            xcb_input_xi_passive_grab_device_modifiers(reply.get());
        const int count = xcb_input_xi_passive_grab_device_modifiers_length(reply.get());
        for (int i = 0; i < count; ++i) {
            const Combo combo{xKey, uint16_t(failed[i].modifiers)};
            m_refused.insert(combo);
            if (m_reported.insert(combo).second) {
                Log::error(QStringLiteral("KeyInterceptor: key %1 with modifiers 0x%2 is grabbed by another "
                                          "program; it stays with that program")
                               .arg(xKey)
                               .arg(combo.second, 0, 16));
            }
        }
    }
    m_xi->connection().flush();
}

void X11KeyInterceptor::ungrab(const std::map<uint8_t, std::vector<uint32_t>>& combos)
{
    if (combos.empty())
        return;
    xcb_connection_t* c = m_xi->connection().get();
    for (const uint16_t keyboard : m_keyboards) {
        for (const auto& [xKey, sets] : combos) {
            xcb_input_xi_passive_ungrab_device(c, m_xi->connection().root(), xKey, keyboard,
                                               uint16_t(sets.size()), XCB_INPUT_GRAB_TYPE_KEYCODE,
                                               sets.data());
        }
    }
    m_xi->connection().flush();
}

// Raw key events give the modifier keys held (by side, whatever the layout
// makes of them) and every release of a tap's keys, also of presses that were
// replayed to the focused window.
void X11KeyInterceptor::listen(bool on)
{
    if (on == m_listening)
        return;
    m_listening = on;
    if (on) {
        uint8_t keys[32];
        if (m_xi->keysDown(keys))
            m_stream.seed(keys);
    }
    m_xi->selectOnRoot(on ? rawKeyMask : 0);
}

void X11KeyInterceptor::handle(const xcb_generic_event_t* event)
{
    if ((event->response_type & 0x7f) == XCB_MAPPING_NOTIFY) {
        m_modifiers.reset();
        return;
    }
    const auto type = m_xi->eventType(event);
    if (!type)
        return;
    switch (*type) {
    case XCB_INPUT_RAW_KEY_PRESS:
    case XCB_INPUT_RAW_KEY_RELEASE: {
        const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event);
        if (raw->detail <= 255)
            handleRaw(uint8_t(raw->detail), *type == XCB_INPUT_RAW_KEY_PRESS, raw->time, raw->sourceid);
        return;
    }
    case XCB_INPUT_KEY_PRESS:
        pressed(reinterpret_cast<const xcb_input_key_press_event_t*>(event));
        return;
    case XCB_INPUT_KEY_RELEASE:
        released(reinterpret_cast<const xcb_input_key_press_event_t*>(event));
        return;
    default:
        return;
    }
}

void X11KeyInterceptor::handleRaw(uint8_t xKey, bool isPress, uint32_t time, uint16_t sourceId)
{
    auto keyEvent = m_stream.handle(xKey, isPress);
    if (isPress || !keyEvent || keyEvent->type != KeyEvent::Type::keyUp)
        return;
    keyEvent->time = time;
    keyEvent->fromSyntheticDevice = m_xi->isSyntheticDevice(sourceId);
    std::vector<int> tokens;
    for (const auto& [token, tap] : m_taps) {
        if (tap.keys.count(xKey))
            tokens.push_back(token);
    }
    // A handler may disarm taps, itself included: each is called on a copy.
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
        const auto tap = m_taps.find(*it);
        if (tap != m_taps.end()) {
            const Handler handler = tap->second.handler;
            handler(*keyEvent);
        }
    }
}

void X11KeyInterceptor::pressed(const xcb_input_key_press_event_t* event)
{
    const uint8_t xKey = uint8_t(event->detail);
    const auto virtualKey = event->detail <= 255 ? KeyCodeMap::virtualKey(xKey) : std::nullopt;
    bool swallow = false;
    if (virtualKey) {
        KeyEvent keyEvent{KeyEvent::Type::keyDown, *virtualKey, m_stream.flags(),
                          (event->flags & XCB_INPUT_KEY_EVENT_FLAGS_KEY_REPEAT) != 0};
        keyEvent.time = event->time;
        keyEvent.fromSyntheticDevice = m_xi->isSyntheticDevice(event->sourceid);
        // The taps whose grab this press matched; during a grab that an
        // earlier swallowed press activated, any key comes here, and goes to
        // the taps that hold that key.
        const Combo combo{xKey, uint16_t(event->mods.effective & 0xff)};
        std::vector<int> exact, byKey;
        for (const auto& [token, tap] : m_taps) {
            if (tap.combos.count(combo))
                exact.push_back(token);
            else if (tap.keys.count(xKey))
                byKey.push_back(token);
        }
        const std::vector<int>& tokens = exact.empty() ? byKey : exact;
        for (auto it = tokens.rbegin(); it != tokens.rend() && !swallow; ++it) {
            const auto tap = m_taps.find(*it);
            if (tap != m_taps.end()) {
                const Handler handler = tap->second.handler;
                swallow = handler(keyEvent);
            }
        }
    }
    if (!m_grabKey)
        m_grabKey = xKey;
    if (swallow)
        m_swallowed.set(xKey);
    answer(event->deviceid, swallow, event->time);
}

void X11KeyInterceptor::released(const xcb_input_key_press_event_t* event)
{
    // The release of the key whose press activated the grab ends the grab and
    // thaws the keyboard by itself. An answer to it would reach the server
    // after the keyboard moved on, and act on the next grab instead.
    if (event->detail == m_grabKey) {
        m_swallowed.reset(*m_grabKey);
        m_grabKey.reset();
        return;
    }
    const bool swallow = event->detail <= 255 && m_swallowed.test(event->detail);
    if (swallow)
        m_swallowed.reset(event->detail);
    answer(event->deviceid, swallow, event->time);
}

// A swallowed event keeps the keyboard synchronous, so the next event during
// the same grab (another key, a modifier, a release) also waits for us and can
// still be replayed. A replayed event ends the grab: the releases of presses
// swallowed earlier then go to the focused window like any other key. The
// answer carries the event's time, so the server ignores it should it ever
// arrive after a later grab began.
void X11KeyInterceptor::answer(uint16_t deviceId, bool swallow, uint32_t time)
{
    if (!swallow) {
        m_swallowed.reset();
        m_grabKey.reset();
    }
    xcb_input_xi_allow_events(m_xi->connection().get(), time, deviceId,
                              swallow ? XCB_INPUT_EVENT_MODE_SYNC_DEVICE : XCB_INPUT_EVENT_MODE_REPLAY_DEVICE,
                              0, XCB_NONE);
    m_xi->connection().flush();
}

} // namespace quillon::platform::linux_
