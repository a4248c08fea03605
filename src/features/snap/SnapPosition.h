#pragma once

#include "platform/Displays.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <optional>

namespace quillon {

/// The 18 places a window can be snapped to, in their fixed order. The first
/// 15 are placements with a frame rule; restore and the display moves are
/// actions the snapper carries out itself.
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

/// The case name as the logs print it ("leftTwoThirds").
QString caseName(SnapPosition position);

/// The frame a window takes for a placement inside the visible frame `visible`
/// (y-up, like every snapping rectangle); `windowSize` matters to `center`
/// only. None for restore and the display moves. Nothing is rounded.
std::optional<QRectF> snapFrame(SnapPosition position, const QRectF& visible, const QSizeF& windowSize);

/// The screen under a y-up point, in the order of the screen list: the first
/// whose frame holds it (minimum edges inside, maximum edges outside), else
/// the first within one point of it, which catches a pointer resting on the
/// right or top edge of the desktop.
std::optional<platform::Screen> containing(const QPointF& point);

} // namespace quillon
