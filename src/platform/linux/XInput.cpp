#include "platform/linux/XInput.h"

#include <algorithm>
#include <iterator>
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

bool XInput::keysDown(uint8_t keys[32]) const
{
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_query_keymap_reply_t> keymap(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    if (!keymap)
        return false;
    std::copy(std::begin(keymap->keys), std::end(keymap->keys), keys);
    return true;
}

bool XInput::isSyntheticDevice(uint16_t deviceId)
{
    const auto known = m_synthetic.find(deviceId);
    if (known != m_synthetic.end())
        return known->second;
    // The server marks its XTest devices with a property nobody can remove.
    xcb_connection_t* c = m_x->get();
    const xcb_atom_t marker = m_x->atom("XTEST Device");
    XcbReply<xcb_input_xi_get_property_reply_t> property(xcb_input_xi_get_property_reply(
        c, xcb_input_xi_get_property(c, deviceId, 0, marker, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr));
    const bool synthetic = marker != XCB_ATOM_NONE && property && property->type != XCB_ATOM_NONE;
    m_synthetic[deviceId] = synthetic;
    return synthetic;
}

std::vector<uint16_t> XInput::keyboards(bool physical)
{
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_input_xi_query_device_reply_t> devices(
        xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr));
    std::vector<uint16_t> result;
    if (!devices)
        return result;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        const bool wanted = physical ? it.data->type == XCB_INPUT_DEVICE_TYPE_SLAVE_KEYBOARD &&
                                           !isSyntheticDevice(it.data->deviceid)
                                     : it.data->type == XCB_INPUT_DEVICE_TYPE_MASTER_KEYBOARD;
        if (wanted)
            result.push_back(it.data->deviceid);
    }
    return result;
}

} // namespace quillon::platform::linux_
