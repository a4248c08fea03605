#pragma once

#include "platform/BluetoothRegistrations.h"

#include <map>

namespace quillon::fakes {

/// Scripted devices: tests connect and disconnect them.
class FakeBluetooth final : public platform::Bluetooth {
public:
    std::optional<int> registerForConnects(DeviceHandler handler) override
    {
        ++connectRegistrations;
        return m_registrations.addConnect(std::move(handler));
    }
    std::optional<int> registerForDisconnect(const QString& address, DeviceHandler handler) override
    {
        return m_registrations.addDisconnect(address, std::move(handler));
    }
    void unregister(int token) override { m_registrations.remove(token); }
    std::optional<int> batteryPercent(const QString& address) override
    {
        const auto it = batteries.find(normalisedAddress(address));
        if (it == batteries.end())
            return std::nullopt;
        return it->second;
    }

    void connect(const platform::BluetoothDevice& device) { m_registrations.connected(device); }
    void disconnect(const platform::BluetoothDevice& device) { m_registrations.disconnected(device); }
    std::size_t connectRegistrationCount() const { return m_registrations.connectCount(); }
    std::size_t disconnectRegistrationCount() const { return m_registrations.disconnectCount(); }

    /// Charges by normalised address.
    std::map<QString, int> batteries;
    int connectRegistrations = 0;

private:
    platform::BluetoothRegistrations m_registrations;
};

} // namespace quillon::fakes
