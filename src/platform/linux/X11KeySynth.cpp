#include "platform/linux/X11KeySynth.h"

#include "platform/linux/KeyCodeMap.h"
#include "platform/linux/ModifierMap.h"

#include <linux/input-event-codes.h>
#include <xcb/xinput.h>
#include <xcb/xtest.h>

namespace quillon::platform::linux_ {

namespace {

/// Long enough for a stroke to travel through the server and back to every
/// listener, short enough that an unseen record does not linger.
constexpr auto ownWindow = std::chrono::milliseconds(1500);

// The modifier keys a stroke's flags press: the left key of each pair unless
// the flags name the right one.
struct FlagKey {
    EventFlags mask;
    EventFlags rightBit;
    uint16_t leftKey;
    uint16_t rightKey;
};
constexpr FlagKey flagKeys[] = {
    {KeyFlags::control, KeyFlags::rightControl, 59, 62},
    {KeyFlags::option, KeyFlags::rightOption, 58, 61},
    {KeyFlags::shift, KeyFlags::rightShift, 56, 60},
    {KeyFlags::command, KeyFlags::rightCommand, 55, 54},
};

bool isDown(const uint8_t keys[32], int xKey)
{
    return (keys[xKey / 8] >> (xKey % 8)) & 1;
}

} // namespace

X11KeySynth::~X11KeySynth()
{
    if (m_xi && m_watching)
        m_xi->selectOnRoot(0);
}

bool X11KeySynth::connect()
{
    if (m_xi)
        return true;
    auto xi = XInput::open([this](const xcb_generic_event_t* event) { handle(event); });
    if (!xi)
        return false;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(xi->connection().get(), &xcb_test_id);
    if (!xtest || !xtest->present)
        return false;
    m_xi = std::move(xi);
    KeyCodeMap::loadOnce(m_xi->connection().get());
    return true;
}

void X11KeySynth::fake(bool press, uint8_t xKey)
{
    xcb_test_fake_input(m_xi->connection().get(), press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, xKey,
                        XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

bool X11KeySynth::post(uint16_t keyCode, EventFlags flags)
{
    const auto xKey = KeyCodeMap::xKeyCode(keyCode);
    if (!xKey)
        return false;
    return stroke(*xKey, keyCode, flags);
}

// The media keys have no virtual key code: they go by their X key codes, and
// no key tap ever sees them come back.
bool X11KeySynth::postMediaKey(MediaKeys::Key key)
{
    int evdev = KEY_PLAYPAUSE;
    switch (key) {
    case MediaKeys::Key::previous:
        evdev = KEY_PREVIOUSSONG;
        break;
    case MediaKeys::Key::playPause:
        evdev = KEY_PLAYPAUSE;
        break;
    case MediaKeys::Key::next:
        evdev = KEY_NEXTSONG;
        break;
    }
    return stroke(uint8_t(evdev + 8), std::nullopt, 0);
}

bool X11KeySynth::stroke(uint8_t xKey, std::optional<uint16_t> keyCode, EventFlags flags)
{
    // Everything is looked up before the first event goes out: a key-down
    // without its key-up would repeat until something released it.
    if (!connect())
        return false;
    std::vector<uint8_t> flagKeysDown;
    for (const FlagKey& key : flagKeys) {
        if (!(flags & key.mask))
            continue;
        if (const auto x = KeyCodeMap::xKeyCode((flags & key.rightBit) ? key.rightKey : key.leftKey))
            flagKeysDown.push_back(*x);
    }
    // The modifier keys held now (Caps Lock and NumLock stay as they are):
    // let go of them, so the stroke carries exactly its own flags.
    std::vector<uint8_t> held;
    xcb_connection_t* c = m_xi->connection().get();
    const auto modifiers = ModifierMap::load(c);
    uint8_t keys[32];
    if (modifiers && m_xi->keysDown(keys)) {
        for (int key = 8; key < 256; ++key) {
            if (isDown(keys, key) && (modifiers->bitsOf(uint8_t(key)) & ~modifiers->lockBits()))
                held.push_back(uint8_t(key));
        }
    }
    // Watch for the person letting go before asking what they hold, so no
    // release falls between the question and the restoring press.
    if (!held.empty())
        watchReleases(true);

    for (const uint8_t key : held)
        fake(false, key);
    for (const uint8_t key : flagKeysDown)
        fake(true, key);
    fake(true, xKey);
    fake(false, xKey);
    for (auto it = flagKeysDown.rbegin(); it != flagKeysDown.rend(); ++it)
        fake(false, *it);
    const auto now = Clock::now();
    const auto record = [&](uint8_t x, bool down) {
        if (const auto virtualKey = KeyCodeMap::virtualKey(x))
            m_records.push_back({*virtualKey, down, now, std::nullopt});
    };
    for (const uint8_t key : flagKeysDown) {
        record(key, true);
        record(key, false);
    }
    if (keyCode) {
        m_records.push_back({*keyCode, true, now, std::nullopt});
        m_records.push_back({*keyCode, false, now, std::nullopt});
    }

    // Press again only what a real keyboard still holds; a key the person let
    // go of meanwhile would otherwise stay down.
    if (!held.empty()) {
        const auto physical = physicallyDown();
        for (const uint8_t key : held) {
            // A modifier let go and pressed again is ours both ways; one the
            // person let go of meanwhile stays up, and that release is theirs.
            if (physical.test(key)) {
                fake(true, key);
                m_restored.set(key);
                record(key, false);
                record(key, true);
            }
        }
        if (m_restored.none())
            watchReleases(false);
    }
    m_xi->connection().flush();
    return true;
}

std::bitset<256> X11KeySynth::physicallyDown()
{
    std::bitset<256> down;
    xcb_connection_t* c = m_xi->connection().get();
    std::vector<xcb_input_query_device_state_cookie_t> cookies;
    for (const uint16_t device : m_xi->physicalKeyboards())
        cookies.push_back(xcb_input_query_device_state(c, uint8_t(device)));
    for (const auto& cookie : cookies) {
        XcbReply<xcb_input_query_device_state_reply_t> state(
            xcb_input_query_device_state_reply(c, cookie, nullptr));
        if (!state)
            continue;
        for (auto it = xcb_input_query_device_state_classes_iterator(state.get()); it.rem;
             xcb_input_input_state_next(&it)) {
            if (it.data->class_id != XCB_INPUT_INPUT_CLASS_KEY)
                continue;
            const auto* keyState = reinterpret_cast<const xcb_input_key_state_t*>(it.data);
            for (int key = 0; key < 256; ++key) {
                if (isDown(keyState->keys, key))
                    down.set(size_t(key));
            }
        }
    }
    return down;
}

void X11KeySynth::watchReleases(bool on)
{
    if (on == m_watching)
        return;
    m_watching = on;
    m_xi->selectOnRoot(on ? XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE : 0);
}

void X11KeySynth::handle(const xcb_generic_event_t* event)
{
    if (m_xi->eventType(event) != XCB_INPUT_RAW_KEY_RELEASE)
        return;
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_release_event_t*>(event);
    if (raw->detail > 255 || !m_restored.test(raw->detail) || m_xi->isSyntheticDevice(raw->sourceid))
        return;
    // The person let go: the core keyboard already has; now the XTest device.
    m_restored.reset(raw->detail);
    fake(false, uint8_t(raw->detail));
    if (m_restored.none())
        watchReleases(false);
    m_xi->connection().flush();
}

bool X11KeySynth::isOwn(const KeyEvent& event)
{
    if (!event.fromSyntheticDevice || event.keyCode < 0 || event.keyCode > 0xFFFF)
        return false;
    const auto now = Clock::now();
    while (!m_records.empty() && now - m_records.front().posted > ownWindow)
        m_records.pop_front();
    // A modifier's event says by its flags whether the key went down.
    const bool down = event.type == KeyEvent::Type::flagsChanged
                          ? (event.flags & KeyCodeMap::modifierSideFlag(uint16_t(event.keyCode))) != 0
                          : event.type == KeyEvent::Type::keyDown;
    const auto matches = [&](const Record& r) { return r.keyCode == event.keyCode && r.down == down; };
    for (const Record& record : m_records) {
        if (record.seenAt == event.time && matches(record))
            return true;
    }
    for (Record& record : m_records) {
        if (!record.seenAt && matches(record)) {
            record.seenAt = event.time;
            return true;
        }
    }
    return false;
}

} // namespace quillon::platform::linux_
