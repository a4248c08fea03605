#include "platform/linux/XInput.h"

#include <xcb/xinput.h>

namespace quillon::platform::linux_ {

std::unique_ptr<XInput> XInput::open(std::function<void(const xcb_generic_event_t*)> handler)
{
    // The server treats a client by the version it announces: raw events reach
    // the root during grabs only for 2.1 and later.
    return open(X11Connection::open(), std::move(handler), 2);
}

std::unique_ptr<XInput> XInput::open(std::unique_ptr<X11Connection> connection,
                                     std::function<void(const xcb_generic_event_t*)> handler, uint16_t minor)
{
    if (!connection)
        return nullptr;
    xcb_connection_t* c = connection->get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (!extension || !extension->present)
        return nullptr;
    XcbReply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, minor), nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < minor))
        return nullptr;
    connection->addEventHandler(std::move(handler));
    return std::unique_ptr<XInput>(new XInput(std::move(connection), extension->major_opcode));
}

void XInput::selectOnRoot(uint32_t mask)
{
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, mask};
    xcb_input_xi_select_events(m_x->get(), m_x->root(), 1, &selection.head);
    m_x->flush();
}

std::optional<uint16_t> XInput::eventType(const xcb_generic_event_t* event) const
{
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return std::nullopt;
    const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
    if (generic->extension != m_opcode)
        return std::nullopt;
    return generic->event_type;
}

} // namespace quillon::platform::linux_
