#include "platform/linux/X11WindowControl.h"

#include "platform/Platform.h"
#include "platform/ScreenSpace.h"

#include <algorithm>

namespace quillon::platform::linux_ {

X11WindowControl::X11WindowControl(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    if (!m_x)
        return;
    m_ewmh = std::make_unique<Ewmh>(*m_x);
    const xcb_atom_t activeAtom = m_x->atom("_NET_ACTIVE_WINDOW");
    m_x->addEventHandler([this, activeAtom](const xcb_generic_event_t* event) {
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY || m_raises.empty())
            return;
        if (reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom == activeAtom)
            activeWindowChanged();
    });
}

std::optional<std::vector<WindowId>> X11WindowControl::windows(int32_t pid)
{
    if (!m_ewmh || !m_x->isAlive())
        return std::nullopt;
    const auto clients = m_ewmh->clientList(false);
    if (!clients)
        return std::nullopt;
    // The same owner as the window list and the running apps name, so every
    // count agrees on whose window it is.
    std::vector<WindowId> result;
    for (const ClientInfo& info : m_ewmh->clients(*clients, ClientInfo::Pid)) {
        if (info.pid == pid)
            result.push_back(info.window);
    }
    return result;
}

std::optional<WindowKind> X11WindowControl::kind(WindowId window)
{
    if (!m_ewmh)
        return std::nullopt;
    return m_ewmh->kind(m_ewmh->client(window, ClientInfo::Type));
}

std::optional<QString> X11WindowControl::title(WindowId window)
{
    if (!m_ewmh)
        return std::nullopt;
    return m_ewmh->title(window);
}

std::optional<QRectF> X11WindowControl::frame(WindowId window)
{
    if (!m_ewmh)
        return std::nullopt;
    const auto frame = m_ewmh->client(window, ClientInfo::Frame).frame;
    if (!frame)
        return std::nullopt;
    return ScreenSpace::quartzFromNative(QRectF(*frame), m_ewmh->primaryMonitor());
}

std::optional<WindowId> X11WindowControl::focusedWindow()
{
    if (!m_ewmh)
        return std::nullopt;
    const auto active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW");
    if (!active || *active == XCB_WINDOW_NONE)
        return std::nullopt;
    return *active;
}

std::optional<WindowId> X11WindowControl::mainWindow(int32_t pid)
{
    if (!m_ewmh)
        return std::nullopt;
    if (const auto focused = focusedWindow(); focused && m_ewmh->client(*focused, ClientInfo::Pid).pid == pid)
        return focused;
    auto stacking = m_ewmh->clientList(true);
    if (!stacking)
        return std::nullopt;
    std::reverse(stacking->begin(), stacking->end());
    for (const ClientInfo& info : m_ewmh->clients(*stacking, ClientInfo::Pid | ClientInfo::Type)) {
        const auto kind = m_ewmh->kind(info);
        if (info.pid == pid && kind != WindowKind::dock && kind != WindowKind::desktop)
            return info.window;
    }
    return std::nullopt;
}

bool X11WindowControl::isClient(WindowId window)
{
    const auto clients = m_ewmh->clientList(false);
    return clients && std::find(clients->begin(), clients->end(), window) != clients->end();
}

// The window manager acts on its own time, and whoever raises next (the
// application's activation, say) must see this window in front: `done` waits
// for _NET_ACTIVE_WINDOW to name it, without holding the main thread.
void X11WindowControl::raise(WindowId window, std::function<void(bool raised)> done)
{
    auto& queue = platform().mainQueue();
    if (!m_ewmh || !isClient(window)) {
        queue.post([done = std::move(done)] {
            if (done)
                done(false);
        });
        return;
    }
    const int id = ++m_lastRaise;
    std::weak_ptr<X11WindowControl*> weak = m_self;
    WorkItem timeout = queue.after(raiseTimeout, [weak, id] {
        if (const auto self = weak.lock())
            (*self)->finishRaise(id, false);
    });
    if (m_raises.empty())
        m_x->selectEvents(m_x->root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    m_raises.push_back({id, window, std::move(done), timeout});
    m_ewmh->activate(window);
    // Already the active window: the window manager changes nothing.
    if (focusedWindow() == window) {
        queue.post([weak, id] {
            if (const auto self = weak.lock())
                (*self)->finishRaise(id, true);
        });
    }
}

void X11WindowControl::activeWindowChanged()
{
    const auto active = focusedWindow();
    std::vector<int> raised;
    for (const PendingRaise& pending : m_raises) {
        if (pending.window == active)
            raised.push_back(pending.id);
    }
    for (const int id : raised)
        finishRaise(id, true);
}

void X11WindowControl::finishRaise(int id, bool raised)
{
    const auto it =
        std::find_if(m_raises.begin(), m_raises.end(), [&](const PendingRaise& p) { return p.id == id; });
    if (it == m_raises.end())
        return;
    PendingRaise pending = std::move(*it);
    m_raises.erase(it);
    pending.timeout.cancel();
    if (m_raises.empty())
        m_x->selectEvents(m_x->root(), 0);
    if (pending.done)
        pending.done(raised);
}

bool X11WindowControl::close(WindowId window)
{
    if (!m_ewmh || !isClient(window))
        return false;
    m_ewmh->close(window);
    return true;
}

} // namespace quillon::platform::linux_
