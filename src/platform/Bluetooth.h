#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace quillon::platform {

struct BluetoothDevice {
    /// Empty when the device has none.
    QString name;
    /// "AA:BB:CC:DD:EE:FF"; empty when unknown.
    QString address;
};

/// Bluetooth connections and the batteries of connected devices.
class Bluetooth {
public:
    using DeviceHandler = std::function<void(const BluetoothDevice&)>;

    virtual ~Bluetooth() = default;

    /// Tells `handler`, on the main thread, of every device that connects from
    /// now on. None when Bluetooth cannot be watched.
    virtual std::optional<int> registerForConnects(DeviceHandler handler) = 0;
    /// Tells `handler` once, when this device disconnects; the registration
    /// then ends by itself. None when it cannot be watched.
    virtual std::optional<int> registerForDisconnect(const QString& address, DeviceHandler handler) = 0;
    /// Ends either kind of registration; nothing for one already ended.
    virtual void unregister(int token) = 0;
    /// The charge the device reports, in percent; none when it reports none.
    virtual std::optional<int> batteryPercent(const QString& address) = 0;

    /// The address in one spelling: ":" for "-", small letters.
    static QString normalisedAddress(const QString& address)
    {
        QString result = address;
        return result.replace(QLatin1Char('-'), QLatin1Char(':')).toLower();
    }
};

} // namespace quillon::platform
