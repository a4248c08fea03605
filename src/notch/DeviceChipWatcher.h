#pragma once

#include "platform/Bluetooth.h"
#include "platform/MainQueue.h"

#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

/// Reports Bluetooth devices that connect or disconnect, each with a symbol
/// chosen from its name and, on connection, its battery charge.
class DeviceChipWatcher {
public:
    /// How long after a connection the battery is read: a device reports its
    /// charge a moment after it connects.
    static constexpr double batteryDelay = 1.5;

    DeviceChipWatcher();
    ~DeviceChipWatcher();
    DeviceChipWatcher(const DeviceChipWatcher&) = delete;
    DeviceChipWatcher& operator=(const DeviceChipWatcher&) = delete;

    std::function<void(const std::optional<QIcon>& icon, const QString& name,
                       std::optional<int> batteryPercent, bool connected)>
        onChip;

    /// Registers for connections; nothing when registered already.
    void start();
    /// Ends every registration and drops reports still waiting.
    void stop();
    bool isStarted() const { return m_connectNote.has_value(); }

    void deviceConnected(const platform::BluetoothDevice& device);
    void deviceDisconnected(int note, const platform::BluetoothDevice& device);

    /// The symbols tried for a device's name, in order.
    static QStringList symbolCandidates(const QString& name);
    /// The first of them that exists.
    static std::optional<QIcon> symbol(const QString& name);

private:
    static QString displayName(const platform::BluetoothDevice& device);

    std::optional<int> m_connectNote;
    std::vector<int> m_disconnectNotes;
    struct PendingReport {
        QString address;
        platform::WorkItem item;
    };
    /// The connected reports still waiting for the battery.
    std::map<int, PendingReport> m_pendingReports;
    int m_lastReport = 0;
    std::shared_ptr<DeviceChipWatcher*> m_self;
};

} // namespace quillon
