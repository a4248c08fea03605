#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

namespace quillon {

/// The fonts of the break card, in device-independent pixels.
struct BreakCardFonts {
    QFont title;
    QFont body;
    QFont countdown;
    QFont pill;
    QFont hint;
    /// The desktop's UI font at the card's sizes and weights.
    static BreakCardFonts standard();
};

/// Where everything of the break card goes, from the top, in card
/// coordinates (y down). The card's height is the sum of its parts.
struct BreakCardLayout {
    static constexpr double width = 300;
    static constexpr double textWidth = 248;
    static constexpr double textX = 26;
    static constexpr double padding = 30;
    static constexpr double pillGap = 10;
    static constexpr double bodyLineSpacing = 3;

    QRectF title;
    QRectF body;
    QRectF separator;
    QRectF countdown;
    QRectF skip;
    QRectF snooze;
    QRectF hint;
    QSizeF size;

    static BreakCardLayout make(const QString& title, const QString& body, const BreakCardFonts& fonts);
    /// The height of `text` wrapped to `width`, with `extra` pixels between
    /// lines, rounded up.
    static double wrappedHeight(const QFont& font, const QString& text, double width, double extra = 0);
};

} // namespace quillon
