#include "platform/linux/X11WindowControl.h"

#include "platform/ScreenSpace.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

namespace quillon::platform::linux_ {

X11WindowControl::X11WindowControl(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    if (m_x)
        m_ewmh = std::make_unique<Ewmh>(*m_x);
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

bool X11WindowControl::raise(WindowId window)
{
    if (!m_ewmh || !isClient(window))
        return false;
    m_ewmh->activate(window);
    // The window manager acts on its own time. Whoever raises next (activating
    // the application, say) must see this window in front, so wait for it.
    QDeadlineTimer deadline(500);
    while (!deadline.hasExpired()) {
        if (focusedWindow() == window)
            return true;
        QThread::msleep(2);
    }
    return false;
}

bool X11WindowControl::close(WindowId window)
{
    if (!m_ewmh || !isClient(window))
        return false;
    m_ewmh->close(window);
    return true;
}

} // namespace quillon::platform::linux_
