#include "notch/NotchBarLayout.h"
#include "support/Symbols.h"

#include "common/QtPrint.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(NotchBarLayout, CaptionUsesTheRoomAboveTheWingsBeforeWideningTheBar)
{
    const struct {
        const char* name;
        QSizeF notch;
        QSizeF left, right;
        double caption;
        double width, overhangLeft, overhangRight, notchX;
    } cases[] = {
        {"wings absorb the overhang", {180, 32}, {30, 24}, {50, 24}, 200, 288, 0, 0, 44},
        {"empty wings widen the bar", {180, 32}, {0, 0}, {0, 0}, 200, 228, 10, 10, 24},
        {"one short wing widens only its side",
         {180, 32},
         {4, 24},
         {50, 24},
         200,
         14 + 10 + 180 + 50 + 14,
         6,
         0,
         24},
        {"a caption narrower than the notch", {180, 32}, {30, 24}, {0, 0}, 100, 14 + 30 + 180 + 14, 0, 0, 44},
        {"no caption", {120, 24}, {0, 0}, {0, 0}, 0, 148, 0, 0, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto m = NotchBarLayout::measure(c.notch, 14, c.left, c.right, c.caption);
        EXPECT_DOUBLE_EQ(m.size.width(), c.width);
        EXPECT_DOUBLE_EQ(m.size.height(), c.notch.height() + 14);
        EXPECT_DOUBLE_EQ(m.captionLeftOverhang, c.overhangLeft);
        EXPECT_DOUBLE_EQ(m.captionRightOverhang, c.overhangRight);
        EXPECT_DOUBLE_EQ(m.notchX, c.notchX);
    }
}

TEST(NotchBarLayout, WingsAreCentredInABar46High)
{
    const auto m = NotchBarLayout::measure({180, 32}, 14, {30, 24}, {50, 20}, 0);
    EXPECT_EQ(m.size.height(), 46);
    EXPECT_EQ(m.leftY, 11); // spans 11 to 35
    EXPECT_EQ(m.rightY, 13);
}

class NotchBarLayoutItems : public ::testing::Test {
protected:
    static NotchBarItem key(const QString& text)
    {
        NotchBarItem item;
        item.text = text;
        return item;
    }
    fakes::FakePlatform fake;
};

TEST_F(NotchBarLayoutItems, PlacesWingsAroundTheNotchAndTheCaptionBelowIt)
{
    NotchContent content;
    content.left = {key("A"), key("B")};
    content.right = {key("C")};
    content.caption = QStringLiteral("jump");
    const NotchBarLayout layout(content, {120, 24}, 14, false);
    const auto& items = layout.items();
    ASSERT_EQ(items.size(), 3u);
    // Two 20-wide keycaps 11 apart, then the notch, then one keycap.
    EXPECT_EQ(items[0].origin, QPointF(14, 9));
    EXPECT_EQ(items[1].origin, QPointF(14 + 20 + 11, 9));
    EXPECT_EQ(items[2].origin, QPointF(14 + 51 + 120, 9));
    EXPECT_EQ(layout.size(), QSizeF(14 + 51 + 120 + 20 + 14, 38));

    ASSERT_TRUE(layout.caption());
    const auto& caption = *layout.caption();
    // Centred under the notch and inside the strip below it.
    EXPECT_NEAR(caption.origin.x() + caption.view.size.width() / 2, 65 + 60, 0.5);
    EXPECT_GT(caption.origin.y() + caption.view.size.height() / 2, 24);
    EXPECT_LT(caption.origin.y(), 38);
}

TEST_F(NotchBarLayoutItems, RegistersItemsUnderPulseKeyBadgeOrTextAndLaterWins)
{
    NotchContent content;
    NotchBarItem pulsed = key("x");
    pulsed.pulseKey = QStringLiteral("prev");
    pulsed.badge = QStringLiteral("P");
    NotchBarItem badged;
    badged.icon = Symbols::image(QStringLiteral("doc.fill"));
    badged.badge = QStringLiteral("D");
    NotchBarItem unnamed;
    unnamed.icon = Symbols::image(QStringLiteral("doc.fill"));
    content.left = {pulsed, badged, unnamed, key("A")};
    content.right = {key("A")};
    const NotchBarLayout layout(content, {120, 24}, 14, false);
    EXPECT_EQ(layout.keys().size(), 3);
    EXPECT_TRUE(layout.itemRect("prev"));
    EXPECT_FALSE(layout.itemRect("P"));
    EXPECT_TRUE(layout.itemRect("D"));
    ASSERT_TRUE(layout.itemRect("A"));
    EXPECT_GT(layout.itemRect("A")->x(), layout.metrics().notchX); // the right one
}

TEST_F(NotchBarLayoutItems, ShapesOpenFromTheNotchOrFromALineAtTheTop)
{
    const NotchContent content{{key("A")}, {}, {}, {}};
    const NotchBarLayout drawn(content, {120, 24}, 14, false);
    EXPECT_EQ(drawn.fullShape(), (NotchShape{QRectF(0, 0, 14 + 20 + 120 + 14, 38), 16}));
    EXPECT_EQ(drawn.notchShape(), (NotchShape{QRectF(34, 38, 120, 0), 0}));
    const NotchBarLayout physical(content, {120, 24}, 14, true);
    EXPECT_EQ(physical.notchShape(), (NotchShape{QRectF(34, 14, 120, 24), 10}));
}

TEST_F(NotchBarLayoutItems, ALaterCaptionKeepsTheBarsSize)
{
    NotchContent content;
    content.caption = QStringLiteral("on");
    NotchBarLayout layout(content, {120, 24}, 14, false);
    const QSizeF size = layout.size();
    layout.setCaption(QStringLiteral("a caption far wider than the notch it hangs under"));
    EXPECT_EQ(layout.size(), size);
    EXPECT_LT(layout.caption()->origin.x(), 0);
    layout.setCaption(std::nullopt);
    EXPECT_FALSE(layout.caption());
}

} // namespace
