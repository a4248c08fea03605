#include "ui/ProgressBarImage.h"

#include <QPainter>
#include <cmath>

namespace quillon {

double ProgressBarImage::filledWidth(double fraction, const QSizeF& size)
{
    double width = 0;
    if (std::isnan(fraction) || fraction <= 0)
        width = 0;
    else if (fraction > 1)
        width = size.width();
    else
        width = fraction * size.width();
    return std::max(width, size.height());
}

QImage ProgressBarImage::make(double fraction, const QSizeF& size, qreal scale)
{
    QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 64));
    const qreal radius = size.height() / 2;
    painter.drawRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
    // Over the track the two layers add up to the darker bar.
    painter.drawRoundedRect(QRectF(0, 0, filledWidth(fraction, size), size.height()), radius, radius);
    return image;
}

} // namespace quillon
