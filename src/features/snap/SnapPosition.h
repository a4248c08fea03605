#pragma once

#include <array>

namespace quillon {

/// The 18 places a window can be snapped to, in their fixed order.
enum class SnapPosition {
    leftHalf,
    rightHalf,
    topHalf,
    bottomHalf,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight,
    leftThird,
    centerThird,
    rightThird,
    leftTwoThirds,
    rightTwoThirds,
    maximize,
    center,
    restore,
    nextDisplay,
    previousDisplay,
};

inline constexpr std::array<SnapPosition, 18> allSnapPositions{
    SnapPosition::leftHalf,       SnapPosition::rightHalf,   SnapPosition::topHalf,
    SnapPosition::bottomHalf,     SnapPosition::topLeft,     SnapPosition::topRight,
    SnapPosition::bottomLeft,     SnapPosition::bottomRight, SnapPosition::leftThird,
    SnapPosition::centerThird,    SnapPosition::rightThird,  SnapPosition::leftTwoThirds,
    SnapPosition::rightTwoThirds, SnapPosition::maximize,    SnapPosition::center,
    SnapPosition::restore,        SnapPosition::nextDisplay, SnapPosition::previousDisplay,
};

} // namespace quillon
