#include "shelf/DropPlateView.h"

#include "shelf/ShelfPaint.h"
#include "support/DS.h"
#include "support/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

void DropPlateView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    plate.addRoundedRect(r, 12, 12);
    painter.fillPath(plate, highlighted ? ShelfPaint::withAlpha(DS::accent(), 0.9)
                                        : QColor::fromRgbF(0, 0, 0, 0.8f));
    QPen pen(ShelfPaint::withAlpha(DS::accent(), highlighted ? 1.0 : 0.9), 1.5);
    if (!highlighted)
        pen.setDashPattern({5 / 1.5, 4 / 1.5});
    painter.strokePath(plate, pen);

    const QFont font = ShelfPaint::font(12, QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const auto icon = Symbols::image("tray.and.arrow.down");
    const double symbol = icon ? 18 : 0, text = metrics.height();
    // Symbol above text, 6 apart, centred as one block (y down).
    const double top = r.center().y() - (text + symbol + (icon ? 6 : 0)) / 2;
    if (icon)
        Symbols::paint(painter, *icon, QRectF(r.center().x() - 9, top, 18, 18), Qt::white);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(r.left(), top + symbol + (icon ? 6 : 0), r.width(), text), Qt::AlignCenter,
                     "Drop to add");
}

} // namespace quillon
