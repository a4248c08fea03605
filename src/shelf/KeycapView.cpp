#include "shelf/KeycapView.h"

#include "shelf/ShelfPaint.h"
#include "support/DS.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

KeycapView::KeycapView(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

const QFont& KeycapView::font()
{
    static const QFont font = ShelfPaint::font(8.5, QFont::Bold, true);
    return font;
}

QSizeF KeycapView::fittingSize() const
{
    return QSizeF(std::max(13.0, QFontMetricsF(font()).horizontalAdvance(m_text) + 6), 13);
}

void KeycapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath cap;
    cap.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.fillPath(cap, QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    painter.strokePath(cap, QPen(DS::hudBlack(), 1));
    painter.setFont(font());
    painter.setPen(ShelfPaint::white(0.92));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace quillon
