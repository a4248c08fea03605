#pragma once

#include "platform/PowerSources.h"

#include <QString>
#include <optional>

namespace quillon::platform::linux_ {

/// The kernel's power supplies (/sys/class/power_supply), read where no
/// UPower runs.
class SysfsPowerSupply {
public:
    SysfsPowerSupply() = delete;

    static constexpr const char* defaultRoot = "/sys/class/power_supply";

    /// The first present system battery (a device's own battery, such as a
    /// mouse's, does not count): its charge, and whether it powers the
    /// computer (discharging with no adapter online).
    static std::optional<BatteryReading> read(const QString& root = QString::fromLatin1(defaultRoot));
    /// Charge from a current and a full capacity: current × 100 / full in
    /// whole numbers; a full capacity of 0 leaves the current as it is.
    static int percentOf(qint64 current, qint64 full);
};

} // namespace quillon::platform::linux_
