#include "features/ocr/OCRSelection.h"

#include <algorithm>
#include <cmath>

namespace quillon::OCRSelection {

std::optional<QRectF> rectangle(QPointF start, QPointF current)
{
    const QRectF rect(std::min(start.x(), current.x()), std::min(start.y(), current.y()),
                      std::abs(current.x() - start.x()), std::abs(current.y() - start.y()));
    if (rect.width() < minimumSide || rect.height() < minimumSide)
        return std::nullopt;
    return rect;
}

QRectF globalRect(const QRectF& viewRect, const QRectF& screenFrame)
{
    return QRectF(screenFrame.x() + viewRect.x(), screenFrame.y() + screenFrame.height() - viewRect.bottom(),
                  viewRect.width(), viewRect.height());
}

QString sizeLabel(const QRectF& selection)
{
    return QStringLiteral("%1 \u00d7 %2").arg(int(selection.width())).arg(int(selection.height()));
}

QRectF labelRect(const QRectF& selection, const QSizeF& labelSize, double viewHeight)
{
    const double top = std::min(selection.bottom() + 4.0, viewHeight - 2.0 - labelSize.height());
    return QRectF(QPointF(selection.left(), top), labelSize);
}

} // namespace quillon::OCRSelection
