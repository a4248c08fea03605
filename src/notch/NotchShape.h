#pragma once

#include <QPainterPath>
#include <QRectF>

namespace quillon {

/// The bar's body as the notch outline of one rectangle: flat top, two rounded
/// bottom corners. Kept as its rectangle and corner radius (y up, in the bar's
/// own coordinates) so that one shape can grow into another point by point.
struct NotchShape {
    QRectF rect;
    /// The corner radius as drawn: already no more than half the width or height.
    double radius = 0;

    /// The outline of `rect` with corners of `radius`, limited to what fits.
    static NotchShape of(const QRectF& rect, double radius);
    /// The shape a fraction `t` of the way from `a` to `b`; beyond 1 it
    /// overshoots, as a spring does.
    static NotchShape lerp(const NotchShape& a, const NotchShape& b, double t);

    /// The outline in y-up coordinates.
    QPainterPath path() const;
    /// The outline in the y-down coordinates of a widget `height` high.
    QPainterPath widgetPath(double height) const;

    bool operator==(const NotchShape&) const = default;
};

} // namespace quillon
