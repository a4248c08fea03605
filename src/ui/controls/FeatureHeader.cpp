#include "ui/controls/FeatureHeader.h"

#include "support/KeyNames.h"
#include "support/Symbols.h"
#include "ui/SettingsModel.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/HowItWorks.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace quillon {

namespace {

/// The 44-point tile: the tint lightened at the top left, the glyph in white.
class Tile final : public QWidget {
public:
    explicit Tile(SettingsPane pane)
        : m_pane(pane)
    {
        setFixedSize(44, 44);
        setAccessibleName(pane.title());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor tint = m_pane.tint();
        const QColor light =
            QColor::fromRgbF(tint.redF() + (1 - tint.redF()) * 0.3, tint.greenF() + (1 - tint.greenF()) * 0.3,
                             tint.blueF() + (1 - tint.blueF()) * 0.3, tint.alphaF());
        QLinearGradient gradient(QPointF(0, 0), QPointF(width() / 2.0, height()));
        gradient.setColorAt(0, light);
        gradient.setColorAt(1, tint);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRoundedRect(QRectF(rect()), 11, 11);
        if (FeatureHeader::tileHasBorder(m_pane)) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(255, 255, 255, 64), 1));
            painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10.5, 10.5);
        }
        if (const auto icon = m_pane.icon()) {
            const QRectF glyph((width() - 19) / 2.0, (height() - 19) / 2.0, 19, 19);
            Symbols::paint(painter, *icon, glyph, Qt::white);
        }
    }

private:
    SettingsPane m_pane;
};

QLabel* sized(const QString& text, double pixelSize, QFont::Weight weight)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPixelSize(int(pixelSize));
    // 12.5 px has no pixel size of its own: the point size carries the half.
    if (pixelSize != int(pixelSize))
        font.setPointSizeF(pixelSize * 72.0 / 96.0);
    font.setWeight(weight);
    label->setFont(font);
    return label;
}

} // namespace

FeatureHeader::FeatureHeader(SettingsModel& model, SettingsPane pane, QWidget* help, QWidget* parent)
    : QWidget(parent)
{
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(14);
    m_tile = new Tile(pane);
    row->addWidget(m_tile, 0, Qt::AlignVCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(sized(pane.title(), 16, QFont::DemiBold));
    auto* blurb = sized(KeyNames::label(pane.blurb()), 12.5, QFont::Normal);
    blurb->setWordWrap(true);
    blurb->setForegroundRole(QPalette::PlaceholderText);
    titles->addWidget(blurb);
    row->addLayout(titles, 1);

    if (pane != SettingsPane::notch) {
        m_switch = new ToggleSwitch(pane.title() + QStringLiteral(" on"));
        m_switch->bind(model.master(pane));
        row->addWidget(m_switch, 0, Qt::AlignVCenter);
    }

    m_howItWorks = new HowItWorks(pane, help);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);
    layout->addWidget(header);
    layout->addWidget(m_howItWorks);
}

} // namespace quillon
