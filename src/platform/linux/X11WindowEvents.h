#pragma once

#include "platform/WindowEvents.h"
#include "platform/linux/Ewmh.h"

#include <QHash>
#include <QSet>
#include <map>
#include <memory>

namespace quillon::platform::linux_ {

/// Window events from the root's property changes (the client list and the
/// active window) and from the observed clients' own properties (title and
/// state). Main thread.
class X11WindowEvents final : public WindowEvents {
public:
    /// Works without an X server too: nothing can then be observed.
    explicit X11WindowEvents(std::unique_ptr<X11Connection> connection);
    ~X11WindowEvents() override;

    std::optional<int> observe(int32_t pid, Handler handler) override;
    RegistrationStatus add(int observer, WindowNotification notification, WindowId target) override;
    void remove(int observer) override;

private:
    struct Observer {
        int32_t pid = 0;
        Handler handler;
        QSet<QPair<int, WindowId>> registrations;
    };
    struct Client {
        std::optional<int32_t> pid;
        bool minimized = false;
        std::optional<QString> title;
    };

    void start();
    void handle(const xcb_generic_event_t* event);
    void clientsChanged();
    void activeChanged();
    void clientPropertyChanged(WindowId window, xcb_atom_t atom);
    void watchClient(WindowId window);
    /// Tells every observer of `pid` registered for `notification` on the
    /// application, or on `window` itself.
    void notify(int32_t pid, WindowNotification notification, WindowId window);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    int m_eventToken = 0;
    bool m_started = false;
    std::map<int, Observer> m_observers;
    int m_lastObserver = 0;
    QHash<WindowId, Client> m_clients;
    WindowId m_active = XCB_WINDOW_NONE;
};

} // namespace quillon::platform::linux_
