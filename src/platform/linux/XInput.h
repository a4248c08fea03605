#pragma once

#include "platform/linux/X11Connection.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quillon::platform::linux_ {

/// A connection of our own with XInput 2: raw device events, which the
/// server sends to every client that asks, whoever has the focus or a grab.
class XInput {
public:
    /// Connects and hands every event of the connection to `handler`. None
    /// without an X server or without XInput 2.2.
    static std::unique_ptr<XInput> open(std::function<void(const xcb_generic_event_t*)> handler);
    /// The same on a connection already open, announcing XInput 2.`minor`:
    /// none when the server offers less.
    static std::unique_ptr<XInput> open(std::unique_ptr<X11Connection> connection,
                                        std::function<void(const xcb_generic_event_t*)> handler,
                                        uint16_t minor);

    X11Connection& connection() const { return *m_x; }

    /// Replaces what this connection hears from the master devices on the
    /// root window (an XCB_INPUT_XI_EVENT_MASK_* combination; 0 = nothing).
    void selectOnRoot(uint32_t mask);

    /// The XI2 event type of one of this extension's events; none for others.
    std::optional<uint16_t> eventType(const xcb_generic_event_t* event) const;

    /// Whether a device is one of the server's XTest devices, which every
    /// client that posts synthetic input shares. Asked once per device.
    bool isSyntheticDevice(uint16_t deviceId);
    /// The slave keyboards that are not XTest devices: the real ones.
    std::vector<uint16_t> physicalKeyboards() { return keyboards(true); }
    /// The master keyboards (usually just the core keyboard).
    std::vector<uint16_t> masterKeyboards() { return keyboards(false); }

    /// The keys down on the core keyboard (QueryKeymap's 32-byte bit vector);
    /// false when the server does not answer.
    bool keysDown(uint8_t keys[32]) const;

private:
    std::vector<uint16_t> keyboards(bool physical);

    XInput(std::unique_ptr<X11Connection> connection, uint8_t opcode)
        : m_x(std::move(connection))
        , m_opcode(opcode)
    {
    }

    std::unique_ptr<X11Connection> m_x;
    uint8_t m_opcode;
    std::map<uint16_t, bool> m_synthetic;
};

} // namespace quillon::platform::linux_
