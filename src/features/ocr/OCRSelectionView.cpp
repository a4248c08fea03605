#include "features/ocr/OCRSelectionView.h"

#include "features/ocr/OCRSelection.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

OCRSelectionView::OCRSelectionView(QImage frozen, QWidget* parent)
    : QWidget(parent)
    , m_frozen(std::move(frozen))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

// Without a compositor nothing shows through a window, so the still image is
// painted under the dim; a screen whose capture failed is dimmed over black.
void OCRSelectionView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bounds = rect();
    if (m_frozen.isNull())
        painter.fillRect(bounds, Qt::black);
    else
        painter.drawImage(bounds, m_frozen);
    painter.fillRect(bounds, QColor(0, 0, 0, qRound(0.28 * 255)));
    if (!m_start || !m_current)
        return;
    const QRectF selection = QRectF(*m_start, *m_current).normalized();
    if (!m_frozen.isNull()) {
        const double sx = m_frozen.width() / bounds.width();
        const double sy = m_frozen.height() / bounds.height();
        painter.drawImage(
            selection, m_frozen,
            QRectF(selection.x() * sx, selection.y() * sy, selection.width() * sx, selection.height() * sy));
    } else {
        painter.fillRect(selection, Qt::black);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(selection);

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    painter.setFont(font);
    const QString text = OCRSelection::sizeLabel(selection);
    const QSizeF size = QFontMetricsF(font).size(Qt::TextSingleLine, text);
    const QRectF label = OCRSelection::labelRect(selection, size, bounds.height());
    QPainterPath background;
    background.addRoundedRect(label.adjusted(-4, -2, 4, 2), 3, 3);
    painter.fillPath(background, QColor(0, 0, 0, qRound(0.55 * 255)));
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void OCRSelectionView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_start = event->position();
    m_current = m_start;
    update();
}

void OCRSelectionView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_start)
        return;
    m_current = event->position();
    update();
}

// The rectangle ends at the last dragged point, not where the button rose.
void OCRSelectionView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_start)
        return;
    const auto selection = OCRSelection::rectangle(*m_start, m_current.value_or(*m_start));
    m_start.reset();
    m_current.reset();
    update();
    if (selection) {
        if (onFinish)
            onFinish(*selection);
    } else if (onCancel) {
        onCancel();
    }
}

} // namespace quillon
