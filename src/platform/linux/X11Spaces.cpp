#include "platform/linux/X11Spaces.h"

namespace quillon::platform::linux_ {

namespace {

const char* const workspaceHints[] = {"_NET_NUMBER_OF_DESKTOPS", "_NET_CURRENT_DESKTOP", "_NET_WM_DESKTOP"};

bool sameState(const SpacesSnapshot& a, const SpacesSnapshot& b)
{
    return a.available == b.available && a.activeSpace == b.activeSpace && a.count == b.count &&
           a.reason == b.reason;
}

} // namespace

X11Spaces::X11Spaces(std::unique_ptr<X11Connection> connection)
    : m_x(std::move(connection))
{
    auto initial = std::make_shared<SpacesSnapshot>();
    initial->reason = QStringLiteral("no X11 session");
    m_snapshot.store(std::move(initial));
    if (!m_x)
        return;
    m_ewmh = std::make_unique<Ewmh>(*m_x);
    m_eventToken = m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
    m_x->selectEvents(m_x->root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    m_x->internAtoms({"_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_NUMBER_OF_DESKTOPS",
                      "_NET_CURRENT_DESKTOP", "_NET_WM_DESKTOP"});
    resolve();
}

X11Spaces::~X11Spaces()
{
    if (m_x)
        m_x->removeEventHandler(m_eventToken);
}

void X11Spaces::resolve()
{
    auto next = std::make_shared<SpacesSnapshot>();
    const auto check = m_ewmh->windowValue(m_x->root(), "_NET_SUPPORTING_WM_CHECK").value_or(XCB_WINDOW_NONE);
    if (check != m_checkWindow && check != XCB_WINDOW_NONE) {
        // Hear of the window manager's end: its check window goes with it.
        m_x->selectEvents(check, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    }
    m_checkWindow = check;
    const bool supported = m_ewmh->windowManagerRuns() &&
                           m_ewmh->supports({workspaceHints[0], workspaceHints[1], workspaceHints[2]});
    const auto count = m_ewmh->cardinal(m_x->root(), "_NET_NUMBER_OF_DESKTOPS");
    const auto current = m_ewmh->cardinal(m_x->root(), "_NET_CURRENT_DESKTOP");
    if (supported && count && *count > 0) {
        next->available = true;
        next->count = int(*count);
        if (current && *current < *count)
            next->activeSpace = uint64_t(*current) + 1;
    } else {
        next->reason = QStringLiteral("window manager does not report workspaces");
    }
    if (sameState(*m_snapshot.load(), *next))
        return;
    m_snapshot.store(std::move(next));
    m_handlers.notify();
}

void X11Spaces::handle(const xcb_generic_event_t* event)
{
    switch (event->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (e->window != m_x->root())
            return;
        for (const char* name : {"_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_NUMBER_OF_DESKTOPS",
                                 "_NET_CURRENT_DESKTOP"}) {
            if (e->atom == m_x->atom(name)) {
                resolve();
                return;
            }
        }
        return;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (e->window == m_checkWindow) {
            m_checkWindow = XCB_WINDOW_NONE;
            resolve();
        }
        return;
    }
    default: return;
    }
}

std::optional<std::vector<uint64_t>> X11Spaces::spacesOfWindow(WindowId window)
{
    const auto state = snapshot();
    if (!state->available || !m_ewmh)
        return std::nullopt;
    const auto desktop = m_ewmh->cardinal(window, "_NET_WM_DESKTOP");
    if (!desktop)
        return std::nullopt;
    return Ewmh::spaceIds(*desktop, uint32_t(state->count));
}

bool X11Spaces::switchTo(int index)
{
    const auto state = snapshot();
    if (!state->available || index < 0 || index >= state->count)
        return false;
    m_ewmh->sendToRoot(m_x->root(), "_NET_CURRENT_DESKTOP", uint32_t(index), XCB_CURRENT_TIME);
    return true;
}

} // namespace quillon::platform::linux_
