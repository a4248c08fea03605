#pragma once

#include <QDateTime>

namespace quillon::platform {

/// Wall-clock time and time since boot. Feature code reads time only here,
/// so tests can step it.
class Clock {
public:
    virtual ~Clock() = default;
    /// The current wall-clock time, in UTC.
    virtual QDateTime now() const = 0;
    /// Seconds on a monotonic clock (never goes back; its origin is arbitrary).
    virtual double uptime() const = 0;
};

} // namespace quillon::platform
