#pragma once

#include <algorithm>
#include <array>

namespace quillon::Config {

/// Battery percentages whose downward crossing shows a low-battery chip.
inline constexpr std::array<int, 2> batteryChipThresholds{20, 10};

/// The lowest threshold: at or below it the battery is critical, drawn and
/// announced in the warning colour.
constexpr int batteryCriticalLevel()
{
    return *std::min_element(batteryChipThresholds.begin(), batteryChipThresholds.end());
}

/// The choices offered for "notch.maxHintItems": 2 through 20 in steps of 2.
inline constexpr std::array<int, 10> notchHintCountChoices{2, 4, 6, 8, 10, 12, 14, 16, 18, 20};

/// Keep-awake presets, in minutes, in menu order.
inline constexpr std::array<int, 5> awakeDurationPresetsMinutes{15, 30, 60, 120, 300};

/// Settle passes of focus dimming after a restack, in seconds.
inline constexpr std::array<double, 2> focusRestackSettles{0.15, 0.5};

/// Extra settle passes while the front application shows no window yet.
inline constexpr std::array<double, 5> focusLaunchSettles{0.25, 0.45, 0.8, 1.3, 2.0};

} // namespace quillon::Config
