#include "shelf/AirDropZoneView.h"

#include "shelf/ShelfPaint.h"
#include "support/DS.h"
#include "support/Words.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

void AirDropZoneView::draw(QPainter& painter)
{
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath plate;
    plate.addRoundedRect(r, 12, 12);
    // The glow: the plate's accent, wider and fainter, behind it.
    for (int i = 3; i >= 1; --i) {
        QPainterPath glow;
        glow.addRoundedRect(r.adjusted(-i * 1.5, -i * 1.5, i * 1.5, i * 1.5), 12 + i, 12 + i);
        painter.fillPath(glow, ShelfPaint::withAlpha(DS::accent(), 0.12));
    }
    painter.fillPath(plate, highlighted() ? DS::accentHi() : DS::accent());
    // y up in the drawing: the rings sit 9 above the middle.
    const QPointF c(r.center().x(), r.center().y() - 9);
    painter.setPen(QPen(Qt::white, 1.4));
    painter.setBrush(Qt::NoBrush);
    for (const double radius : {5.0, 10.0, 15.0})
        painter.drawEllipse(c, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(c, 2, 2);
    painter.setFont(ShelfPaint::font(12, QFont::DemiBold));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(r.left(), r.center().y() + 24 - 15, r.width(), 15), Qt::AlignCenter,
                     Words::adapt("AirDrop"));
}

} // namespace quillon
