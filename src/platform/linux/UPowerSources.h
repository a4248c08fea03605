#pragma once

#include "platform/Observers.h"
#include "platform/PowerSources.h"

#include <QObject>
#include <QTimer>
#include <QVariantMap>

class QDBusServiceWatcher;

namespace quillon::platform::linux_ {

/// The power sources through UPower on the system bus: OnBattery, and the
/// display device (the battery the desktop shows) for the charge. Where
/// UPower is not on the bus, the kernel's power supplies, looked at every
/// half minute since sysfs tells no one of changes.
///
/// UPower is never waited for: its properties are asked without blocking,
/// kept, and the change handlers told once an answer brings a new reading.
/// Until the first answer the reading is the last one known.
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
    /// Asks whether UPower is on the bus; the answer chooses the source.
    void askRunning();
    void runningKnown(bool running);
    /// Asks UPower for both readings; an answer older than one already taken
    /// is dropped, so the updates keep their order.
    void refresh();
    void take(uint64_t generation, const std::optional<QVariantMap>& device,
              const std::optional<QVariantMap>& daemon);
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
    /// Whether UPower is on the bus; none until the bus has answered.
    std::optional<bool> m_upower;
    bool m_askingRunning = false;
    std::optional<BatteryReading> m_reading;
    uint64_t m_asked = 0;
    uint64_t m_taken = 0;
};

} // namespace quillon::platform::linux_
