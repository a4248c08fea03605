#pragma once

#include "platform/BluetoothRegistrations.h"

#include <QDBusMessage>
#include <QObject>
#include <map>

namespace quillon::platform::linux_ {

/// Bluetooth through BlueZ on the system bus: a device connects or
/// disconnects when its Device1.Connected changes, or when a connected
/// device object appears or goes (InterfacesAdded, InterfacesRemoved); its
/// charge is its Battery1.Percentage, kept as BlueZ tells it and read (never
/// waited for) when a device connects.
class BluezBluetooth final : public QObject, public Bluetooth {
    Q_OBJECT
public:
    BluezBluetooth();
    ~BluezBluetooth() override;

    std::optional<int> registerForConnects(DeviceHandler handler) override;
    std::optional<int> registerForDisconnect(const QString& address, DeviceHandler handler) override;
    void unregister(int token) override;
    std::optional<int> batteryPercent(const QString& address) override;

private slots:
    void propertiesChanged(const QDBusMessage& message);
    void interfacesAdded(const QDBusMessage& message);
    void interfacesRemoved(const QDBusMessage& message);

private:
    struct Device {
        QString name;
        QString address;
        bool connected = false;
    };

    bool startWatching();
    void stopWatching();
    /// Takes in the device's properties; tells of a change of its connection
    /// unless `report` is false (the device's state is then only learnt).
    void take(const QString& path, const QVariantMap& properties, bool report = true);
    void connectedChanged(const Device& device);
    std::optional<QString> pathOf(const QString& address) const;
    /// Asks for the device's charge; the answer lands in m_batteries.
    void readBattery(const QString& path);

    std::map<QString, Device> m_devices;
    /// Battery1.Percentage by object path.
    std::map<QString, int> m_batteries;
    BluetoothRegistrations m_registrations;
    bool m_watching = false;
};

} // namespace quillon::platform::linux_
