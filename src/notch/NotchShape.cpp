#include "notch/NotchShape.h"

#include "notch/NotchGeometry.h"

#include <QTransform>
#include <algorithm>

namespace quillon {

NotchShape NotchShape::of(const QRectF& rect, double radius)
{
    return {rect, std::min(rect.width() * 0.5, std::min(rect.height() * 0.5, radius))};
}

NotchShape NotchShape::lerp(const NotchShape& a, const NotchShape& b, double t)
{
    const auto mix = [t](double x, double y) { return x + (y - x) * t; };
    // The outline's points are linear in its edges and radius, so mixing those
    // moves every point of one outline straight towards its twin in the other.
    const double left = mix(a.rect.left(), b.rect.left()), right = mix(a.rect.right(), b.rect.right());
    const double bottom = mix(a.rect.top(), b.rect.top()), top = mix(a.rect.bottom(), b.rect.bottom());
    return {QRectF(QPointF(left, bottom), QPointF(right, top)), std::max(0.0, mix(a.radius, b.radius))};
}

QPainterPath NotchShape::path() const
{
    return NotchGeometry::shelfPath(rect, radius);
}

QPainterPath NotchShape::widgetPath(double height) const
{
    return QTransform(1, 0, 0, -1, 0, height).map(path());
}

} // namespace quillon
