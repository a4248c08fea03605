#pragma once

#include "platform/Bluetooth.h"

#include <map>
#include <vector>

namespace quillon::platform {

/// The registrations of a Bluetooth implementation: connect handlers, and
/// disconnect handlers per device that each fire once.
class BluetoothRegistrations {
public:
    using DeviceHandler = Bluetooth::DeviceHandler;

    int addConnect(DeviceHandler handler)
    {
        const int token = ++m_last;
        m_connects.emplace(token, std::move(handler));
        return token;
    }
    int addDisconnect(const QString& address, DeviceHandler handler)
    {
        const int token = ++m_last;
        m_disconnects.emplace(token, Disconnect{Bluetooth::normalisedAddress(address), std::move(handler)});
        return token;
    }
    void remove(int token)
    {
        m_connects.erase(token);
        m_disconnects.erase(token);
    }
    bool empty() const { return m_connects.empty() && m_disconnects.empty(); }
    std::size_t connectCount() const { return m_connects.size(); }
    std::size_t disconnectCount() const { return m_disconnects.size(); }

    void connected(const BluetoothDevice& device) const
    {
        const auto snapshot = m_connects;
        for (const auto& [token, handler] : snapshot)
            handler(device);
    }
    /// Ends the device's disconnect registrations, then calls them.
    void disconnected(const BluetoothDevice& device)
    {
        const QString address = Bluetooth::normalisedAddress(device.address);
        std::vector<DeviceHandler> due;
        for (auto it = m_disconnects.begin(); it != m_disconnects.end();) {
            if (it->second.address == address) {
                due.push_back(std::move(it->second.handler));
                it = m_disconnects.erase(it);
            } else {
                ++it;
            }
        }
        for (const auto& handler : due)
            handler(device);
    }

private:
    struct Disconnect {
        QString address;
        DeviceHandler handler;
    };
    std::map<int, DeviceHandler> m_connects;
    std::map<int, Disconnect> m_disconnects;
    int m_last = 0;
};

} // namespace quillon::platform
