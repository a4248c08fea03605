#include "ui/ToggleSwitch.h"

#include "support/DS.h"

#include <QPainter>
#include <QSignalBlocker>

namespace quillon {

ToggleSwitch::ToggleSwitch(const QString& label, QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(label);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (m_binding)
            m_binding->set(on);
    });
}

void ToggleSwitch::bind(Binding<bool> binding)
{
    m_binding = std::move(binding);
    reload();
}

void ToggleSwitch::reload()
{
    if (!m_binding)
        return;
    const QSignalBlocker quiet(this);
    setChecked(m_binding->get());
    update();
}

QSize ToggleSwitch::sizeHint() const
{
    return {32, 18};
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2;
    QColor fill = isChecked() ? DS::accent() : palette().color(QPalette::Mid);
    if (!isEnabled())
        fill.setAlphaF(0.45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knob = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(DS::accent(), 1.5));
        painter.drawRoundedRect(track, radius, radius);
    }
}

} // namespace quillon
