#include "platform/linux/XkbKeyCharacters.h"

#include "platform/linux/KeyCodeMap.h"

// xkb.h names a structure field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace quillon::platform::linux_ {

namespace {

// The modifier keys that change a key's text: Shift, and Alt where the layout
// makes one a level-three shift. Command (Ctrl) and Control (Super) type the
// key's own text, as the system's shortcuts expect.
struct TextKey {
    EventFlags mask;
    EventFlags leftBit;
    EventFlags rightBit;
    uint16_t leftKey;
    uint16_t rightKey;
};
constexpr TextKey textKeys[] = {
    {KeyFlags::shift, KeyFlags::leftShift, KeyFlags::rightShift, 56, 60},
    {KeyFlags::option, KeyFlags::leftOption, KeyFlags::rightOption, 58, 61},
};

} // namespace

XkbKeyCharacters::~XkbKeyCharacters()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

bool XkbKeyCharacters::connect()
{
    if (m_x)
        return m_device >= 0;
    m_x = X11Connection::open();
    if (!m_x)
        return false;
    xcb_connection_t* c = m_x->get();
    if (!xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &m_eventBase,
                                     nullptr))
        return false;
    m_device = xkb_x11_get_core_keyboard_device_id(c);
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (m_device < 0 || !m_context) {
        m_device = -1;
        return false;
    }
    // A new layout (setxkbmap, a layout switch applet) makes the cached keymap stale.
    const uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    const uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                              XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                              XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                              XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    xcb_xkb_select_events_aux(c, xcb_xkb_device_spec_t(m_device), events, 0, 0, mapParts, mapParts, &details);
    m_x->addEventHandler([this](const xcb_generic_event_t* event) {
        if (event->response_type == m_eventBase && m_keymap) {
            xkb_keymap_unref(m_keymap);
            m_keymap = nullptr;
        }
    });
    m_x->flush();
    return true;
}

xkb_keymap* XkbKeyCharacters::keymap()
{
    // Events that arrived since the last call may say the keymap changed.
    m_x->dispatchPending();
    if (!m_keymap)
        m_keymap =
            xkb_x11_keymap_new_from_device(m_context, m_x->get(), m_device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    return m_keymap;
}

QString XkbKeyCharacters::characters(uint16_t keyCode, EventFlags flags)
{
    const auto xKey = KeyCodeMap::xKeyCode(keyCode);
    if (!xKey || !connect() || !keymap())
        return {};
    // Caps Lock, NumLock and the layout group as they are now; the modifier
    // keys as the flags say.
    xkb_state* live = xkb_x11_state_new_from_device(m_keymap, m_x->get(), m_device);
    xkb_state* state = xkb_state_new(m_keymap);
    if (!live || !state) {
        xkb_state_unref(live);
        xkb_state_unref(state);
        return {};
    }
    xkb_state_update_mask(state, 0, 0, xkb_state_serialize_mods(live, XKB_STATE_MODS_LOCKED), 0, 0,
                          xkb_state_serialize_layout(live, XKB_STATE_LAYOUT_LOCKED));
    xkb_state_unref(live);
    for (const TextKey& key : textKeys) {
        if (!(flags & key.mask))
            continue;
        const bool right = (flags & key.rightBit) && !(flags & key.leftBit);
        if (const auto x = KeyCodeMap::xKeyCode(right ? key.rightKey : key.leftKey))
            xkb_state_update_key(state, *x, XKB_KEY_DOWN);
    }
    char text[64] = {};
    xkb_state_key_get_utf8(state, *xKey, text, sizeof text);
    xkb_state_unref(state);
    return QString::fromUtf8(text).left(maxUnits);
}

} // namespace quillon::platform::linux_
