#pragma once

#include <QString>
#include <array>
#include <optional>

namespace quillon {

/// How the sweep observes an application's windows: `efficient` watches each
/// window for its end, `thorough` the application as a whole.
enum class SweepStrategy { efficient, thorough };

inline constexpr std::array<SweepStrategy, 2> allSweepStrategies{SweepStrategy::efficient, SweepStrategy::thorough};

QString rawValue(SweepStrategy strategy);
std::optional<SweepStrategy> sweepStrategyFromRaw(const QString& raw);

} // namespace quillon
