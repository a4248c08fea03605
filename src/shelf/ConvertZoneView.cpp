#include "shelf/ConvertZoneView.h"

#include "shelf/ShelfPaint.h"
#include "support/DS.h"
#include "support/Symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace quillon {

namespace {

// A format button: a light rounded plate with its title.
class FormatButton final : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath plate;
        plate.addRoundedRect(QRectF(rect()), 6, 6);
        painter.fillPath(plate, ShelfPaint::white(isDown() ? 0.26 : 0.14));
        painter.setFont(ShelfPaint::font(11, QFont::DemiBold));
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

} // namespace

QAbstractButton* ConvertZoneView::formatButton(const QString& title)
{
    auto* button = new FormatButton(this);
    button->setText(title);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void ConvertZoneView::showFormats(const QList<ShelfConvert::Format>& formats)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (const ShelfConvert::Format format : formats) {
        QAbstractButton* button = formatButton(ShelfConvert::rawValue(format));
        button->setObjectName(ShelfConvert::rawValue(format));
        connect(button, &QAbstractButton::clicked, this, [this, button] {
            if (const auto format = ShelfConvert::fromRaw(button->objectName()); format && onFormat)
                onFormat(*format);
        });
        m_buttons.append(button);
    }
    QAbstractButton* cancel = formatButton(QStringLiteral("\u2715"));
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (onCancel)
            onCancel();
    });
    m_buttons.append(cancel);
    for (QAbstractButton* button : std::as_const(m_buttons)) {
        button->setAttribute(Qt::WA_TransparentForMouseEvents, alpha() < 0.01);
        button->show();
    }
    layoutButtons();
    update();
}

void ConvertZoneView::reset()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    update();
}

void ConvertZoneView::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

void ConvertZoneView::layoutButtons()
{
    if (m_buttons.isEmpty())
        return;
    const double h = height();
    // The frames come y up, from the bounds inset by 1.
    const QList<QRectF> frames =
        ShelfConvert::buttonFrames(int(m_buttons.size()), QRectF(1, 1, width() - 2, h - 2));
    for (int i = 0; i < m_buttons.size() && i < frames.size(); ++i) {
        const QRectF f = frames[i];
        m_buttons[i]->setGeometry(QRectF(f.x(), h - f.y() - f.height(), f.width(), f.height()).toRect());
    }
}

void ConvertZoneView::draw(QPainter& painter)
{
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath plate;
    plate.addRoundedRect(r, 12, 12);
    if (highlighted()) {
        painter.fillPath(plate, DS::accentSoft());
        painter.strokePath(plate, QPen(DS::accent(), 1.5));
    } else {
        QPen dashed(ShelfPaint::white(0.22), 1.5);
        dashed.setDashPattern({5 / 1.5, 4 / 1.5});
        painter.strokePath(plate, dashed);
    }
    if (!m_buttons.isEmpty())
        return;
    // y up (mid − 3 … mid + 23) is y down (mid − 23 … mid + 3).
    if (const auto icon = Symbols::image("arrow.2.squarepath"))
        Symbols::paint(painter, *icon, QRectF(r.center().x() - 13, r.center().y() - 23, 26, 26),
                       ShelfPaint::white(0.85));
    painter.setFont(ShelfPaint::font(12, QFont::DemiBold));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(r.left(), r.center().y() + 23 - 15, r.width(), 15), Qt::AlignCenter, "Convert");
}

} // namespace quillon
