#include "platform/linux/X11WindowControl.h"

#include "platform/Platform.h"
#include "platform/linux/DevicePixels.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace quillon::platform::linux_ {

X11WindowControl::X11WindowControl(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    if (!m_x)
        return;
    m_ewmh = std::make_unique<Ewmh>(*m_x);
    m_activeAtom = m_x->atom("_NET_ACTIVE_WINDOW");
    m_eventToken = m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
}

X11WindowControl::~X11WindowControl()
{
    if (m_x)
        m_x->removeEventHandler(m_eventToken);
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
    // A window being unmapped can report no area at all.
    if (!frame || frame->width() <= 0 || frame->height() <= 0)
        return std::nullopt;
    return DevicePixels::current().quartzFromDevice(*frame, m_ewmh->primaryMonitor());
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

bool X11WindowControl::isResizable(WindowId window)
{
    if (!m_ewmh)
        return true;
    // WM_SIZE_HINTS: flags, then x, y, width, height, min w/h (PMinSize, bit 4)
    // and max w/h (PMaxSize, bit 5).
    const auto hints = m_ewmh->values32(window, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS);
    constexpr uint32_t minSize = 1u << 4, maxSize = 1u << 5;
    if (hints.size() >= 9 && (hints[0] & minSize) && (hints[0] & maxSize) && hints[5] == hints[7] &&
        hints[6] == hints[8])
        return false;
    const auto allowed = m_ewmh->atoms(window, "_NET_WM_ALLOWED_ACTIONS");
    if (!allowed.empty()) {
        const xcb_atom_t resize = m_x->atom("_NET_WM_ACTION_RESIZE");
        return std::find(allowed.begin(), allowed.end(), resize) != allowed.end();
    }
    return true;
}

void X11WindowControl::setFrame(WindowId window, const QRectF& frame,
                                std::function<void(std::optional<QRectF>)> done)
{
    if (m_pendingFrames.count(window))
        finishFrame(window);
    const ClientInfo info =
        m_ewmh ? m_ewmh->client(window, ClientInfo::Frame | ClientInfo::State) : ClientInfo();
    if (!m_ewmh || !info.exists || !info.frame) {
        if (done)
            QTimer::singleShot(0, [done] { done(std::nullopt); });
        return;
    }
    const QRect target = DevicePixels::current().deviceFromQuartz(frame, m_ewmh->primaryMonitor());
    PendingFrame pending;
    pending.target = target;
    pending.done = std::move(done);
    // A maximised window ignores moves under openbox, so it leaves that state
    // first; that answers with a configure of its own before the move's.
    const xcb_atom_t vert = m_x->atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                     horz = m_x->atom("_NET_WM_STATE_MAXIMIZED_HORZ"),
                     full = m_x->atom("_NET_WM_STATE_FULLSCREEN");
    if (info.hasState(vert) || info.hasState(horz)) {
        m_ewmh->sendToRoot(window, "_NET_WM_STATE", 0, vert, horz, 2);
        ++pending.expected;
        pending.leftState = true;
    }
    if (info.hasState(full)) {
        m_ewmh->sendToRoot(window, "_NET_WM_STATE", 0, full, 0, 2);
        ++pending.expected;
        pending.leftState = true;
    }
    m_x->selectEvents(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    requestFrame(window, target, info);
    pending.timeout = std::make_unique<QTimer>();
    pending.timeout->setSingleShot(true);
    QObject::connect(pending.timeout.get(), &QTimer::timeout, [this, window] { finishFrame(window); });
    pending.timeout->start(frameTimeoutMs);
    m_pendingFrames[window] = std::move(pending);
}

void X11WindowControl::requestFrame(WindowId window, const QRect& target, const ClientInfo& info)
{
    const auto& net = info.frameExtents;
    const auto& gtk = info.gtkFrameExtents;
    // The inverse of the frame read: the window manager's frame is the visible
    // frame plus the client's own shadow, and it sizes the client inside its
    // decorations.
    const QRect outer = target.adjusted(-gtk[0], -gtk[2], gtk[1], gtk[3]);
    const int clientWidth = std::max(1, outer.width() - net[0] - net[1]);
    const int clientHeight = std::max(1, outer.height() - net[2] - net[3]);
    constexpr uint32_t northWest = 1, allFields = 0xF << 8, fromPager = 2 << 12;
    m_ewmh->sendToRoot(window, "_NET_MOVERESIZE_WINDOW", northWest | allFields | fromPager,
                       uint32_t(outer.x()), uint32_t(outer.y()), uint32_t(clientWidth),
                       uint32_t(clientHeight));
}

void X11WindowControl::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        if (!m_raises.empty() && reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom == m_activeAtom)
            activeWindowChanged();
        return;
    }
    if (type != XCB_CONFIGURE_NOTIFY)
        return;
    const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
    if (configure->event == configure->window)
        configured(configure->window);
}

// Done once the window sits at the target, or once every configure the
// request causes has come and its corner is where it was asked to be (size
// hints may round the size).
void X11WindowControl::configured(WindowId window)
{
    const auto it = m_pendingFrames.find(window);
    if (it == m_pendingFrames.end())
        return;
    PendingFrame& pending = it->second;
    ++pending.configures;
    const ClientInfo info = m_ewmh->client(window, ClientInfo::Frame);
    const auto now = info.frame;
    if (!now)
        return finishFrame(window);
    auto near = [](int a, int b) { return std::abs(a - b) < 2; };
    const QRect& t = pending.target;
    const bool corner = near(now->x(), t.x()) && near(now->y(), t.y());
    const bool exact = corner && near(now->width(), t.width()) && near(now->height(), t.height());
    if (exact)
        return finishFrame(window);
    if (pending.configures < pending.expected)
        return;
    if (pending.leftState) {
        // The move was sized for the maximised window's decorations.
        pending.leftState = false;
        pending.configures = 0;
        pending.expected = 1;
        pending.timeout->start(frameTimeoutMs);
        return requestFrame(window, pending.target, info);
    }
    if (corner)
        finishFrame(window);
}

void X11WindowControl::finishFrame(WindowId window)
{
    const auto it = m_pendingFrames.find(window);
    if (it == m_pendingFrames.end())
        return;
    auto done = std::move(it->second.done);
    std::unique_ptr<QTimer> timer = std::move(it->second.timeout);
    m_pendingFrames.erase(it);
    if (timer) {
        timer->stop();
        timer.release()->deleteLater();
    }
    if (done)
        done(frame(window));
}

} // namespace quillon::platform::linux_
