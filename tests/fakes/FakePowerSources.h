#pragma once

#include "platform/Observers.h"
#include "platform/PowerSources.h"

namespace quillon::fakes {

/// A scripted battery: set `battery`, then `change()` tells the handlers.
class FakePowerSources final : public platform::PowerSources {
public:
    std::optional<platform::BatteryReading> internalBattery() override { return battery; }
    std::optional<int> addChangeHandler(std::function<void()> handler) override
    {
        ++addCalls;
        if (refuseWatching)
            return std::nullopt;
        return m_handlers.add(std::move(handler));
    }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

    void change() { m_handlers.notify(); }
    void set(bool onBattery, double percent)
    {
        battery = platform::BatteryReading{onBattery, percent};
        change();
    }
    bool watching() const { return !m_handlers.empty(); }

    std::optional<platform::BatteryReading> battery;
    bool refuseWatching = false;
    int addCalls = 0;

private:
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
