#include "platform/linux/X11InputAccess.h"

namespace quillon::platform::linux_ {

namespace {
constexpr xcb_window_t pointerRoot = 1;
}

bool X11InputAccess::secureInputActive()
{
    if (m_ownGrab && m_ownGrab())
        return false;
    if (!m_x)
        m_x = X11Connection::open();
    if (!m_x)
        return false;
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_window_t window = focus ? focus->focus : XCB_NONE;
    if (window == XCB_NONE || window == pointerRoot)
        window = m_x->root();

    const auto grab = [&](xcb_window_t on) -> uint8_t {
        XcbReply<xcb_grab_keyboard_reply_t> reply(xcb_grab_keyboard_reply(
            c, xcb_grab_keyboard(c, 0, on, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC), nullptr));
        return reply ? reply->status : uint8_t(XCB_GRAB_STATUS_INVALID_TIME);
    };
    uint8_t status = grab(window);
    // The focus may sit on a window that is not mapped (yet): ask on the root.
    if (status == XCB_GRAB_STATUS_NOT_VIEWABLE && window != m_x->root())
        status = grab(m_x->root());
    if (status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        m_x->flush();
    }
    return status == XCB_GRAB_STATUS_ALREADY_GRABBED || status == XCB_GRAB_STATUS_FROZEN;
}

} // namespace quillon::platform::linux_
