#pragma once

#include "input/OwnerHandlers.h"

#include <optional>

namespace quillon {

/// The one shared watcher of the computer's power sources. Each client
/// registers a handler under its own identity and is told of every change.
///
/// The power-source reading is not attached yet: there is no state to read
/// and no change to report.
class BatteryMonitor {
public:
    struct State {
        bool isOnBattery = false;
        /// The internal battery's charge.
        int percent = 0;
        bool operator==(const State&) const = default;
    };
    using Handler = std::function<void(State)>;

    BatteryMonitor() = default;
    BatteryMonitor(const BatteryMonitor&) = delete;
    BatteryMonitor& operator=(const BatteryMonitor&) = delete;

    /// Stores (or replaces) the owner's handler. It is not called with the
    /// current state; a client that needs one reads currentState().
    void add(const void* owner, Handler handler) { m_handlers.set(owner, std::move(handler)); }
    void remove(const void* owner) { m_handlers.remove(owner); }
    /// None without an internal battery or a reading.
    std::optional<State> currentState() const { return std::nullopt; }

private:
    OwnerHandlers<State> m_handlers;
};

} // namespace quillon
