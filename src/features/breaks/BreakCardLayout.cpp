#include "features/breaks/BreakCardLayout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

QFont sized(const QFont& base, double pixels, QFont::Weight weight)
{
    QFont font = base;
    // Qt takes whole pixels; the half-pixel sizes round to the nearest.
    font.setPixelSize(int(std::lround(pixels)));
    font.setWeight(weight);
    return font;
}

double advance(const QFont& font, const QString& text)
{
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text));
}

} // namespace

BreakCardFonts BreakCardFonts::standard()
{
    const QFont base = qGuiApp ? QGuiApplication::font() : QFont();
    return {sized(base, 19, QFont::DemiBold), sized(base, 12.5, QFont::Normal),
            sized(base, 34, QFont::Medium), sized(base, 13, QFont::DemiBold), sized(base, 11, QFont::Normal)};
}

double BreakCardLayout::wrappedHeight(const QFont& font, const QString& text, double width, double extra)
{
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += line.height();
        ++lines;
    }
    layout.endLayout();
    if (lines == 0)
        height = QFontMetricsF(font).height();
    return std::ceil(height + extra * std::max(0, lines - 1));
}

BreakCardLayout BreakCardLayout::make(const QString& title, const QString& body, const BreakCardFonts& fonts)
{
    BreakCardLayout l;
    double y = padding;
    l.title = QRectF(textX, y, textWidth, wrappedHeight(fonts.title, title, textWidth));
    y = l.title.bottom() + 9;
    l.body = QRectF(textX, y, textWidth, wrappedHeight(fonts.body, body, textWidth, bodyLineSpacing));
    y = l.body.bottom() + 16;
    l.separator = QRectF((width - 40) / 2, y, 40, 1);
    y = l.separator.bottom() + 16;
    l.countdown = QRectF(textX, y, textWidth, std::ceil(QFontMetricsF(fonts.countdown).height()));
    y = l.countdown.bottom() + 20;

    const double pillHeight = std::ceil(QFontMetricsF(fonts.pill).height()) + 18;
    const double skipWidth = std::max(advance(fonts.pill, QStringLiteral("Skip Break")),
                                      advance(fonts.pill, QStringLiteral("End Break"))) +
                             44;
    const double snoozeWidth = advance(fonts.pill, QStringLiteral("Snooze 5m")) + 44;
    const double rowX = (width - (skipWidth + pillGap + snoozeWidth)) / 2;
    l.skip = QRectF(rowX, y, skipWidth, pillHeight);
    l.snooze = QRectF(l.skip.right() + pillGap, y, snoozeWidth, pillHeight);
    y = l.skip.bottom() + 12;
    l.hint = QRectF(textX, y, textWidth,
                    wrappedHeight(fonts.hint, QStringLiteral("Press Esc twice to skip"), textWidth));
    y = l.hint.bottom() + padding;
    l.size = QSizeF(width, y);
    return l;
}

} // namespace quillon
