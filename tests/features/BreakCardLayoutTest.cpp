#include "features/breaks/BreakCardLayout.h"

#include <QFontMetricsF>
#include <cmath>
#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(BreakCardLayout, TheHeightIsTheSumOfItsPartsAndThePillRowIsCentred)
{
    const BreakCardFonts fonts = BreakCardFonts::standard();
    struct Row {
        const char* name;
        QString title;
        QString body;
    };
    const Row table[] = {
        {"a prompt", "Look 20 feet away", "Find something across the room and let your eyes settle on it"},
        {"a title that wraps", QString("Unclench, blink, breathe ").repeated(4), "Blink"},
        {"empty texts", "", ""},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const BreakCardLayout l = BreakCardLayout::make(row.title, row.body, fonts);
        const double parts = 30 + l.title.height() + 9 + l.body.height() + 16 + 1 + 16 +
                             l.countdown.height() + 20 + l.skip.height() + 12 + l.hint.height() + 30;
        EXPECT_DOUBLE_EQ(l.size.height(), parts);
        EXPECT_DOUBLE_EQ(l.size.width(), 300);
        EXPECT_EQ(l.separator, QRectF(130, l.body.bottom() + 16, 40, 1));
        for (const QRectF& text : {l.title, l.body, l.countdown, l.hint}) {
            EXPECT_DOUBLE_EQ(text.x(), 26);
            EXPECT_DOUBLE_EQ(text.width(), 248);
        }
        // Each part follows the one before, nothing overlaps.
        EXPECT_LT(l.title.bottom(), l.body.top());
        EXPECT_LT(l.countdown.bottom(), l.skip.top());
        EXPECT_LT(l.skip.bottom(), l.hint.top());

        const QFontMetricsF pill(fonts.pill);
        const double widest = std::max(std::ceil(pill.horizontalAdvance("Skip Break")),
                                       std::ceil(pill.horizontalAdvance("End Break")));
        EXPECT_DOUBLE_EQ(l.skip.width(), widest + 44);
        EXPECT_DOUBLE_EQ(l.snooze.width(), std::ceil(pill.horizontalAdvance("Snooze 5m")) + 44);
        EXPECT_DOUBLE_EQ(l.skip.height(), std::ceil(pill.height()) + 18);
        EXPECT_DOUBLE_EQ(l.snooze.left() - l.skip.right(), 10);
        EXPECT_NEAR(l.skip.left(), 300 - l.snooze.right(), 1e-9) << "the pair is centred";
        EXPECT_EQ(l.skip.top(), l.snooze.top());
    }
    const auto one = BreakCardLayout::make("Short", "Blink", fonts);
    const auto wrapped =
        BreakCardLayout::make(QString("Unclench, blink, breathe ").repeated(4), "Blink", fonts);
    EXPECT_GT(wrapped.title.height(), one.title.height()) << "a long title wraps onto more lines";
}

TEST(BreakCardLayout, BodyLinesAreSpacedApart)
{
    const BreakCardFonts fonts = BreakCardFonts::standard();
    const QString text = QString("Let your arms hang and roll your shoulders back, slowly. ").repeated(3);
    const double plain = BreakCardLayout::wrappedHeight(fonts.body, text, 248);
    const double spaced = BreakCardLayout::wrappedHeight(fonts.body, text, 248, 3);
    const double lineHeight = QFontMetricsF(fonts.body).height();
    const int lines = int(std::lround(plain / lineHeight));
    ASSERT_GE(lines, 2);
    EXPECT_NEAR(spaced - plain, 3.0 * (lines - 1), 1.0);
}

} // namespace
} // namespace quillon
