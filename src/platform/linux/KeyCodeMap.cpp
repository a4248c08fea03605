#include "platform/linux/KeyCodeMap.h"

#include "support/Log.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <linux/input-event-codes.h>
#include <mutex>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace quillon::platform::linux_ {

namespace {

constexpr int evdevOffset = 8;
constexpr uint16_t none = 0xFFFF;

// Virtual key codes by evdev code. Ctrl is Command, Alt is Option, Super is
// Control; Insert sits where the Help key is.
struct Pair {
    int evdev;
    uint16_t virtualKey;
};
constexpr Pair pairs[] = {
    {KEY_A, 0},           {KEY_S, 1},          {KEY_D, 2},           {KEY_F, 3},
    {KEY_H, 4},           {KEY_G, 5},          {KEY_Z, 6},           {KEY_X, 7},
    {KEY_C, 8},           {KEY_V, 9},          {KEY_102ND, 10},      {KEY_B, 11},
    {KEY_Q, 12},          {KEY_W, 13},         {KEY_E, 14},          {KEY_R, 15},
    {KEY_Y, 16},          {KEY_T, 17},         {KEY_1, 18},          {KEY_2, 19},
    {KEY_3, 20},          {KEY_4, 21},         {KEY_6, 22},          {KEY_5, 23},
    {KEY_EQUAL, 24},      {KEY_9, 25},         {KEY_7, 26},          {KEY_MINUS, 27},
    {KEY_8, 28},          {KEY_0, 29},         {KEY_RIGHTBRACE, 30}, {KEY_O, 31},
    {KEY_U, 32},          {KEY_LEFTBRACE, 33}, {KEY_I, 34},          {KEY_P, 35},
    {KEY_ENTER, 36},      {KEY_L, 37},         {KEY_J, 38},          {KEY_APOSTROPHE, 39},
    {KEY_K, 40},          {KEY_SEMICOLON, 41}, {KEY_BACKSLASH, 42},  {KEY_COMMA, 43},
    {KEY_SLASH, 44},      {KEY_N, 45},         {KEY_M, 46},          {KEY_DOT, 47},
    {KEY_TAB, 48},        {KEY_SPACE, 49},     {KEY_GRAVE, 50},      {KEY_BACKSPACE, 51},
    {KEY_ESC, 53},        {KEY_RIGHTCTRL, 54}, {KEY_LEFTCTRL, 55},   {KEY_LEFTSHIFT, 56},
    {KEY_CAPSLOCK, 57},   {KEY_LEFTALT, 58},   {KEY_LEFTMETA, 59},   {KEY_RIGHTSHIFT, 60},
    {KEY_RIGHTALT, 61},   {KEY_RIGHTMETA, 62}, {KEY_F17, 64},        {KEY_KPDOT, 65},
    {KEY_KPASTERISK, 67}, {KEY_KPPLUS, 69},    {KEY_NUMLOCK, 71},    {KEY_VOLUMEUP, 72},
    {KEY_VOLUMEDOWN, 73}, {KEY_MUTE, 74},      {KEY_KPSLASH, 75},    {KEY_KPENTER, 76},
    {KEY_KPMINUS, 78},    {KEY_F18, 79},       {KEY_F19, 80},        {KEY_KPEQUAL, 81},
    {KEY_KP0, 82},        {KEY_KP1, 83},       {KEY_KP2, 84},        {KEY_KP3, 85},
    {KEY_KP4, 86},        {KEY_KP5, 87},       {KEY_KP6, 88},        {KEY_KP7, 89},
    {KEY_F20, 90},        {KEY_KP8, 91},       {KEY_KP9, 92},        {KEY_YEN, 93},
    {KEY_RO, 94},         {KEY_KPCOMMA, 95},   {KEY_F5, 96},         {KEY_F6, 97},
    {KEY_F7, 98},         {KEY_F3, 99},        {KEY_F8, 100},        {KEY_F9, 101},
    {KEY_MUHENKAN, 102},  {KEY_F11, 103},      {KEY_HENKAN, 104},    {KEY_F13, 105},
    {KEY_F16, 106},       {KEY_F14, 107},      {KEY_F10, 109},       {KEY_COMPOSE, 110},
    {KEY_F12, 111},       {KEY_F15, 113},      {KEY_INSERT, 114},    {KEY_HOME, 115},
    {KEY_PAGEUP, 116},    {KEY_DELETE, 117},   {KEY_F4, 118},        {KEY_END, 119},
    {KEY_F2, 120},        {KEY_PAGEDOWN, 121}, {KEY_F1, 122},        {KEY_LEFT, 123},
    {KEY_RIGHT, 124},     {KEY_DOWN, 125},     {KEY_UP, 126},
};

struct Tables {
    std::array<uint16_t, 256> byX{};
    std::array<uint8_t, 128> byVirtual{};
    constexpr Tables()
    {
        for (auto& v : byX)
            v = none;
    }
    void set(int xKey, uint16_t virtualKey)
    {
        byX[size_t(xKey)] = virtualKey;
        byVirtual[virtualKey] = uint8_t(xKey);
    }
};

constexpr Tables evdevTables()
{
    Tables t;
    for (const Pair& p : pairs) {
        t.byX[size_t(p.evdev + evdevOffset)] = p.virtualKey;
        t.byVirtual[p.virtualKey] = uint8_t(p.evdev + evdevOffset);
    }
    return t;
}
constexpr Tables evdev = evdevTables();

// The tables in use: evdev's until the server's key names have been read.
// Tables are never freed (a keymap changes a handful of times a session), so
// a reader on another thread never holds a stale pointer.
std::atomic<const Tables*> current{&evdev};
std::mutex derivedLock;
std::deque<Tables> derived;

const Tables& tables()
{
    return *current.load(std::memory_order_acquire);
}

// The flags each modifier key contributes: its side's device bit and the mask.
constexpr EventFlags modifierFlags(uint16_t virtualKey)
{
    switch (virtualKey) {
    case 54:
        return KeyFlags::rightCommand | KeyFlags::command;
    case 55:
        return KeyFlags::leftCommand | KeyFlags::command;
    case 56:
        return KeyFlags::leftShift | KeyFlags::shift;
    case 60:
        return KeyFlags::rightShift | KeyFlags::shift;
    case 58:
        return KeyFlags::leftOption | KeyFlags::option;
    case 61:
        return KeyFlags::rightOption | KeyFlags::option;
    case 59:
        return KeyFlags::leftControl | KeyFlags::control;
    case 62:
        return KeyFlags::rightControl | KeyFlags::control;
    default:
        return 0;
    }
}

constexpr uint16_t modifierKeys[] = {54, 55, 56, 58, 59, 60, 61, 62};

} // namespace

std::optional<uint16_t> KeyCodeMap::virtualKey(uint8_t xKeyCode)
{
    const uint16_t v = tables().byX[xKeyCode];
    if (v == none)
        return std::nullopt;
    return v;
}

std::optional<uint8_t> KeyCodeMap::xKeyCode(uint16_t virtualKey)
{
    if (virtualKey >= tables().byVirtual.size() || tables().byVirtual[virtualKey] == 0)
        return std::nullopt;
    return tables().byVirtual[virtualKey];
}

EventFlags KeyCodeMap::modifierSideFlag(uint16_t virtualKey)
{
    const EventFlags masks = KeyFlags::command | KeyFlags::shift | KeyFlags::option | KeyFlags::control;
    return modifierFlags(virtualKey) & ~masks;
}

std::optional<std::array<uint16_t, 256>> KeyCodeMap::byName(xkb_keymap* keymap)
{
    // The evdev key codes of the XKB key names (<AC01> is the A position, …),
    // from the evdev keycodes the XKB data defines, aliases resolved.
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!context)
        return std::nullopt;
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    xkb_keymap* reference = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_context_unref(context);
    if (!reference)
        return std::nullopt;
    std::array<uint16_t, 256> byX;
    byX.fill(none);
    bool any = false;
    const xkb_keycode_t last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(keymap), 255);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= last; ++key) {
        const char* name = xkb_keymap_key_get_name(keymap, key);
        if (!name || !*name)
            continue;
        const xkb_keycode_t evdevKey = xkb_keymap_key_by_name(reference, name);
        if (evdevKey == XKB_KEYCODE_INVALID || evdevKey > 255)
            continue;
        byX[key] = evdev.byX[evdevKey];
        any = any || byX[key] != none;
    }
    xkb_keymap_unref(reference);
    if (!any)
        return std::nullopt;
    return byX;
}

bool KeyCodeMap::load(xcb_connection_t* c)
{
    std::optional<std::array<uint16_t, 256>> byX;
    if (xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                    nullptr)) {
        const int32_t device = xkb_x11_get_core_keyboard_device_id(c);
        xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        xkb_keymap* keymap =
            device >= 0 && context
                ? xkb_x11_keymap_new_from_device(context, c, device, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr;
        if (keymap) {
            byX = byName(keymap);
            xkb_keymap_unref(keymap);
        }
        if (context)
            xkb_context_unref(context);
    }
    std::lock_guard lock(derivedLock);
    if (!byX) {
        static bool told = false;
        if (!told)
            Log::error(
                QStringLiteral("Keys: the X server gives no XKB key names; key codes are taken as evdev's"));
        told = true;
        current.store(&evdev, std::memory_order_release);
        return false;
    }
    Tables& t = derived.emplace_back();
    for (size_t x = 0; x < byX->size(); ++x) {
        if ((*byX)[x] != none && !t.byVirtual[(*byX)[x]])
            t.set(int(x), (*byX)[x]);
    }
    current.store(&t, std::memory_order_release);
    return true;
}

void KeyCodeMap::loadOnce(xcb_connection_t* c)
{
    static std::once_flag once;
    std::call_once(once, [c] { load(c); });
}

std::optional<KeyEvent> KeyStream::handle(uint8_t xKeyCode, bool isPress)
{
    const bool wasDown = m_down.test(xKeyCode);
    m_down.set(xKeyCode, isPress);
    const uint16_t v = tables().byX[xKeyCode];
    if (v == none)
        return std::nullopt;
    if (modifierFlags(v)) {
        if (wasDown == isPress)
            return std::nullopt;
        m_flags = heldModifierFlags();
        return KeyEvent{KeyEvent::Type::flagsChanged, v, m_flags, false};
    }
    return KeyEvent{isPress ? KeyEvent::Type::keyDown : KeyEvent::Type::keyUp, v, m_flags,
                    isPress && wasDown};
}

void KeyStream::seed(const uint8_t keys[32])
{
    for (size_t code = 0; code < 256; ++code)
        m_down.set(code, (keys[code / 8] >> (code % 8)) & 1);
    m_flags = heldModifierFlags();
}

// Recounted from the keys held, so releasing one Ctrl keeps the Command mask
// while the other Ctrl is still down.
EventFlags KeyStream::heldModifierFlags() const
{
    EventFlags flags = 0;
    for (const uint16_t v : modifierKeys) {
        if (m_down.test(tables().byVirtual[v]))
            flags |= modifierFlags(v);
    }
    return flags;
}

} // namespace quillon::platform::linux_
