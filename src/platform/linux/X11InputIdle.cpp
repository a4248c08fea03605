#include "platform/linux/X11InputIdle.h"

#include "platform/Platform.h"
#include "platform/linux/X11Connection.h"

#include <algorithm>
#include <xcb/screensaver.h>

namespace quillon::platform::linux_ {

X11InputIdle::X11InputIdle() = default;

X11InputIdle::~X11InputIdle()
{
    listen(false);
}

// One round trip, asked at a break decision only.
double X11InputIdle::secondsSinceInput()
{
    if (!m_x || !m_x->isAlive())
        m_x = X11Connection::open();
    if (!m_x)
        return 0;
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_screensaver_query_info_reply_t> info(
        xcb_screensaver_query_info_reply(c, xcb_screensaver_query_info(c, m_x->root()), nullptr));
    return info ? info->ms_since_user_input / 1000.0 : 0;
}

double X11InputIdle::secondsSinceKeyDown()
{
    if (!m_listener)
        return 0;
    return std::max(0.0, platform().clock().uptime() - m_lastKeyDown);
}

void X11InputIdle::listen(bool on)
{
    if (!hasPlatform())
        return;
    auto& keys = platform().keyEvents();
    if (on && !m_listener) {
        m_lastKeyDown = platform().clock().uptime();
        m_listener = keys.addListener([this](const KeyEvent& event) {
            if (event.type == KeyEvent::Type::keyDown)
                m_lastKeyDown = platform().clock().uptime();
        });
    } else if (!on && m_listener) {
        keys.removeListener(*m_listener);
        m_listener.reset();
    }
}

} // namespace quillon::platform::linux_
