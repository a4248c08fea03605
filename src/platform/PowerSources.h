#pragma once

#include <functional>
#include <optional>

namespace quillon::platform {

/// The computer's internal battery and what powers it now.
struct BatteryReading {
    /// The internal battery is the power source in use.
    bool isOnBattery = false;
    /// Its charge in percent, as the system reports it (not clamped).
    double percent = 0;
};

/// The power sources: the internal battery and the power adapter.
class PowerSources {
public:
    virtual ~PowerSources() = default;

    /// The internal battery now; none without one or without a reading.
    virtual std::optional<BatteryReading> internalBattery() = 0;
    /// Tells `handler`, on the main thread, whenever a power source may have
    /// changed. None when the changes cannot be watched.
    virtual std::optional<int> addChangeHandler(std::function<void()> handler) = 0;
    virtual void removeChangeHandler(int token) = 0;
};

} // namespace quillon::platform
