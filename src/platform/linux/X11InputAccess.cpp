#include "platform/linux/X11InputAccess.h"

#include <cstdlib>

namespace quillon::platform::linux_ {

bool X11InputAccess::connect()
{
    if (m_x)
        return m_x->isAlive();
    auto x = X11Connection::open();
    if (!x)
        return false;
    // The server's clock, read from the time stamp of a property change on a
    // window of our own that is never shown.
    xcb_connection_t* c = x->get();
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, window, x->root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    bool found = false;
    while (!found) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (!event)
            return false;
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            m_serverTime = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            m_readAt = std::chrono::steady_clock::now();
            found = true;
        }
        std::free(event);
    }
    xcb_destroy_window(c, window);
    xcb_flush(c);
    m_x = std::move(x);
    return true;
}

uint32_t X11InputAccess::futureTime() const
{
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_readAt);
    return uint32_t(m_serverTime + uint32_t(elapsed.count()) + (1u << 30));
}

bool X11InputAccess::secureInputActive()
{
    if (m_ownGrab && m_ownGrab())
        return false;
    if (!connect())
        return false;
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_grab_keyboard_reply_t> reply(xcb_grab_keyboard_reply(
        c, xcb_grab_keyboard(c, 0, m_x->root(), futureTime(), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr));
    if (!reply)
        return false;
    // Should the server's clock ever be misread, a grab we got is let go at once.
    if (reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    return reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED || reply->status == XCB_GRAB_STATUS_FROZEN;
}

} // namespace quillon::platform::linux_
