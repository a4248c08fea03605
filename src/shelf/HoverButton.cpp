#include "shelf/HoverButton.h"

#include "shelf/ShelfPaint.h"
#include "support/DS.h"
#include "support/Symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

HoverButton::HoverButton(const QIcon& icon, QWidget* parent)
    : QAbstractButton(parent)
    , hoverColor(ShelfPaint::white(0.22))
{
    setIcon(icon);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::pressed, this, [this] { applyBackground(true); });
    connect(this, &QAbstractButton::released, this, [this] { applyBackground(false); });
}

QColor HoverButton::background(bool pressed) const
{
    if (armed)
        return ShelfPaint::withAlpha(DS::warning(), pressed ? 0.9 : 0.7);
    if (pressed)
        return ShelfPaint::white(0.3);
    if (hovered)
        return hoverColor;
    return ShelfPaint::white(0.12);
}

void HoverButton::applyBackground(bool pressed)
{
    m_pressedLook = pressed;
    update();
}

void HoverButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const QRectF bounds = rect();
    shape.addRoundedRect(bounds, 7, 7);
    painter.fillPath(shape, background(m_pressedLook));
    if (armed) {
        QPainterPath border;
        border.addRoundedRect(bounds.adjusted(0.75, 0.75, -0.75, -0.75), 6.25, 6.25);
        painter.strokePath(border, QPen(DS::warning(), 1.5));
    }
    QRectF glyph(0, 0, 14, 14);
    glyph.moveCenter(bounds.center());
    Symbols::paint(painter, icon(), glyph, tint);
}

} // namespace quillon
