#include "ui/controls/RowButton.h"

#include "support/DS.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/RowLabel.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace quillon {

RowButton::RowButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(7, 4, 7, 4);
}

double RowButton::washOpacity(bool pressed, bool hovered, bool enabled)
{
    if (pressed)
        return 0.10;
    if (hovered && enabled)
        return 0.055;
    return 0;
}

QColor RowButton::wash() const
{
    QColor color = palette().color(QPalette::WindowText);
    color.setAlphaF(washOpacity(isDown(), m_hovering, isEnabled()));
    return color;
}

QSize RowButton::sizeHint() const
{
    return m_layout->sizeHint();
}

void RowButton::paintEvent(QPaintEvent*)
{
    const QColor color = wash();
    if (color.alpha() == 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(rect()), 6, 6);
}

void RowButton::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    update();
    QAbstractButton::enterEvent(event);
}

void RowButton::leaveEvent(QEvent* event)
{
    m_hovering = false;
    update();
    QAbstractButton::leaveEvent(event);
}

ShowMeRow::ShowMeRow(const QString& title, const QString& sub, std::function<void()> action, QWidget* parent)
    : RowButton(parent)
{
    contentLayout()->setSpacing(9);
    auto* glyph = glyphLabel(QStringLiteral("play.circle"), 15, DS::accent());
    auto* label = new RowLabel(title, sub);
    contentLayout()->addWidget(glyph, 0, Qt::AlignVCenter);
    contentLayout()->addWidget(label, 1);
    // Clicks anywhere in the row reach the button.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(title);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
}

} // namespace quillon
