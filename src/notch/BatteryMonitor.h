#pragma once

#include "input/OwnerHandlers.h"

#include <optional>

namespace quillon {

/// The one shared watcher of the computer's power sources. Each client
/// registers a handler under its own identity and is told of every change;
/// the power sources are watched while at least one client is registered.
class BatteryMonitor {
public:
    struct State {
        bool isOnBattery = false;
        /// The internal battery's charge, 0 to 100.
        int percent = 0;
        bool operator==(const State&) const = default;
    };
    using Handler = std::function<void(State)>;

    BatteryMonitor() = default;
    ~BatteryMonitor();
    BatteryMonitor(const BatteryMonitor&) = delete;
    BatteryMonitor& operator=(const BatteryMonitor&) = delete;

    /// Stores (or replaces) the owner's handler and starts watching. It is not
    /// called with the current state; a client that needs one reads
    /// currentState().
    void add(const void* owner, Handler handler);
    /// The last owner to leave stops the watching.
    void remove(const void* owner);
    /// None without an internal battery or a reading.
    std::optional<State> currentState() const;

    bool isWatching() const { return m_source.has_value(); }

private:
    void start();
    void emitCurrentState();

    OwnerHandlers<State> m_handlers;
    /// The power-source registration while watching.
    std::optional<int> m_source;
};

} // namespace quillon
