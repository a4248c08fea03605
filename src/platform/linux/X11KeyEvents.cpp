#include "platform/linux/X11KeyEvents.h"

#include <xcb/xinput.h>

namespace quillon::platform::linux_ {

X11KeyEvents::~X11KeyEvents()
{
    if (m_xi && !m_listeners.empty())
        m_xi->selectOnRoot(0);
}

bool X11KeyEvents::connect()
{
    if (!m_xi) {
        m_xi = XInput::open([this](const xcb_generic_event_t* event) { handle(event); });
        if (m_xi)
            KeyCodeMap::loadOnce(m_xi->connection().get());
    }
    return m_xi != nullptr;
}

std::optional<int> X11KeyEvents::addListener(std::function<void(const KeyEvent&)> handler)
{
    if (!connect())
        return std::nullopt;
    const bool first = m_listeners.empty();
    const int token = m_listeners.add(std::move(handler));
    if (first) {
        // A modifier already held when listening starts still counts.
        uint8_t keys[32];
        if (m_xi->keysDown(keys))
            m_stream.seed(keys);
        m_xi->selectOnRoot(XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE);
    }
    return token;
}

void X11KeyEvents::removeListener(int token)
{
    if (m_listeners.empty())
        return;
    m_listeners.remove(token);
    if (m_listeners.empty() && m_xi)
        m_xi->selectOnRoot(0);
}

void X11KeyEvents::handle(const xcb_generic_event_t* event)
{
    const auto type = m_xi->eventType(event);
    if (type != XCB_INPUT_RAW_KEY_PRESS && type != XCB_INPUT_RAW_KEY_RELEASE)
        return;
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event);
    if (raw->detail > 255)
        return;
    if (auto keyEvent = m_stream.handle(uint8_t(raw->detail), type == XCB_INPUT_RAW_KEY_PRESS)) {
        keyEvent->time = raw->time;
        keyEvent->fromSyntheticDevice = m_xi->isSyntheticDevice(raw->sourceid);
        m_listeners.notify(*keyEvent);
    }
}

} // namespace quillon::platform::linux_
