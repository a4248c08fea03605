#include "platform/linux/X11KeyInterceptor.h"

#include "platform/linux/X11Connection.h"
#include "support/Log.h"

#include <QTimer>
#include <algorithm>
#include <xcb/xinput.h>

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

constexpr uint32_t grabMask = XCB_INPUT_XI_EVENT_MASK_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_KEY_RELEASE |
                              XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;

// A tap that names every combination of the four modifier pairs ignores
// modifiers: AnyModifier stands for them all.
bool coversEveryModifier(const std::vector<EventFlags>& modifiers)
{
    for (const EventFlags flags : KeyGrab::everyModifier())
        if (std::find(modifiers.begin(), modifiers.end(), flags) == modifiers.end())
            return false;
    return true;
}

// The X form of a modifier set of ours.
std::vector<uint32_t> xSets(const std::vector<uint32_t>& sets)
{
    std::vector<uint32_t> result;
    for (const uint32_t set : sets)
        result.push_back(set == KeyGrabThread::anyModifier ? uint32_t(XCB_INPUT_MODIFIER_MASK_ANY) : set);
    return result;
}

} // namespace

X11KeyInterceptor::~X11KeyInterceptor()
{
    if (m_thread)
        m_thread->ungrabKeyboard();
}

bool X11KeyInterceptor::connect()
{
    if (m_thread)
        return true;
    KeyGrabThread::Callbacks callbacks;
    callbacks.onPress = [this](const KeyGrabThread::Press& press) {
        if (!m_thread->claim(press.id))
            return;
        const bool swallow = pressed(press);
        // A handler may have stopped every tap, the thread with them.
        if (m_thread)
            m_thread->answer(press.id, swallow);
    };
    callbacks.onRelease = [this](uint8_t xKey, const KeyEvent& event) { released(xKey, event); };
    callbacks.onMappingChange = [this] {
        m_modifiers.reset();
        // Another keyboard may bring other key codes for the same keys.
        KeyCodeMap::load(m_thread->connection());
        m_thread->wake();
    };
    callbacks.onLog = [](const QString& line) { Log::error(line); };
    callbacks.onHeldPress = [this](const KeyEvent& event) { heldPress(event); };
    callbacks.onKeyboardFreed = [this] {
        m_wholeFreed = true;
        if (m_wholeRetry)
            m_wholeRetry->stop();
    };
    m_thread = KeyGrabThread::start(std::move(callbacks));
    if (m_thread) {
        KeyCodeMap::loadOnce(m_thread->connection());
        m_thread->wake();
    }
    return m_thread != nullptr;
}

const ModifierMap& X11KeyInterceptor::modifiers()
{
    if (!m_modifiers) {
        m_modifiers = ModifierMap::load(m_thread->connection()).value_or(ModifierMap());
        m_thread->wake();
    }
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
    if (coversEveryModifier(keys.modifiers)) {
        sets = {anyModifier};
    } else {
        for (const EventFlags combination : keys.modifiers)
            sets.merge(xModifierSets(combination));
    }
    std::vector<uint16_t> keyCodes = keys.keyCodes;
    if (keys.everyKey) {
        // Keys the server counts as modifiers (Num Lock, a layout's level
        // shifts) stay free, or holding one would be read as a key press.
        const ModifierMap& map = modifiers();
        for (uint16_t virtualKey = 0; virtualKey < 128; ++virtualKey) {
            const auto xKey = KeyCodeMap::xKeyCode(virtualKey);
            if (xKey && map.bitsOf(*xKey) == 0 && KeyCodeMap::modifierSideFlag(virtualKey) == 0)
                keyCodes.push_back(virtualKey);
        }
    }
    std::set<Combo> combos;
    for (const uint16_t keyCode : keyCodes) {
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
    if (!m_listening) {
        m_listening = true;
        m_thread->listen(true);
    }
    // Read afresh for every tap: a layout change (right Alt becoming a level
    // three shift) may be only just under way, its notice not yet here.
    m_modifiers.reset();
    Tap tap{combosFor(keys), {}, std::move(handler)};
    std::map<uint8_t, std::vector<uint32_t>> fresh;
    std::vector<uint8_t> freshAny;
    for (const Combo& combo : tap.combos) {
        tap.keys.insert(combo.first);
        if (m_grabCount[combo]++ > 0)
            continue;
        if (combo.second == anyModifier)
            freshAny.push_back(combo.first);
        else
            fresh[combo.first].push_back(combo.second);
    }
    grab(fresh);
    grabAnyModifier(freshAny);
    shareCombos();
    tap.whole = keys.wholeKeyboard;
    const int token = ++m_lastToken;
    m_taps.emplace(token, std::move(tap));
    if (keys.wholeKeyboard) {
        m_wholeFreed = false;
        takeWholeKeyboard();
    }
    return token;
}

bool X11KeyInterceptor::wantsWholeKeyboard() const
{
    return std::any_of(m_taps.begin(), m_taps.end(), [](const auto& entry) { return entry.second.whole; });
}

// A client holding the keyboard (an open menu) refuses the grab; the passive
// grabs of every key stand meanwhile, and the grab is asked for again.
void X11KeyInterceptor::takeWholeKeyboard()
{
    if (!m_thread || m_wholeFreed || !wantsWholeKeyboard() || m_thread->holdsWholeKeyboard())
        return;
    if (m_thread->grabKeyboard()) {
        if (m_wholeRetry)
            m_wholeRetry->stop();
        return;
    }
    if (!m_toldWholeRefused)
        Log::info(QStringLiteral("Keys: another program holds the keyboard; taking it once it lets go"));
    m_toldWholeRefused = true;
    if (!m_wholeRetry) {
        m_wholeRetry = std::make_unique<QTimer>();
        m_wholeRetry->setInterval(1000);
        QObject::connect(m_wholeRetry.get(), &QTimer::timeout, [this] { takeWholeKeyboard(); });
    }
    m_wholeRetry->start();
}

void X11KeyInterceptor::heldPress(const KeyEvent& event)
{
    std::vector<int> tokens;
    for (const auto& [token, tap] : m_taps) {
        if (tap.whole)
            tokens.push_back(token);
    }
    // The newest whole-keyboard tap hears it; nothing is replayed whatever
    // it answers.
    if (!tokens.empty()) {
        const Handler handler = m_taps.at(tokens.back()).handler;
        handler(event);
    }
}

void X11KeyInterceptor::disarm(int token)
{
    const auto it = m_taps.find(token);
    if (it == m_taps.end())
        return;
    std::map<uint8_t, std::vector<uint32_t>> unused;
    std::set<uint8_t> touched;
    for (const Combo& combo : it->second.combos) {
        if (--m_grabCount[combo] > 0)
            continue;
        m_grabCount.erase(combo);
        if (combo.second == anyModifier)
            m_holes.erase(combo.first);
        // A refused combination was never ours; the next arm asks again.
        if (!m_refused.erase(combo)) {
            unused[combo.first].push_back(combo.second);
            touched.insert(combo.first);
        }
    }
    m_taps.erase(it);
    if (!wantsWholeKeyboard()) {
        m_thread->ungrabKeyboard();
        m_wholeFreed = false;
        if (m_wholeRetry)
            m_wholeRetry->stop();
    }
    ungrab(unused);
    restore(touched);
    xcb_flush(m_thread->connection());
    shareCombos();
    if (m_taps.empty() && m_listening) {
        m_listening = false;
        m_thread->listen(false);
    }
}

void X11KeyInterceptor::shareCombos()
{
    std::set<Combo> combos;
    for (const auto& [combo, count] : m_grabCount) {
        if (!m_refused.count(combo))
            combos.insert(combo);
    }
    m_thread->setTapCombos(std::move(combos), m_holes);
}

bool X11KeyInterceptor::isRefused(uint16_t keyCode, EventFlags flags)
{
    if (!connect())
        return false;
    const auto xKey = KeyCodeMap::xKeyCode(keyCode);
    if (!xKey)
        return false;
    const auto holes = m_holes.find(*xKey);
    for (const uint16_t set : xModifierSets(flags)) {
        if (m_refused.count({*xKey, set}))
            return true;
        if (holes != m_holes.end() &&
            std::find(holes->second.begin(), holes->second.end(), set) != holes->second.end())
            return true;
    }
    return m_refused.count({*xKey, anyModifier}) > 0;
}

void X11KeyInterceptor::grab(const std::map<uint8_t, std::vector<uint32_t>>& combos)
{
    if (combos.empty())
        return;
    xcb_connection_t* c = m_thread->connection();
    const xcb_window_t root = m_thread->root();
    // All requests first, then the replies: one round trip for every key.
    // Each master keyboard is grabbed by its own id: the server does not
    // replay presses that a grab for all master devices caught.
    std::vector<std::pair<uint8_t, xcb_input_xi_passive_grab_device_cookie_t>> cookies;
    for (const uint16_t keyboard : m_thread->masterKeyboards()) {
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
        for (int i = 0; i < count; ++i)
            refuse({xKey, uint16_t(failed[i].modifiers)});
    }
    // A window manager's bindings are core grabs, which never stand in the
    // way of ours: which one a press activates is chance. A core grab of our
    // own, given up at once, tells whether another client holds the
    // combination; where one does, it stays that program's.
    std::vector<std::pair<Combo, xcb_void_cookie_t>> probes;
    for (const auto& [xKey, sets] : combos) {
        for (const uint32_t set : sets) {
            probes.emplace_back(Combo{xKey, uint16_t(set)},
                                xcb_grab_key_checked(c, 0, root, uint16_t(set), xKey, XCB_GRAB_MODE_ASYNC,
                                                     XCB_GRAB_MODE_ASYNC));
        }
    }
    std::map<uint8_t, std::vector<uint32_t>> othersHold;
    for (const auto& [combo, cookie] : probes) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        if (error) {
            if (!m_refused.count(combo))
                othersHold[combo.first].push_back(combo.second);
            refuse(combo);
        } else {
            xcb_ungrab_key(c, combo.first, root, combo.second);
        }
    }
    ungrab(othersHold);
    xcb_flush(c);
    // Waiting for the replies may have queued events the thread must see.
    m_thread->wake();
}

void X11KeyInterceptor::refuse(const Combo& combo)
{
    m_refused.insert(combo);
    report(combo);
}

void X11KeyInterceptor::report(const Combo& combo)
{
    if (m_reported.insert(combo).second) {
        Log::debug([&] {
            return QStringLiteral(
                       "KeyInterceptor: key %1 with modifiers 0x%2 is grabbed by another program; it "
                       "stays with that program")
                .arg(combo.first)
                .arg(combo.second, 0, 16);
        });
    }
}

void X11KeyInterceptor::ungrab(const std::map<uint8_t, std::vector<uint32_t>>& combos)
{
    if (combos.empty())
        return;
    xcb_connection_t* c = m_thread->connection();
    for (const uint16_t keyboard : m_thread->masterKeyboards()) {
        for (const auto& [xKey, sets] : combos) {
            const std::vector<uint32_t> x = xSets(sets);
            xcb_input_xi_passive_ungrab_device(c, m_thread->root(), xKey, keyboard, uint16_t(x.size()),
                                               XCB_INPUT_GRAB_TYPE_KEYCODE, x.data());
        }
    }
    // Not flushed: what the caller restores goes out with it, so no key
    // slips through between the two.
}

// An ungrab with AnyModifier drops every grab of ours on the key, and one of
// a single set punches it out of our AnyModifier grab: what the other armed
// taps still count for the key is grabbed again (no reply needed: it was
// ours before), and the holes others hold punched anew.
void X11KeyInterceptor::restore(const std::set<uint8_t>& keys)
{
    xcb_connection_t* c = m_thread->connection();
    bool sent = false;
    for (const uint8_t xKey : keys) {
        std::vector<uint32_t> sets;
        for (auto it = m_grabCount.lower_bound({xKey, 0}); it != m_grabCount.end() && it->first.first == xKey;
             ++it) {
            if (!m_refused.count(it->first))
                sets.push_back(it->first.second);
        }
        if (sets.empty())
            continue;
        sent = true;
        const std::vector<uint32_t> x = xSets(sets);
        const auto holes = m_holes.find(xKey);
        for (const uint16_t keyboard : m_thread->masterKeyboards()) {
            xcb_discard_reply(
                c, xcb_input_xi_passive_grab_device(c, XCB_CURRENT_TIME, m_thread->root(), XCB_NONE, xKey,
                                                    keyboard, uint16_t(x.size()), 1,
                                                    XCB_INPUT_GRAB_TYPE_KEYCODE, XCB_INPUT_GRAB_MODE_22_SYNC,
                                                    XCB_INPUT_GRAB_MODE_22_ASYNC, 0, &grabMask, x.data())
                       .sequence);
            if (holes != m_holes.end())
                xcb_input_xi_passive_ungrab_device(c, m_thread->root(), xKey, keyboard,
                                                   uint16_t(holes->second.size()),
                                                   XCB_INPUT_GRAB_TYPE_KEYCODE, holes->second.data());
        }
    }
    if (sent)
        xcb_flush(c);
}

void X11KeyInterceptor::grabAnyModifier(const std::vector<uint8_t>& keys)
{
    if (keys.empty())
        return;
    xcb_connection_t* c = m_thread->connection();
    const xcb_window_t root = m_thread->root();
    // A window manager's bindings are core grabs, which never stand in the
    // way of ours: which one a press activates would be chance. A core grab
    // of our own, given up at once, tells whether another client holds the
    // key with some modifiers; only then is each set a tap may mean asked on
    // its own. The probes and their ungrabs come before our grab: an ungrab
    // of a probe made after it was seen to cut into it.
    std::vector<std::pair<uint8_t, xcb_void_cookie_t>> probes;
    for (const uint8_t xKey : keys) {
        probes.emplace_back(xKey, xcb_grab_key_checked(c, 0, root, XCB_MOD_MASK_ANY, xKey,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::vector<uint8_t> shared;
    for (const auto& [xKey, cookie] : probes) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        if (error)
            shared.push_back(xKey);
        else
            xcb_ungrab_key(c, xKey, root, XCB_MOD_MASK_ANY);
    }
    std::set<uint16_t> sets;
    if (!shared.empty()) {
        for (const EventFlags combination : KeyGrab::everyModifier())
            sets.merge(xModifierSets(combination));
    }
    std::vector<std::pair<Combo, xcb_void_cookie_t>> setProbes;
    for (const uint8_t xKey : shared) {
        for (const uint16_t set : sets)
            setProbes.emplace_back(
                Combo{xKey, set},
                xcb_grab_key_checked(c, 0, root, set, xKey, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::map<uint8_t, std::vector<uint32_t>> holes;
    for (const auto& [combo, cookie] : setProbes) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        if (!error) {
            xcb_ungrab_key(c, combo.first, root, combo.second);
            continue;
        }
        holes[combo.first].push_back(combo.second);
        report(combo);
    }
    // Then our grabs, one per key and keyboard, with the holes punched out.
    const uint32_t any = XCB_INPUT_MODIFIER_MASK_ANY;
    std::vector<std::pair<uint8_t, xcb_input_xi_passive_grab_device_cookie_t>> grabs;
    for (const uint16_t keyboard : m_thread->masterKeyboards()) {
        for (const uint8_t xKey : keys) {
            grabs.emplace_back(xKey, xcb_input_xi_passive_grab_device(
                                         c, XCB_CURRENT_TIME, root, XCB_NONE, xKey, keyboard, 1, 1,
                                         XCB_INPUT_GRAB_TYPE_KEYCODE, XCB_INPUT_GRAB_MODE_22_SYNC,
                                         XCB_INPUT_GRAB_MODE_22_ASYNC, 0, &grabMask, &any));
        }
    }
    for (const auto& [xKey, punched] : holes) {
        m_holes[xKey] = punched;
        for (const uint16_t keyboard : m_thread->masterKeyboards())
            xcb_input_xi_passive_ungrab_device(c, root, xKey, keyboard, uint16_t(punched.size()),
                                               XCB_INPUT_GRAB_TYPE_KEYCODE, punched.data());
    }
    // Another client's XInput grab of the key: the key is not ours at all.
    std::set<uint8_t> taken;
    for (const auto& [xKey, cookie] : grabs) {
        XcbReply<xcb_input_xi_passive_grab_device_reply_t> reply(
            xcb_input_xi_passive_grab_device_reply(c, cookie, nullptr));
        if (reply && xcb_input_xi_passive_grab_device_modifiers_length(reply.get()) > 0)
            taken.insert(xKey);
    }
    std::map<uint8_t, std::vector<uint32_t>> dropped;
    for (const uint8_t xKey : taken) {
        refuse({xKey, anyModifier});
        m_holes.erase(xKey);
        dropped[xKey].push_back(anyModifier);
    }
    ungrab(dropped);
    // The probes' ungrabs may have cut into other taps' grabs of the keys.
    std::set<uint8_t> others;
    for (const uint8_t xKey : keys) {
        const auto next = m_grabCount.lower_bound({xKey, 0});
        if (taken.count(xKey) ||
            (next != m_grabCount.end() && next->first.first == xKey && next->first.second != anyModifier))
            others.insert(xKey);
    }
    restore(others);
    xcb_flush(c);
    // Waiting for the replies may have queued events the thread must see.
    m_thread->wake();
}

void X11KeyInterceptor::released(uint8_t xKey, const KeyEvent& event)
{
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
            handler(event);
        }
    }
}

// The taps whose grab this press matched; during a grab that an earlier
// swallowed press activated, any key comes here, and goes to the taps that
// hold that key.
bool X11KeyInterceptor::pressed(const KeyGrabThread::Press& press)
{
    const Combo combo{press.xKey, press.modifiers};
    std::vector<int> exact, byKey;
    for (const auto& [token, tap] : m_taps) {
        if (tap.combos.count(combo) || tap.combos.count({press.xKey, anyModifier}))
            exact.push_back(token);
        else if (tap.keys.count(press.xKey))
            byKey.push_back(token);
    }
    const std::vector<int>& tokens = exact.empty() ? byKey : exact;
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
        const auto tap = m_taps.find(*it);
        if (tap == m_taps.end())
            continue;
        const Handler handler = tap->second.handler;
        if (handler(press.event))
            return true;
    }
    return false;
}

} // namespace quillon::platform::linux_
