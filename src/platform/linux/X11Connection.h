#pragma once

#include <QObject>
#include <atomic>
#include <QHash>
#include <QByteArray>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <xcb/xcb.h>

class QSocketNotifier;

namespace quillon::platform::linux_ {

/// One connection of our own to the X server, read through a socket notifier
/// on the main thread (nothing is polled). Facilities that need events of
/// their own (raw input, window changes) each open one, so their event masks
/// and grabs never disturb Qt's connection or one another.
///
/// Requests, replies and atoms may be used from any thread (xcb serialises
/// them); events are always dispatched on the main thread, also for a
/// connection opened on another one.
class X11Connection final : public QObject {
public:
    /// Connects to $DISPLAY; none when there is no X server. Without
    /// `dispatchEvents` nothing reads its events but the caller, who may do
    /// so on a thread of its own.
    static std::unique_ptr<X11Connection> open(bool dispatchEvents = true);
    ~X11Connection() override;

    xcb_connection_t* get() const { return m_conn; }
    xcb_screen_t* screen() const { return m_screen; }
    xcb_window_t root() const { return m_screen->root; }
    /// The number of the X screen in use (the N of ":0.N").
    int screenNumber() const { return m_screenNumber; }
    /// False once the server has closed the connection.
    bool isAlive() const;

    /// The atom of a name, interned once and cached.
    xcb_atom_t atom(const char* name);
    /// Interns several atoms in one round trip.
    void internAtoms(std::initializer_list<const char*> names);
    void internAtoms(const std::vector<const char*>& names);

    /// Sets this connection's event mask on a window (another client's
    /// selections on it are untouched) and sends the request.
    void selectEvents(xcb_window_t window, uint32_t mask);

    /// Handlers see every event and error of this connection, in order.
    int addEventHandler(std::function<void(const xcb_generic_event_t*)> handler);
    void removeEventHandler(int token);

    /// Sends queued requests, then reads events that may already have arrived:
    /// a reply wait can pull events into xcb's queue without the socket ever
    /// becoming readable again.
    void flush();
    /// Handles every event in xcb's queue now.
    void dispatchPending();

    /// Called once, from the event dispatch, when the server closes the
    /// connection. The connection may be deleted later, not inside the call.
    void setOnLost(std::function<void()> onLost) { m_onLost = std::move(onLost); }

private:
    X11Connection(xcb_connection_t* conn, xcb_screen_t* screen, int screenNumber, bool dispatchEvents);

    xcb_connection_t* m_conn = nullptr;
    xcb_screen_t* m_screen = nullptr;
    int m_screenNumber = 0;
    QSocketNotifier* m_notifier = nullptr;
    std::mutex m_atomsLock;
    QHash<QByteArray, xcb_atom_t> m_atoms;
    std::map<int, std::function<void(const xcb_generic_event_t*)>> m_handlers;
    int m_lastToken = 0;
    std::atomic<bool> m_dispatchQueued{false};
    std::function<void()> m_onLost;
    bool m_lost = false;
};

/// A reply of xcb, freed with free().
template <typename T>
struct XcbFree {
    void operator()(T* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree<T>>;

} // namespace quillon::platform::linux_
