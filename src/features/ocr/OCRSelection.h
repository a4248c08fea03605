#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace quillon::OCRSelection {

/// The smallest selection, in points, on both axes.
inline constexpr double minimumSide = 8.0;

/// The rectangle of a drag from `start` to `current` (view coordinates); none
/// when it is less than the minimum on either axis.
std::optional<QRectF> rectangle(QPointF start, QPointF current);

/// A selection in view coordinates (y down) of the window over `screenFrame`
/// (y-up global space), in the y-up global space.
QRectF globalRect(const QRectF& viewRect, const QRectF& screenFrame);

/// "W × H", each side truncated to whole points.
QString sizeLabel(const QRectF& selection);

/// Where the label of `labelSize` goes under `selection` (both y down) in a
/// view `viewHeight` tall: its left edge at the selection's, 4 points under
/// it, and held 2 points above the view's bottom edge.
QRectF labelRect(const QRectF& selection, const QSizeF& labelSize, double viewHeight);

} // namespace quillon::OCRSelection
