#include "platform/linux/Ewmh.h"

#include <algorithm>
#include <cstring>

namespace quillon::platform::linux_ {

namespace {

XcbReply<xcb_get_property_reply_t> property(X11Connection& x, xcb_window_t window, xcb_atom_t atom,
                                            xcb_atom_t type, uint32_t maxWords = 1u << 20)
{
    if (atom == XCB_ATOM_NONE)
        return nullptr;
    auto cookie = xcb_get_property(x.get(), 0, window, atom, type, 0, maxWords);
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(x.get(), cookie, nullptr));
}

} // namespace

std::vector<uint32_t> Ewmh::values32(xcb_window_t window, const char* name, xcb_atom_t type)
{
    auto reply = property(m_x, window, m_x.atom(name), type);
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE)
        return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<uint32_t>(data, data + count);
}

std::optional<uint32_t> Ewmh::cardinal(xcb_window_t window, const char* name)
{
    const auto values = values32(window, name, XCB_ATOM_CARDINAL);
    if (values.empty())
        return std::nullopt;
    return values.front();
}

std::optional<xcb_window_t> Ewmh::windowValue(xcb_window_t window, const char* name)
{
    const auto values = values32(window, name, XCB_ATOM_WINDOW);
    if (values.empty())
        return std::nullopt;
    return values.front();
}

std::vector<xcb_atom_t> Ewmh::atoms(xcb_window_t window, const char* name)
{
    return values32(window, name, XCB_ATOM_ATOM);
}

std::optional<QString> Ewmh::utf8(xcb_window_t window, const char* name)
{
    auto reply = property(m_x, window, m_x.atom(name), m_x.atom("UTF8_STRING"));
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

std::optional<QString> Ewmh::title(xcb_window_t window)
{
    if (auto name = utf8(window, "_NET_WM_NAME"))
        return name;
    auto reply = property(m_x, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    return QString::fromLatin1(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               xcb_get_property_value_length(reply.get()));
}

bool Ewmh::supports(std::initializer_list<const char*> names)
{
    const auto supported = atoms(m_x.root(), "_NET_SUPPORTED");
    return std::all_of(names.begin(), names.end(), [&](const char* name) {
        return std::find(supported.begin(), supported.end(), m_x.atom(name)) != supported.end();
    });
}

bool Ewmh::compositorRunning()
{
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(m_x.screenNumber());
    const xcb_atom_t selection = m_x.atom(name.constData());
    if (selection == XCB_ATOM_NONE)
        return false;
    auto cookie = xcb_get_selection_owner(m_x.get(), selection);
    XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(m_x.get(), cookie, nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void Ewmh::sendToRoot(xcb_window_t window, const char* message, uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3,
                      uint32_t d4)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof(event));
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_x.atom(message);
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    event.data.data32[4] = d4;
    xcb_send_event(m_x.get(), 0, m_x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    m_x.flush();
}

} // namespace quillon::platform::linux_
