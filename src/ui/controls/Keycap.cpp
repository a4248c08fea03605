#include "ui/controls/Keycap.h"

#include "input/HotkeyFormat.h"
#include "support/KeyNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace quillon {

namespace {

QFont keycapFont(const QFont& base)
{
    QFont font = base;
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    return font;
}

QLabel* smallText(const QString& text, int pixelSize, QFont::Weight weight, double alpha)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    label->setFont(font);
    QPalette palette = label->palette();
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(alpha);
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QHBoxLayout* row(QWidget* owner, int spacing)
{
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return layout;
}

} // namespace

Keycap::Keycap(const QString& label, QWidget* parent)
    : QWidget(parent)
    , m_label(label)
{
    setAccessibleName(label);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize Keycap::sizeHint() const
{
    const QFontMetrics metrics(keycapFont(font()));
    const int width = std::max(15, metrics.horizontalAdvance(m_label) + 8);
    return {width, metrics.height() + 4};
}

void Keycap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    QColor fill = primary;
    fill.setAlphaF(0.06);
    QColor edge = primary;
    edge.setAlphaF(0.18);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 5, 5);
    painter.setFont(keycapFont(font()));
    painter.setPen(primary);
    painter.drawText(rect(), Qt::AlignCenter, m_label);
}

KeyChip::KeyChip(const QString& spec, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = row(this, 3);
    const HotkeyFormat::Parsed parsed = HotkeyFormat::parse(spec);
    if (parsed.rightSide) {
        auto* right = smallText(QStringLiteral("right"), 11, QFont::DemiBold, 0.55);
        right->setObjectName(QStringLiteral("right"));
        layout->addWidget(right);
    }
    for (const QString& key : parsed.keys)
        layout->addWidget(new Keycap(KeyNames::modifier(key)));
    setAccessibleName(KeyNames::label(spec));
}

QStringList KeyChip::parts() const
{
    QStringList parts;
    if (findChild<QLabel*>(QStringLiteral("right")))
        parts << QStringLiteral("right");
    for (const Keycap* cap : findChildren<Keycap*>())
        parts << cap->label();
    return parts;
}

Hotkeys::Hotkeys(const QStringList& keys, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = row(this, 6);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0)
            layout->addWidget(smallText(QStringLiteral("or"), 10, QFont::Normal, 0.35));
        layout->addWidget(new KeyChip(keys[i]));
    }
    layout->addStretch(1);
}

} // namespace quillon
