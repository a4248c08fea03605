#include "features/breaks/BreakPanel.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace quillon {

namespace {

constexpr double cardRadius = 20;

QColor white(double alpha)
{
    return QColor::fromRgbF(1, 1, 1, float(alpha));
}

// Every digit takes the widest digit's cell, so the countdown does not
// shift as it counts (Qt 6.4 cannot ask the font for tabular figures).
void drawEqualDigits(QPainter& painter, const QRectF& rect, const QString& text)
{
    const QFontMetricsF metrics(painter.font());
    double cell = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        cell = std::max(cell, metrics.horizontalAdvance(QChar(digit)));
    double total = 0;
    for (const QChar c : text)
        total += c.isDigit() ? cell : metrics.horizontalAdvance(c);
    double x = rect.center().x() - total / 2;
    for (const QChar c : text) {
        const double width = c.isDigit() ? cell : metrics.horizontalAdvance(c);
        painter.drawText(QRectF(x, rect.y(), width, rect.height()), Qt::AlignCenter, QString(c));
        x += width;
    }
}

} // namespace

PillButton::PillButton(const QString& title, const QFont& font, QWidget* parent)
    : QAbstractButton(parent)
    , m_font(font)
{
    setText(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PillButton::setTitle(const QString& title)
{
    if (text() == title)
        return;
    setText(title);
    update();
}

void PillButton::setAlpha(double alpha)
{
    if (m_alpha == alpha)
        return;
    m_alpha = alpha;
    update();
}

void PillButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_alpha);
    QPainterPath pill;
    const QRectF r = QRectF(rect());
    pill.addRoundedRect(r, r.height() / 2, r.height() / 2);
    painter.fillPath(pill, white(isDown() ? 0.24 : 0.12));
    painter.setFont(m_font);
    painter.setPen(Qt::white);
    painter.drawText(r, Qt::AlignCenter, text());
}

BreakCard::BreakCard(const QString& title, const QString& body, QWidget* parent)
    : QWidget(parent)
    , m_title(title)
    , m_body(body)
    , m_fonts(BreakCardFonts::standard())
    , m_layout(BreakCardLayout::make(title, body, m_fonts))
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(m_layout.size.toSize());
    m_skip = new PillButton(QStringLiteral("Skip Break"), m_fonts.pill, this);
    m_skip->setGeometry(m_layout.skip.toRect());
    m_snooze = new PillButton(QStringLiteral("Snooze 5m"), m_fonts.pill, this);
    m_snooze->setGeometry(m_layout.snooze.toRect());
}

void BreakCard::setCountdown(const QString& text)
{
    if (m_countdown == text)
        return;
    m_countdown = text;
    update(m_layout.countdown.toAlignedRect());
}

void BreakCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), cardRadius, cardRadius);
    painter.fillPath(card, QColor::fromRgbF(20 / 255.0f, 20 / 255.0f, 22 / 255.0f, 0.92f));
    const int wrap = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    painter.setPen(Qt::white);
    painter.setFont(m_fonts.title);
    painter.drawText(m_layout.title, wrap, m_title);
    painter.setFont(m_fonts.body);
    painter.setPen(white(0.6));
    painter.drawText(m_layout.body, wrap, m_body);
    painter.fillRect(m_layout.separator, white(0.2));
    painter.setFont(m_fonts.countdown);
    painter.setPen(Qt::white);
    drawEqualDigits(painter, m_layout.countdown, m_countdown);
    painter.setFont(m_fonts.hint);
    painter.setPen(white(0.4));
    painter.drawText(m_layout.hint, wrap, QStringLiteral("Press Esc twice to skip"));
}

BreakPanel::BreakPanel(const QString& title, const QString& body, QImage backdrop)
    : m_backdrop(std::move(backdrop))
    , m_card(new BreakCard(title, body, this))
{
}

void BreakPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (m_backdrop.isNull()) {
        painter.fillRect(rect(), QColor(14, 14, 16));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), m_backdrop);
}

void BreakPanel::resizeEvent(QResizeEvent*)
{
    m_card->move((width() - m_card->width()) / 2, (height() - m_card->height()) / 2);
}

} // namespace quillon
