#include "platform/linux/X11HotKeys.h"

#include "platform/linux/KeyCodeMap.h"

#include <cstdlib>
// xkb.h names a structure field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace quillon::platform::linux_ {

namespace {

uint16_t xModifiers(uint32_t modifiers)
{
    uint16_t mask = 0;
    if (modifiers & HotKeyModifiers::cmdKey)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & HotKeyModifiers::shiftKey)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & HotKeyModifiers::optionKey)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & HotKeyModifiers::controlKey)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

} // namespace

X11HotKeys::~X11HotKeys()
{
    for (const auto& [ref, grab] : m_grabs)
        ungrab(grab);
    if (m_x)
        xcb_flush(m_x->get());
}

bool X11HotKeys::connect()
{
    if (m_x)
        return true;
    m_x = X11Connection::open();
    if (!m_x)
        return false;
    xcb_connection_t* c = m_x->get();
    // With detectable auto-repeat a held key sends presses without releases in
    // between, so one press of a hot key runs its action once.
    XcbReply<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (xkb && xkb->supported) {
        free(xcb_xkb_per_client_flags_reply(
            c,
            xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD,
                                     XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                     XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0),
            nullptr));
    }
    m_modifiers = ModifierMap::load(c).value_or(ModifierMap());
    m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
    return true;
}

std::optional<int> X11HotKeys::installHandler(std::function<void(HotKeyId)> handler)
{
    return m_handlers.add(std::move(handler));
}

HotKeys::Registration X11HotKeys::registerKey(uint32_t keyCode, uint32_t modifiers, HotKeyId id)
{
    if (!connect())
        return {statusUnavailable, std::nullopt};
    const auto xKey = keyCode <= 0xFFFF ? KeyCodeMap::xKeyCode(uint16_t(keyCode)) : std::nullopt;
    if (!xKey)
        return {statusNoSuchKey, std::nullopt};
    const Grab grab{*xKey, xModifiers(modifiers), id};
    // One grab of a combination per client: a second registration of ours
    // would silently share it.
    for (const auto& [ref, existing] : m_grabs) {
        if (existing.keyCode == grab.keyCode && existing.modifiers == grab.modifiers)
            return {statusTaken, std::nullopt};
    }

    xcb_connection_t* c = m_x->get();
    std::vector<xcb_void_cookie_t> cookies;
    for (const uint16_t variant : m_modifiers.lockVariants(grab.modifiers)) {
        cookies.push_back(xcb_grab_key_checked(c, 0, m_x->root(), variant, grab.keyCode, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC));
    }
    int status = 0;
    for (const auto& cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            if (status == 0)
                status = error->error_code;
            free(error);
        }
    }
    // Reply waits may have pulled events in without the socket waking us.
    m_x->flush();
    if (status != 0) {
        // Give back the variants that did succeed: the hot key is all or nothing.
        ungrab(grab);
        m_x->flush();
        return {status, std::nullopt};
    }
    const int ref = ++m_lastRef;
    m_grabs.emplace(ref, grab);
    return {0, ref};
}

void X11HotKeys::unregisterKey(int ref)
{
    const auto it = m_grabs.find(ref);
    if (it == m_grabs.end())
        return;
    ungrab(it->second);
    m_down.reset(it->second.keyCode);
    m_grabs.erase(it);
    m_x->flush();
}

void X11HotKeys::ungrab(const Grab& grab)
{
    for (const uint16_t variant : m_modifiers.lockVariants(grab.modifiers))
        xcb_ungrab_key(m_x->get(), grab.keyCode, m_x->root(), variant);
}

void X11HotKeys::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return;
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (type == XCB_KEY_RELEASE) {
        m_down.reset(key->detail);
        return;
    }
    if (m_down.test(key->detail))
        return;
    m_down.set(key->detail);
    const uint16_t held = key->state & ~m_modifiers.lockBits();
    for (const auto& [ref, grab] : m_grabs) {
        if (grab.keyCode == key->detail && grab.modifiers == (held & 0xff)) {
            m_handlers.notify(grab.id);
            return;
        }
    }
}

} // namespace quillon::platform::linux_
