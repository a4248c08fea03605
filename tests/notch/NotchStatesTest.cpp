#include "notch/NotchStates.h"

#include "support/DS.h"

#include "common/QtPrint.h"
#include <QPixmap>
#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// An item in one line: the symbol's name (or "image" for any other picture),
// the text in quotes, then the flags that are set.
QString describe(const NotchBarItem& item)
{
    QStringList parts;
    if (item.icon)
        parts << (item.icon->isMask() ? item.icon->name() : QStringLiteral("image"));
    if (item.text)
        parts << u'\'' + *item.text + u'\'';
    if (item.badge)
        parts << u'[' + *item.badge + u']';
    const std::pair<bool, const char*> flags[] = {
        {item.warning, "warning"},     {item.textLeading, "textLeading"},
        {item.value, "value"},         {item.dimmed, "dimmed"},
        {item.accentDot, "accentDot"}, {item.closedEye, "closedEye"},
        {item.running, "running"},     {item.wave, "wave"},
    };
    for (const auto& [on, name] : flags) {
        if (on)
            parts << QString::fromLatin1(name);
    }
    if (item.pulseKey)
        parts << QStringLiteral("pulse:") + *item.pulseKey;
    return parts.join(u' ');
}

QStringList describe(const std::vector<NotchBarItem>& items)
{
    QStringList result;
    for (const auto& item : items)
        result << describe(item);
    return result;
}

NotchBarItem textItem(const QString& text)
{
    NotchBarItem item;
    item.text = text;
    return item;
}

std::vector<NotchBarItem> hintItems(int n)
{
    std::vector<NotchBarItem> items;
    for (int i = 0; i < n; ++i)
        items.push_back(textItem(QString(QChar(u'A' + i))));
    return items;
}

QIcon appIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    return QIcon(pixmap);
}

using Phase = NowPlayingChipState::Phase;

TEST(NotchStates, BuildersGiveItemsCaptionAndOutline)
{
    const QColor picked(0x1E, 0x90, 0xFF);
    const struct Case {
        const char* name;
        NotchContent content;
        QStringList left;
        QStringList right;
        std::optional<QString> caption;
        std::optional<QColor> outline = {};
    } cases[] = {
        {"shelf", NotchStates::shelfChip(3), {"tray.fill"}, {"doc.fill '3' textLeading value"}, {}},
        {"space", NotchStates::spaceChip(2), {"rectangle.on.rectangle"}, {"'2' value"}, {}},
        {"timed session",
         NotchStates::sessionChip(true, 25),
         {"cup.and.saucer.fill"},
         {"'25m' value accentDot"},
         "awake"},
        {"open session",
         NotchStates::sessionChip(true, 0),
         {"cup.and.saucer.fill"},
         {"'On' value accentDot"},
         "awake"},
        {"ended session",
         NotchStates::sessionChip(false, 25),
         {"cup.and.saucer.fill"},
         {"'Ended' value"},
         {}},
        {"snippet copied",
         NotchStates::snippetCopiedChip(),
         {"doc.on.clipboard"},
         {"'⌘V' value"},
         "snippet copied"},
        {"ocr text",
         NotchStates::ocrChip(" \n Total:\t42 €\n"),
         {"text.viewfinder"},
         {"'⌘V' value"},
         "Total: 42 €"},
        {"ocr blank",
         NotchStates::ocrChip("  \n\t \r\n"),
         {"text.viewfinder"},
         {"'none' value dimmed"},
         "nothing found"},
        {"ocr permission",
         NotchStates::ocrPermissionChip(),
         {"text.viewfinder"},
         {"'Grant' value dimmed"},
         "Screen Recording"},
        {"ocr restart",
         NotchStates::ocrRestartChip(),
         {"text.viewfinder"},
         {"'restart' value dimmed"},
         "Restart required"},
        {"colour",
         NotchStates::colorChip("#1E90FF", picked),
         {"eyedropper.halffull"},
         {"'⌘V' value"},
         "#1E90FF",
         picked},
        {"quit with icon",
         NotchStates::appQuitChip(appIcon(), "Firefox"),
         {"image"},
         {"'Quit' value dimmed"},
         "Firefox"},
        {"quit without icon",
         NotchStates::appQuitChip(std::nullopt, "xterm"),
         {"xmark.circle.fill"},
         {"'Quit' value dimmed"},
         "xterm"},
        {"break, eye closed",
         NotchStates::breakCountdown(7, false),
         {"eye.fill closedEye"},
         {"'0:07' value"},
         "Breaks"},
        {"break, eye open", NotchStates::breakCountdown(42, true), {"eye.fill"}, {"'0:42' value"}, "Breaks"},
        {"battery charging", NotchStates::batteryChip(true, 80), {"image"}, {"'80%' value"}, "charging"},
        {"battery", NotchStates::batteryChip(false, 80), {"image"}, {"'80%' value"}, {}},
        {"low battery, critical",
         NotchStates::lowBatteryChip(10),
         {"image warning"},
         {"'10%' warning value"},
         "low"},
        {"low battery", NotchStates::lowBatteryChip(11), {"image"}, {"'11%' value"}, "low"},
        {"now playing hidden", NotchStates::nowPlaying(Phase::hidden, "Song", "Band"), {}, {}, {}},
        {"now playing compact",
         NotchStates::nowPlaying(Phase::compact, "Song", "Band"),
         {"music.note"},
         {"wave"},
         {}},
        {"now playing expanded",
         NotchStates::nowPlaying(Phase::expanded, "Song", "Band"),
         {"music.note"},
         {"wave"},
         "Song — Band"},
        {"now playing, no artist",
         NotchStates::nowPlaying(Phase::expanded, "Song", ""),
         {"music.note"},
         {"wave"},
         "Song"},
        {"now playing controls",
         NotchStates::nowPlaying(Phase::controls, "Song", "Band"),
         {"backward.fill pulse:prev", "playpause.fill pulse:playpause", "forward.fill pulse:next"},
         {"wave"},
         "Song — Band"},
        {"no hints", NotchStates::leaderHints({}, std::nullopt), {}, {}, {}},
        {"one hint",
         NotchStates::leaderHints(hintItems(1), "press a key to jump"),
         {},
         {"'A'"},
         "press a key to jump"},
        {"two hints", NotchStates::leaderHints(hintItems(2), std::nullopt), {"'A'"}, {"'B'"}, {}},
        {"five hints",
         NotchStates::leaderHints(hintItems(5), std::nullopt),
         {"'A'", "'B'", "'C'"},
         {"'D'", "'E'"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describe(c.content.left), c.left);
        EXPECT_EQ(describe(c.content.right), c.right);
        EXPECT_EQ(c.content.caption, c.caption);
        EXPECT_EQ(c.content.outlineColor, c.outline);
    }
}

TEST(NotchStates, EmptyOnlyWithoutItemsAndCaption)
{
    EXPECT_TRUE(NotchStates::leaderHints({}, std::nullopt).isEmpty());
    EXPECT_FALSE(NotchStates::leaderHints({}, QStringLiteral("Shelf")).isEmpty());
    EXPECT_TRUE(NotchStates::nowPlaying(Phase::hidden, "Song", "Band").isEmpty());
    EXPECT_FALSE(NotchStates::spaceChip(1).isEmpty());
}

TEST(NotchStates, CriticalBatteryGlyphIsDrawnInTheWarningColour)
{
    const auto colourOf = [](const NotchContent& content) {
        // The middle of the level bar's first points.
        return content.left.front().icon->pixmap(QSize(56, 28), 1.0).toImage().pixelColor(8, 14).rgb();
    };
    EXPECT_EQ(colourOf(NotchStates::lowBatteryChip(10)), DS::warning().rgb());
    EXPECT_EQ(colourOf(NotchStates::lowBatteryChip(11)), QColor(Qt::white).rgb());
    EXPECT_EQ(colourOf(NotchStates::batteryChip(true, 5)), DS::charging().rgb());
}

int characters(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

QString paragraph(int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("word%1 ").arg(i % 10);
    return text.left(length);
}

TEST(NotchStates, TextPreviewKeepsOneLineAndCutsTheMiddle)
{
    const QString thumbs = QString(QStringLiteral("👍🏽")).repeated(10);
    const struct {
        QString text;
        int limit;
        QString expected;
    } cases[] = {
        {"  one\ttwo\n\nthree  ", 48, "one two three"},
        {"abcdefghij", 10, "abcdefghij"},
        {"abcdefghijk", 10, "abc … ijk"},
        {"abcdefghijkl", 11, "abcd … ijkl"},
        {thumbs, 9, "👍🏽👍🏽👍🏽 … 👍🏽👍🏽👍🏽"},
        {"e\u0301e\u0301e\u0301e\u0301e\u0301", 5, "e\u0301e\u0301e\u0301e\u0301e\u0301"},
        {"e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301", 5, "\u00e9 … \u00e9"},
        // A limit too short for the ellipsis counts as 3 instead of failing.
        {"abcdef", 2, " … "},
        {"abcdef", -5, " … "},
        {"ab", 0, "ab"},
        {"", 10, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString preview = NotchStates::textPreview(c.text, c.limit);
        EXPECT_EQ(preview.normalized(QString::NormalizationForm_C),
                  c.expected.normalized(QString::NormalizationForm_C));
    }
    const QString long200 = NotchStates::textPreview(paragraph(200), 48);
    EXPECT_EQ(characters(long200), 47);
    EXPECT_EQ(long200.mid(22, 3), QStringLiteral(" … "));
    EXPECT_EQ(long200.left(22), paragraph(22));

    const auto ocr = NotchStates::ocrChip(paragraph(200));
    EXPECT_EQ(characters(*ocr.caption), 47);
}

} // namespace
