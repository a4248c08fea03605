#pragma once

#include "features/snap/SnapPosition.h"

#include <QIcon>
#include <QRectF>
#include <optional>

namespace quillon {

/// The small glyphs of the snap positions: a rounded screen outline with the
/// position's target area filled, as template images (masks whose colour the
/// place that draws them chooses).
class SnapIcon {
public:
    SnapIcon() = delete;

    /// The screen glyph of a position with a target area; none for restore
    /// and the display moves, which have a symbol instead.
    static std::optional<QIcon> image(SnapPosition position);
    /// The symbol of restore ("arrow.uturn.backward"), next display
    /// ("arrow.right.to.line") and previous display ("arrow.left.to.line");
    /// none for the other positions.
    static std::optional<QIcon> symbolImage(SnapPosition position);

    /// The target area as fractions of the screen (x and y from the top
    /// left); none for positions without one.
    static std::optional<QRectF> targetArea(SnapPosition position);
};

} // namespace quillon
