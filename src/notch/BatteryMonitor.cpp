#include "notch/BatteryMonitor.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>
#include <cmath>

namespace quillon {

BatteryMonitor::~BatteryMonitor()
{
    if (m_source && platform::hasPlatform())
        platform::platform().powerSources().removeChangeHandler(*m_source);
}

void BatteryMonitor::add(const void* owner, Handler handler)
{
    m_handlers.set(owner, std::move(handler));
    start();
}

void BatteryMonitor::remove(const void* owner)
{
    m_handlers.remove(owner);
    if (m_handlers.empty() && m_source) {
        platform::platform().powerSources().removeChangeHandler(*m_source);
        m_source.reset();
    }
}

// A failure leaves the handlers registered; the next registration tries again.
void BatteryMonitor::start()
{
    if (m_source)
        return;
    m_source = platform::platform().powerSources().addChangeHandler([this] { emitCurrentState(); });
    if (!m_source)
        Log::error(QStringLiteral("Awake: could not create battery notification source"));
}

void BatteryMonitor::emitCurrentState()
{
    if (const auto state = currentState())
        m_handlers.notify(*state);
}

// Whole percent, rounded down as the charge is counted; a reading outside
// 0 to 100 (a battery reporting past its design capacity) is kept in range.
std::optional<BatteryMonitor::State> BatteryMonitor::currentState() const
{
    const auto reading = platform::platform().powerSources().internalBattery();
    if (!reading)
        return std::nullopt;
    const double percent = std::isfinite(reading->percent) ? std::floor(reading->percent) : 0.0;
    return State{reading->isOnBattery, int(std::clamp(percent, 0.0, 100.0))};
}

} // namespace quillon
