#pragma once

#include "platform/Observers.h"
#include "platform/PowerSources.h"

#include <QObject>
#include <QTimer>

class QDBusServiceWatcher;

namespace quillon::platform::linux_ {

/// The power sources through UPower on the system bus: OnBattery, and the
/// display device (the battery the desktop shows) for the charge. Where
/// UPower is not on the bus, the kernel's power supplies, looked at every
/// half minute since sysfs tells no one of changes.
class UPowerSources final : public QObject, public PowerSources {
    Q_OBJECT
public:
    /// `sysfsRoot` is where the kernel's power supplies are read.
    explicit UPowerSources(QString sysfsRoot = QStringLiteral("/sys/class/power_supply"));
    ~UPowerSources() override;

    std::optional<BatteryReading> internalBattery() override;
    std::optional<int> addChangeHandler(std::function<void()> handler) override;
    void removeChangeHandler(int token) override;

    static constexpr int pollMilliseconds = 30000;

private slots:
    void propertiesChanged();

private:
    bool upowerRunning() const;
    std::optional<BatteryReading> readUPower() const;
    void startWatching();
    void stopWatching();
    void pollSysfs();
    void choosePolling();

    QString m_sysfsRoot;
    Observers<> m_handlers;
    QDBusServiceWatcher* m_serviceWatcher = nullptr;
    QTimer m_poll;
    std::optional<BatteryReading> m_lastPolled;
    bool m_watching = false;
};

} // namespace quillon::platform::linux_
