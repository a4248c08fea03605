#include "windows/SweepStrategy.h"

namespace quillon {

QString rawValue(SweepStrategy strategy)
{
    return strategy == SweepStrategy::efficient ? QStringLiteral("efficient") : QStringLiteral("thorough");
}

std::optional<SweepStrategy> sweepStrategyFromRaw(const QString& raw)
{
    for (const SweepStrategy strategy : allSweepStrategies) {
        if (rawValue(strategy) == raw)
            return strategy;
    }
    return std::nullopt;
}

} // namespace quillon
