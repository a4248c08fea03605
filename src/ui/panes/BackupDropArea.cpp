#include "ui/panes/BackupDropArea.h"

#include "support/DS.h"
#include "support/Symbols.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

constexpr int textPixels = 11;
constexpr int glyphSize = 12;
constexpr int verticalPadding = 8;
constexpr double radius = 7;

QFont smallFont(QFont font)
{
    font.setPixelSize(textPixels);
    return font;
}

} // namespace

BackupDropArea::BackupDropArea(QWidget* parent)
    : QWidget(parent)
{
    setAcceptDrops(true);
    setAccessibleName(text);
    setFont(smallFont(font()));
}

QSize BackupDropArea::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text) + glyphSize + 30,
            std::max(metrics.height(), glyphSize) + 2 * verticalPadding};
}

void BackupDropArea::setTargeted(bool targeted)
{
    if (m_targeted == targeted)
        return;
    m_targeted = targeted;
    update();
    emit targetedChanged(targeted);
}

void BackupDropArea::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        return;
    event->acceptProposedAction();
    setTargeted(true);
}

void BackupDropArea::dragLeaveEvent(QDragLeaveEvent*)
{
    setTargeted(false);
}

void BackupDropArea::dropEvent(QDropEvent* event)
{
    setTargeted(false);
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    emit dropped(urls);
}

void BackupDropArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor secondary = palette().color(QPalette::PlaceholderText);
    const QColor ink = m_targeted ? DS::accent() : secondary;
    QColor edge = m_targeted ? DS::accent() : secondary;
    if (!m_targeted)
        edge.setAlphaF(edge.alphaF() * 0.35);

    // Stroked along the inner edge: the 1-point line sits half a point in.
    QPen dashes(edge, 1);
    dashes.setDashPattern({4, 4});
    dashes.setMiterLimit(10);
    painter.setPen(dashes);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text);
    const int gap = 5;
    const int left = (width() - glyphSize - gap - textWidth) / 2;
    if (const auto icon = Symbols::image(QStringLiteral("arrow.down.doc"))) {
        const QImage glyph = Symbols::render(*icon, QSize(glyphSize * 2, glyphSize * 2), ink);
        painter.drawImage(QRectF(left, (height() - glyphSize) / 2.0, glyphSize, glyphSize), glyph);
    }
    painter.setPen(ink);
    painter.drawText(QRect(left + glyphSize + gap, 0, textWidth + 2, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text);
}

} // namespace quillon
