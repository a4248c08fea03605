#include "platform/linux/X11WindowServer.h"

#include "platform/linux/DevicePixels.h"

#include <algorithm>

namespace quillon::platform::linux_ {

X11WindowServer::X11WindowServer(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    if (m_x)
        m_ewmh = std::make_unique<Ewmh>(*m_x);
}

int X11WindowServer::layer(std::optional<WindowKind> kind, bool above)
{
    switch (kind.value_or(WindowKind::standard)) {
    case WindowKind::standard:
    case WindowKind::dialog: return above ? WindowEntry::floatingLayer : WindowEntry::normalLayer;
    case WindowKind::utility:
    case WindowKind::splash: return WindowEntry::floatingLayer;
    case WindowKind::menu: return WindowEntry::popUpMenuLayer;
    case WindowKind::notification: return WindowEntry::notificationLayer;
    case WindowKind::dock: return WindowEntry::dockLayer;
    case WindowKind::desktop: return WindowEntry::desktopLayer;
    }
    return WindowEntry::normalLayer;
}

std::optional<std::vector<WindowEntry>> X11WindowServer::windowList(bool onScreenOnly)
{
    if (!m_ewmh || !m_x->isAlive())
        return std::nullopt;
    auto stacking = m_ewmh->clientList(true);
    if (!stacking)
        return std::nullopt;
    std::reverse(stacking->begin(), stacking->end()); // front to back
    const uint32_t desktops = m_ewmh->cardinal(m_x->root(), "_NET_NUMBER_OF_DESKTOPS").value_or(0);
    const auto current = m_ewmh->cardinal(m_x->root(), "_NET_CURRENT_DESKTOP");
    const QRect primary = m_ewmh->primaryMonitor();
    const DevicePixels pixels = DevicePixels::current();
    const xcb_atom_t hiddenState = m_x->atom("_NET_WM_STATE_HIDDEN");
    const xcb_atom_t aboveState = m_x->atom("_NET_WM_STATE_ABOVE");

    const unsigned fields = ClientInfo::Pid | ClientInfo::Type | ClientInfo::State | ClientInfo::Desktop |
                            ClientInfo::Opacity | ClientInfo::Frame | ClientInfo::Title;
    std::vector<WindowEntry> entries;
    for (const ClientInfo& info : m_ewmh->clients(*stacking, fields)) {
        if (!info.exists)
            continue;
        WindowEntry entry;
        entry.id = info.window;
        entry.pid = info.pid;
        const auto kind = m_ewmh->kind(info);
        entry.layer = layer(kind, info.hasState(aboveState));
        entry.desktopElement = kind == WindowKind::desktop;
        if (info.frame)
            entry.bounds = pixels.quartzFromDevice(*info.frame, primary);
        entry.alpha = info.opacity ? double(*info.opacity) / double(0xFFFFFFFFu) : 1.0;
        entry.title = info.title;
        if (info.desktop)
            entry.spaces = Ewmh::spaceIds(*info.desktop, desktops);
        const bool onCurrentDesktop = !info.desktop || !current || *info.desktop == Ewmh::allDesktops ||
                                      *info.desktop == *current;
        entry.onScreen = info.viewable && !info.hasState(hiddenState) && onCurrentDesktop;
        if (onScreenOnly && !entry.onScreen)
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace quillon::platform::linux_
