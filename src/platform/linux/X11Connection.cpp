#include "platform/linux/X11Connection.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdlib>

namespace quillon::platform::linux_ {

std::unique_ptr<X11Connection> X11Connection::open(bool dispatchEvents)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* conn = xcb_connect(nullptr, &screenNumber);
    if (!conn || xcb_connection_has_error(conn)) {
        if (conn)
            xcb_disconnect(conn);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.data) {
        xcb_disconnect(conn);
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(conn, it.data, screenNumber, dispatchEvents));
}

X11Connection::X11Connection(xcb_connection_t* conn, xcb_screen_t* screen, int screenNumber,
                             bool dispatchEvents)
    : m_conn(conn)
    , m_screen(screen)
    , m_screenNumber(screenNumber)
{
    if (!dispatchEvents)
        return;
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(conn), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { dispatchPending(); });
    // A connection first needed by background work (the window census) still
    // reads its events where every handler lives.
    if (auto* app = QCoreApplication::instance(); app && thread() != app->thread())
        moveToThread(app->thread());
}

X11Connection::~X11Connection()
{
    delete m_notifier;
    xcb_disconnect(m_conn);
}

bool X11Connection::isAlive() const { return xcb_connection_has_error(m_conn) == 0; }

xcb_atom_t X11Connection::atom(const char* name)
{
    const QByteArray key(name);
    {
        std::lock_guard lock(m_atomsLock);
        auto it = m_atoms.constFind(key);
        if (it != m_atoms.constEnd())
            return *it;
    }
    auto cookie = xcb_intern_atom(m_conn, 0, uint16_t(key.size()), key.constData());
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_conn, cookie, nullptr));
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::lock_guard lock(m_atomsLock);
    if (atom != XCB_ATOM_NONE)
        m_atoms.insert(key, atom);
    return atom;
}

void X11Connection::internAtoms(std::initializer_list<const char*> names)
{
    internAtoms(std::vector<const char*>(names));
}

void X11Connection::internAtoms(const std::vector<const char*>& names)
{
    std::vector<std::pair<QByteArray, xcb_intern_atom_cookie_t>> cookies;
    {
        std::lock_guard lock(m_atomsLock);
        for (const char* name : names) {
            const QByteArray key(name);
            if (!m_atoms.contains(key))
                cookies.emplace_back(key, xcb_intern_atom(m_conn, 0, uint16_t(key.size()), key.constData()));
        }
    }
    std::lock_guard lock(m_atomsLock);
    for (auto& [key, cookie] : cookies) {
        XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_conn, cookie, nullptr));
        if (reply && reply->atom != XCB_ATOM_NONE)
            m_atoms.insert(key, reply->atom);
    }
}

void X11Connection::selectEvents(xcb_window_t window, uint32_t mask)
{
    xcb_change_window_attributes(m_conn, window, XCB_CW_EVENT_MASK, &mask);
    flush();
}

int X11Connection::addEventHandler(std::function<void(const xcb_generic_event_t*)> handler)
{
    const int token = ++m_lastToken;
    m_handlers.emplace(token, std::move(handler));
    return token;
}

void X11Connection::removeEventHandler(int token) { m_handlers.erase(token); }

void X11Connection::flush()
{
    xcb_flush(m_conn);
    if (m_notifier && !m_dispatchQueued.exchange(true)) {
        QMetaObject::invokeMethod(this, [this] {
            m_dispatchQueued = false;
            dispatchPending();
        }, Qt::QueuedConnection);
    }
}

void X11Connection::dispatchPending()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_conn)) {
        const auto snapshot = m_handlers;
        for (const auto& [token, handler] : snapshot) {
            if (m_handlers.count(token))
                handler(event);
        }
        std::free(event);
    }
    // A closed connection stays readable forever: stop listening, then tell.
    if (!m_lost && xcb_connection_has_error(m_conn)) {
        m_lost = true;
        if (m_notifier)
            m_notifier->setEnabled(false);
        if (m_onLost)
            m_onLost();
    }
}

} // namespace quillon::platform::linux_
