#include "platform/linux/X11Permissions.h"

#include "platform/linux/X11Connection.h"
#include "support/Log.h"

#include <xcb/xinput.h>
#include <xcb/xtest.h>

namespace quillon::platform::linux_ {

namespace {

bool waylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive)
               == 0
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool hasXInput22(xcb_connection_t* conn)
{
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xcb_input_id);
    if (!ext || !ext->present)
        return false;
    XcbReply<xcb_input_xi_query_version_reply_t> reply(
        xcb_input_xi_query_version_reply(conn, xcb_input_xi_query_version(conn, 2, 2), nullptr));
    return reply && (reply->major_version > 2 || (reply->major_version == 2 && reply->minor_version >= 2));
}

bool hasXTest(xcb_connection_t* conn)
{
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xcb_test_id);
    if (!ext || !ext->present)
        return false;
    XcbReply<xcb_test_get_version_reply_t> reply(
        xcb_test_get_version_reply(conn, xcb_test_get_version(conn, 2, 2), nullptr));
    return reply != nullptr;
}

} // namespace

X11Permissions::X11Permissions(double retrySeconds)
{
    m_retry.setInterval(int(retrySeconds * 1000));
    QObject::connect(&m_retry, &QTimer::timeout, [this] { update(); });
}

X11Permissions::~X11Permissions() = default;

X11Permissions::Answer X11Permissions::probe()
{
    if (waylandSession())
        return {false, false, false, QStringLiteral("Wayland session: X11 clients see only other X11 clients")};
    if (!m_connection || !m_connection->isAlive()) {
        if (m_connection)
            m_connection.release()->deleteLater(); // may be inside its own event dispatch
        m_connection = X11Connection::open();
        if (!m_connection)
            return {false, false, false, QStringLiteral("no X11 session")};
        m_connection->setOnLost([this] { onConnectionLost(); });
    }
    xcb_connection_t* conn = m_connection->get();
    if (!hasXTest(conn))
        return {true, false, false, QStringLiteral("the X server has no XTest extension")};
    if (!hasXInput22(conn))
        return {true, false, true, QStringLiteral("the X server has no XInput 2.2")};
    return {true, true, true, QString()};
}

// Takes the answer again; announces a change of trust, and logs why whenever
// the answer changes.
void X11Permissions::update()
{
    const Answer answer = probe();
    const bool first = !m_answer;
    const bool changed = first || m_answer->trusted != answer.trusted || m_answer->xtest != answer.xtest
                         || m_answer->reason != answer.reason;
    const bool trustChanged = !first && m_answer->trusted != answer.trusted;
    m_answer = answer;

    // Only a lost or missing X server can come back; a Wayland session stays one.
    const bool canReturn = !answer.x11Session && !waylandSession() && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (canReturn && !m_retry.isActive())
        m_retry.start();
    else if (!canReturn)
        m_retry.stop();

    if (changed) {
        if (answer.trusted) {
            Log::debug("Accessibility available: X11 session with XTest and XInput 2.2");
        } else {
            const QString line = QStringLiteral("Accessibility unavailable: ") + answer.reason;
            Log::debug([&] { return line; });
            Log::error(line);
        }
    }
    if (trustChanged)
        m_handlers.notify();
}

void X11Permissions::onConnectionLost() { update(); }

bool X11Permissions::accessibilityTrusted()
{
    if (!m_answer)
        update();
    return m_answer->trusted;
}

bool X11Permissions::postEventsAllowed()
{
    if (!m_answer)
        update();
    return m_answer->xtest;
}

bool X11Permissions::screenCaptureAllowed()
{
    if (!m_answer)
        update();
    return m_answer->x11Session;
}

} // namespace quillon::platform::linux_
