#include "notch/NotchItemView.h"
#include "support/BatteryIcon.h"
#include "support/DS.h"
#include "support/Symbols.h"

#include "common/QtPrint.h"
#include "fakes/FakePlatform.h"

#include <QFontMetricsF>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

using Kind = NotchItemPart::Kind;

std::vector<NotchItemPart> partsOf(const NotchItemView& view, Kind kind)
{
    std::vector<NotchItemPart> result;
    for (const auto& part : view.parts) {
        if (part.kind == kind)
            result.push_back(part);
    }
    return result;
}

QIcon appIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

QIcon symbol(const char* name)
{
    return *Symbols::image(QString::fromLatin1(name));
}

class NotchItemViewTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
};

TEST_F(NotchItemViewTest, ChoosesTheViewFromTheItemsFields)
{
    const auto item = [](auto setup) {
        NotchBarItem i;
        setup(i);
        return i;
    };
    const struct {
        const char* name;
        NotchBarItem item;
        NotchItemView::Kind kind;
    } cases[] = {
        {"a bare key", item([](auto& i) { i.text = "A"; }), NotchItemView::Kind::keycap},
        {"a value", item([](auto& i) { i.text = "3", i.value = true; }), NotchItemView::Kind::group},
        {"a dimmed text", item([](auto& i) { i.text = "Quit", i.dimmed = true; }),
         NotchItemView::Kind::group},
        {"a badge alone", item([](auto& i) { i.badge = "S"; }), NotchItemView::Kind::keycap},
        {"a badge and a name", item([](auto& i) { i.badge = "S", i.text = "Safari"; }),
         NotchItemView::Kind::titledKeycap},
        {"an icon with a badge", item([](auto& i) { i.icon = appIcon(), i.badge = "S"; }),
         NotchItemView::Kind::badgedIcon},
        {"a wave ignores the rest", item([](auto& i) { i.wave = true, i.text = "A", i.icon = appIcon(); }),
         NotchItemView::Kind::wave},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NotchItemView::make(c.item).kind, c.kind) << c.name;
}

TEST_F(NotchItemViewTest, KeycapsAreAtLeastSquareAndTenWiderThanTheirLabel)
{
    EXPECT_EQ(NotchItemView::keycap("A").size, QSizeF(20, 20));
    const NotchItemView wide = NotchItemView::keycap("Space");
    const auto labels = partsOf(wide, Kind::label);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(wide.size, QSizeF(labels[0].rect.width() + 10, 20));
    // Centred in the cap.
    EXPECT_DOUBLE_EQ(labels[0].rect.center().x(), wide.size.width() / 2);
    const auto boxes = partsOf(wide, Kind::box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].fill, DS::keycapFill());
    EXPECT_EQ(boxes[0].radius, 5);
}

TEST_F(NotchItemViewTest, KeyTextsReadAsLinuxKeyNames)
{
    const NotchItemView cap = NotchItemView::keycap(QStringLiteral("⌘V"));
    EXPECT_EQ(partsOf(cap, Kind::label).front().text, QStringLiteral("Ctrl+V"));
    NotchBarItem value;
    value.text = QStringLiteral("⌘V");
    value.value = true;
    EXPECT_EQ(partsOf(NotchItemView::make(value), Kind::label).front().text, QStringLiteral("Ctrl+V"));
}

TEST_F(NotchItemViewTest, AValueIsPlainTextInTheValueFont)
{
    NotchBarItem item;
    item.text = QStringLiteral("3");
    item.value = true;
    const NotchItemView view = NotchItemView::make(item);
    ASSERT_EQ(view.parts.size(), 1u);
    EXPECT_EQ(view.parts[0].kind, Kind::label);
    EXPECT_EQ(view.parts[0].font, DS::valueFont());
    EXPECT_EQ(view.parts[0].color, QColor(Qt::white));
}

TEST_F(NotchItemViewTest, ABadgeWithANameIsAPillHoldingAKeycap)
{
    const NotchItemView pill = NotchItemView::titledKeycap("S", "Safari");
    EXPECT_EQ(pill.size.height(), 24);
    const auto boxes = partsOf(pill, Kind::box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rect, QRectF(QPointF(0, 0), pill.size)); // the pill
    EXPECT_EQ(boxes[1].rect, QRectF(2, 2, 20, 20));             // the keycap, 2 in from the left
    const auto labels = partsOf(pill, Kind::label);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].text, QStringLiteral("Safari"));
    EXPECT_DOUBLE_EQ(labels[1].rect.left(), 2 + 20 + 6);
    EXPECT_DOUBLE_EQ(labels[1].rect.right(), pill.size.width() - 8);
}

TEST_F(NotchItemViewTest, AnAppIconBleedsBeyondItsBoxWithBadgeAndRunningDot)
{
    const NotchItemView view = NotchItemView::badgedIcon(appIcon(), "S", true);
    EXPECT_EQ(view.size, QSizeF(24, 24));
    const auto glyphs = partsOf(view, Kind::glyph);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].rect, QRectF(-2, -2, 28, 28));
    const auto boxes = partsOf(view, Kind::box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rect, QRectF(-3, 24 + 3 - 13, 13, 13)); // bottom-left badge
    EXPECT_EQ(boxes[0].borderWidth, 1.5);
    EXPECT_EQ(boxes[1].rect, QRectF(19, -1, 6, 6)); // top-right dot
    EXPECT_EQ(boxes[1].fill, DS::charging());
    EXPECT_EQ(partsOf(NotchItemView::badgedIcon(appIcon(), "S", false), Kind::box).size(), 1u);
}

TEST_F(NotchItemViewTest, GlyphsFitTheirBox)
{
    // A symbol at 16 in a full box, centred.
    EXPECT_EQ(NotchItemView::glyphImageView(symbol("doc.fill"), {24, 24}, Qt::white).front().rect,
              QRectF(4, 4, 16, 16));
    // A symbol in a small box is scaled to it.
    EXPECT_EQ(NotchItemView::glyphImageView(symbol("doc.fill"), {14, 14}, Qt::white).front().rect,
              QRectF(0, 0, 14, 14));
    // A wide picture is scaled to the box's width and centred.
    EXPECT_EQ(NotchItemView::glyphImageView(BatteryIcon::image(50, false), {24, 24}, Qt::white).front().rect,
              QRectF(0, 6, 24, 12));
}

TEST_F(NotchItemViewTest, TextLeadingPutsTheLabelFirstAndASmallDimIcon)
{
    NotchBarItem item;
    item.icon = symbol("doc.fill");
    item.text = QStringLiteral("3");
    item.textLeading = true;
    item.value = true;
    const NotchItemView view = NotchItemView::make(item);
    ASSERT_EQ(view.parts.size(), 2u);
    EXPECT_EQ(view.parts[0].kind, Kind::label);
    EXPECT_EQ(view.parts[1].kind, Kind::glyph);
    EXPECT_EQ(view.parts[1].rect.size(), QSizeF(14, 14));
    EXPECT_DOUBLE_EQ(view.parts[1].rect.left(), view.parts[0].rect.right() + 4);
    EXPECT_EQ(view.parts[1].tint, QColor::fromRgbF(1, 1, 1, 0.75));
}

TEST_F(NotchItemViewTest, GroupsTintAndOrderTheirParts)
{
    NotchBarItem warning;
    warning.icon = symbol("eye.fill");
    warning.text = QStringLiteral("8%");
    warning.warning = true;
    warning.accentDot = true;
    const NotchItemView view = NotchItemView::make(warning);
    ASSERT_EQ(view.parts.size(), 3u);
    EXPECT_EQ(view.parts[0].rect, QRectF(0, 9, 6, 6)); // the dot, centred on a 24 row
    EXPECT_EQ(view.parts[0].fill, DS::accent());
    EXPECT_EQ(view.parts[1].tint, DS::warning());
    EXPECT_EQ(view.parts[2].color, DS::warning());
    EXPECT_DOUBLE_EQ(view.parts[1].rect.left(), 6 + 6 + 4); // 6 apart, symbol centred in its 24 box

    NotchBarItem dimmed;
    dimmed.icon = symbol("eye.fill");
    dimmed.text = QStringLiteral("Quit");
    dimmed.dimmed = true;
    const NotchItemView dim = NotchItemView::make(dimmed);
    EXPECT_EQ(dim.parts[0].tint, QColor::fromRgbF(1, 1, 1, 0.45));
    EXPECT_EQ(dim.parts[1].color, DS::textSecondary());
    EXPECT_EQ(dim.parts[1].font.pixelSize(), 12);
}

TEST_F(NotchItemViewTest, AClosedEyeIsALidLineInTheItemsTint)
{
    NotchBarItem item;
    item.icon = symbol("eye.fill");
    item.closedEye = true;
    item.warning = true;
    const NotchItemView view = NotchItemView::make(item);
    ASSERT_EQ(view.parts.size(), 1u);
    EXPECT_EQ(view.parts[0].kind, Kind::box);
    EXPECT_EQ(view.parts[0].fill, DS::warning());
    EXPECT_DOUBLE_EQ(view.parts[0].rect.width(), 0.86 * 24);
    EXPECT_DOUBLE_EQ(view.parts[0].rect.height(), 2);
    EXPECT_DOUBLE_EQ(view.parts[0].rect.center().y(), 12);
}

TEST_F(NotchItemViewTest, TheWaveMovesOnlyWhileAnimating)
{
    const NotchItemView view = NotchItemView::audioWave();
    EXPECT_EQ(view.size, QSizeF(24, 24));
    AudioWaveView* wave = view.wave();
    ASSERT_TRUE(wave);
    const auto rest = wave->barRects(5);
    EXPECT_EQ(rest[0], QRectF(4, 5, 2.5, 14));
    EXPECT_EQ(rest[3], QRectF(17.5, 5, 2.5, 14));
    wave->setAnimating(true, 10);
    EXPECT_DOUBLE_EQ(wave->barScale(0, 10), 0.35);
    EXPECT_NEAR(wave->barScale(0, 10.45), 1.0, 1e-9);
    EXPECT_NEAR(wave->barScale(0, 10.9), 0.35, 1e-9); // back down, and again
    EXPECT_GT(wave->barScale(1, 10), 0.35);           // the bars run out of step
    for (double t = 10; t < 13; t += 0.05) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_GE(wave->barScale(i, t), 0.35 - 1e-9);
            EXPECT_LE(wave->barScale(i, t), 1.0 + 1e-9);
            EXPECT_DOUBLE_EQ(wave->barRects(t)[size_t(i)].bottom(), 19); // standing on one baseline
        }
    }
    wave->setAnimating(false, 13);
    EXPECT_EQ(wave->barRects(13.2), rest);
}

} // namespace
