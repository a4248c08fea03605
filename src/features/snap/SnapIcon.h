#pragma once

#include "features/snap/SnapPosition.h"

#include <QIcon>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace quillon {

/// The small glyphs of the snap positions: a rounded screen outline with the
/// position's target area filled, as 24 × 16 template images (masks whose
/// colour the place that draws them chooses; levels of grey are alpha).
class SnapIcon {
public:
    SnapIcon() = delete;

    static constexpr QSizeF size{24, 16};
    /// The outline's and the target's alpha: the tertiary and the secondary
    /// label colours of a template.
    static constexpr double outlineAlpha = 0.26;
    static constexpr double targetAlpha = 0.5;

    /// The glyph of a position: the screen glyph of a placement, the symbol of
    /// restore and the display moves (none when it cannot be drawn).
    static std::optional<QIcon> image(SnapPosition position);
    /// The symbol of restore ("arrow.uturn.backward"), next display
    /// ("arrow.right.to.line") and previous display ("arrow.left.to.line"),
    /// drawn 3 points above the centre of a 24 × 16 template; none for the
    /// other positions.
    static std::optional<QIcon> symbolImage(SnapPosition position);

    /// The target area of a placement in the y-up unit square; none for
    /// restore and the display moves.
    static std::optional<QRectF> targetArea(SnapPosition position);
    /// The outline's rectangle in the 24 × 16 image.
    static QRectF outlineRect();
    /// The filled target in the 24 × 16 image, y down as the image is drawn;
    /// none for restore and the display moves.
    static std::optional<QRectF> targetRect(SnapPosition position);
};

} // namespace quillon
