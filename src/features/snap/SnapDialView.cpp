#include "features/snap/SnapDialView.h"

#include "features/snap/SnapIcon.h"
#include "support/Symbols.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace quillon {

SnapDialView::SnapDialView()
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(int(side), int(side));
}

void SnapDialView::setSelected(std::optional<SnapPosition> selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

QPainterPath SnapDialView::outline(const QRectF& bounds)
{
    QPainterPath path;
    path.addRoundedRect(bounds.adjusted(2, 2, -2, -2), 22, 22);
    return path;
}

void SnapDialView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF b(rect());
    const QPointF c = b.center();
    const double r = b.width() * 0.5;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, int(0.55 * 255)));
    painter.drawPath(outline(b));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, int(0.12 * 255)), 1.0));
    painter.drawRoundedRect(b.adjusted(2.5, 2.5, -2.5, -2.5), 21.5, 21.5);

    // Qt's arc angles run counter-clockwise as seen on screen, like y-up angles.
    const QColor accent = QGuiApplication::palette().color(QPalette::Highlight);
    const QRectF outer(c.x() - (r - 9), c.y() - (r - 9), 2 * (r - 9), 2 * (r - 9));
    const QRectF inner(c.x() - (r - 24), c.y() - (r - 24), 2 * (r - 24), 2 * (r - 24));
    painter.setPen(Qt::NoPen);
    for (size_t i = 0; i < order.size(); ++i) {
        const double centre = double(i) * 45;
        QPainterPath piece;
        piece.arcMoveTo(outer, centre - 19);
        piece.arcTo(outer, centre - 19, 38);
        piece.arcTo(inner, centre + 19, -38);
        piece.closeSubpath();
        painter.setBrush(order[i] == m_selected ? accent : QColor(255, 255, 255, int(0.14 * 255)));
        painter.drawPath(piece);
    }

    if (!m_selected)
        return;
    if (const auto icon = SnapIcon::image(*m_selected)) {
        const QSizeF s = SnapIcon::size * 1.4;
        Symbols::paint(painter, *icon,
                       QRectF(c.x() - s.width() / 2, c.y() - s.height() / 2, s.width(), s.height()),
                       Qt::white);
    }
}

} // namespace quillon
