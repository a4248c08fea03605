#include "platform/linux/X11WindowEvents.h"

namespace quillon::platform::linux_ {

X11WindowEvents::X11WindowEvents(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    if (m_x)
        m_ewmh = std::make_unique<Ewmh>(*m_x);
}

X11WindowEvents::~X11WindowEvents()
{
    if (m_x)
        m_x->removeEventHandler(m_eventToken);
}

std::optional<int> X11WindowEvents::observe(int32_t pid, Handler handler)
{
    if (!m_x || !m_x->isAlive() || pid <= 0 || !handler)
        return std::nullopt;
    start();
    const int token = ++m_lastObserver;
    m_observers[token] = Observer{pid, std::move(handler), {}};
    return token;
}

RegistrationStatus X11WindowEvents::add(int observer, WindowNotification notification, WindowId target)
{
    auto it = m_observers.find(observer);
    if (it == m_observers.end())
        return RegistrationStatus::invalidElement;
    if (target != application) {
        const auto client = m_clients.constFind(target);
        if (client == m_clients.constEnd() || client->pid != it->second.pid)
            return RegistrationStatus::invalidElement;
    }
    const QPair<int, WindowId> key(int(notification), target);
    if (it->second.registrations.contains(key))
        return RegistrationStatus::alreadyRegistered;
    it->second.registrations.insert(key);
    return RegistrationStatus::success;
}

void X11WindowEvents::remove(int observer) { m_observers.erase(observer); }

// Listening starts with the first observer, so a process that never observes
// windows pays for no events.
void X11WindowEvents::start()
{
    if (m_eventToken)
        return;
    m_eventToken = m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
    m_x->selectEvents(m_x->root(), XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    m_x->internAtoms({"_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW", "_NET_WM_NAME", "_NET_WM_STATE",
                      "_NET_WM_STATE_HIDDEN"});
    clientsChanged(); // the windows there already are no news
    m_active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW").value_or(XCB_WINDOW_NONE);
    m_started = true;
}

void X11WindowEvents::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (e->window == m_x->root()) {
            if (e->atom == m_x->atom("_NET_CLIENT_LIST"))
                clientsChanged();
            else if (e->atom == m_x->atom("_NET_ACTIVE_WINDOW"))
                activeChanged();
        } else if (m_clients.contains(e->window)) {
            clientPropertyChanged(e->window, e->atom);
        }
    } else if (type == XCB_DESTROY_NOTIFY) {
        // A client that dies before the window manager updates its list.
        const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (m_clients.contains(e->window))
            clientsChanged();
    }
}

void X11WindowEvents::clientsChanged()
{
    const auto list = m_ewmh->clientList(false).value_or(std::vector<xcb_window_t>{});
    std::vector<xcb_window_t> added;
    QSet<WindowId> present;
    for (const xcb_window_t window : list) {
        present.insert(window);
        if (!m_clients.contains(window))
            added.push_back(window);
    }
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if (present.contains(it.key())) {
            ++it;
            continue;
        }
        const WindowId gone = it.key();
        const auto pid = it->pid;
        it = m_clients.erase(it);
        if (pid)
            notify(*pid, WindowNotification::elementDestroyed, gone);
    }
    if (added.empty())
        return;
    const auto infos = m_ewmh->clients(added, ClientInfo::Pid | ClientInfo::State | ClientInfo::Title);
    const xcb_atom_t hidden = m_x->atom("_NET_WM_STATE_HIDDEN");
    for (const ClientInfo& info : infos) {
        m_clients.insert(info.window, Client{info.pid, info.hasState(hidden), info.title});
        watchClient(info.window);
    }
    if (!m_started)
        return;
    for (const ClientInfo& info : infos) {
        if (info.pid)
            notify(*info.pid, WindowNotification::windowCreated, info.window);
    }
}

void X11WindowEvents::watchClient(WindowId window)
{
    // Our own mask on another client's window: the client's own selection
    // is kept by the server per connection.
    m_x->selectEvents(window, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

void X11WindowEvents::activeChanged()
{
    const WindowId previous = m_active;
    m_active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW").value_or(XCB_WINDOW_NONE);
    if (m_active == previous)
        return;
    QSet<int32_t> pids;
    for (const WindowId window : {previous, m_active}) {
        if (const auto it = m_clients.constFind(window); it != m_clients.constEnd() && it->pid)
            pids.insert(*it->pid);
    }
    for (const int32_t pid : pids) {
        notify(pid, WindowNotification::focusedWindowChanged, m_active);
        notify(pid, WindowNotification::mainWindowChanged, m_active);
    }
}

void X11WindowEvents::clientPropertyChanged(WindowId window, xcb_atom_t atom)
{
    auto it = m_clients.find(window);
    if (!it->pid)
        return;
    const int32_t pid = *it->pid;
    if (atom == m_x->atom("_NET_WM_NAME") || atom == XCB_ATOM_WM_NAME) {
        // Clients set both names at once: one change, told once.
        auto title = m_ewmh->title(window);
        if (title == it->title)
            return;
        it->title = std::move(title);
        notify(pid, WindowNotification::titleChanged, window);
    } else if (atom == m_x->atom("_NET_WM_STATE")) {
        const bool minimized = m_ewmh->client(window, ClientInfo::State).hasState(m_x->atom("_NET_WM_STATE_HIDDEN"));
        if (minimized == it->minimized)
            return;
        it->minimized = minimized;
        notify(pid, minimized ? WindowNotification::windowMinimized : WindowNotification::windowUnminimized, window);
    }
}

void X11WindowEvents::notify(int32_t pid, WindowNotification notification, WindowId window)
{
    const auto observers = m_observers; // a handler may end observers
    for (const auto& [token, observer] : observers) {
        if (observer.pid != pid || !m_observers.count(token))
            continue;
        const bool wanted = observer.registrations.contains({int(notification), application}) ||
                            observer.registrations.contains({int(notification), window});
        if (wanted)
            observer.handler(notification, window);
    }
}

} // namespace quillon::platform::linux_
