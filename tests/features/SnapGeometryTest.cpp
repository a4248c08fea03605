#include "features/SnapFixture.h"
#include "features/snap/AXWindow.h"
#include "features/snap/SnapIcon.h"
#include "features/snap/SnapPosition.h"

#include <QImage>
#include <QPainter>

namespace quillon {
namespace {

using testing::SnapFixture;

TEST(SnapGeometryTest, FrameRuleOfEveryPlacement)
{
    const QRectF v(0, 25, 1440, 850);
    const QSizeF size(400, 300);
    struct Row {
        SnapPosition position;
        QRectF expected;
    };
    const Row table[] = {
        {SnapPosition::leftHalf, {0, 25, 720, 850}},         {SnapPosition::rightHalf, {720, 25, 720, 850}},
        {SnapPosition::topHalf, {0, 450, 1440, 425}},        {SnapPosition::bottomHalf, {0, 25, 1440, 425}},
        {SnapPosition::topLeft, {0, 450, 720, 425}},         {SnapPosition::topRight, {720, 450, 720, 425}},
        {SnapPosition::bottomLeft, {0, 25, 720, 425}},       {SnapPosition::bottomRight, {720, 25, 720, 425}},
        {SnapPosition::leftThird, {0, 25, 480, 850}},        {SnapPosition::centerThird, {480, 25, 480, 850}},
        {SnapPosition::rightThird, {960, 25, 480, 850}},     {SnapPosition::leftTwoThirds, {0, 25, 960, 850}},
        {SnapPosition::rightTwoThirds, {480, 25, 960, 850}}, {SnapPosition::maximize, v},
        {SnapPosition::center, {520, 300, 400, 300}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(caseName(row.position).toStdString());
        EXPECT_EQ(snapFrame(row.position, v, size), row.expected);
    }
    for (const SnapPosition action :
         {SnapPosition::restore, SnapPosition::nextDisplay, SnapPosition::previousDisplay})
        EXPECT_FALSE(snapFrame(action, v, size)) << caseName(action).toStdString();
}

TEST(SnapGeometryTest, CenterKeepsFractionsAndShrinksToTheVisibleFrame)
{
    EXPECT_EQ(snapFrame(SnapPosition::center, QRectF(0, 0, 1440, 875), QSizeF(400, 300)),
              QRectF(520, 287.5, 400, 300));
    const QRectF v(0, 25, 1440, 850);
    EXPECT_EQ(snapFrame(SnapPosition::center, v, QSizeF(3000, 2000)), v);
}

TEST(SnapGeometryTest, ThirdsTileAnAwkwardWidthExactly)
{
    const QRectF v(13, 0, 1000, 700); // a third of 1000 is not exact
    const QSizeF none;
    const QRectF left = *snapFrame(SnapPosition::leftThird, v, none);
    const QRectF centre = *snapFrame(SnapPosition::centerThird, v, none);
    const QRectF right = *snapFrame(SnapPosition::rightThird, v, none);
    const QRectF leftTwo = *snapFrame(SnapPosition::leftTwoThirds, v, none);
    const QRectF rightTwo = *snapFrame(SnapPosition::rightTwoThirds, v, none);
    EXPECT_EQ(left.right(), centre.left());
    EXPECT_EQ(centre.right(), right.left());
    EXPECT_EQ(leftTwo.right(), right.left());
    EXPECT_EQ(left.right(), rightTwo.left());
    EXPECT_DOUBLE_EQ(right.right(), v.right());
    EXPECT_DOUBLE_EQ(rightTwo.right(), v.right());
}

TEST_F(SnapFixture, ContainingFindsScreensWithAOnePointToleranceOutside)
{
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 0, "right"));
    struct Row {
        QPointF point;
        std::optional<QString> screen;
    };
    const Row table[] = {
        {{0, 0}, "screen"}, // minimum edges are inside
        {{1439.5, 899}, "screen"},
        {{1440, 10}, "right"},  // the seam belongs to the right one
        {{700, 900}, "screen"}, // the top edge: second pass
        {{3360, 500}, "right"}, // the right edge of the desktop
        {{3361.5, 500}, std::nullopt},
        {{700, -1.5}, std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(QString("%1,%2").arg(row.point.x()).arg(row.point.y()).toStdString());
        const auto screen = containing(row.point);
        EXPECT_EQ(screen ? std::optional<QString>(screen->id) : std::nullopt, row.screen);
    }
    fake.displaysImpl.screenList.clear();
    EXPECT_FALSE(containing(QPointF(0, 0)));
}

TEST_F(SnapFixture, FlipMirrorsAboutThePrimaryHeightBothWays)
{
    EXPECT_EQ(AXWindow::flip(QRectF(100, 100, 400, 300)), QRectF(100, 500, 400, 300));
    EXPECT_EQ(AXWindow::flip(QRectF(100, 500, 400, 300)), QRectF(100, 100, 400, 300));
    // A second screen does not change the mirror.
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, -200, 1920, 1200), 0, "tall"));
    EXPECT_EQ(AXWindow::flip(QRectF(100, 100, 400, 300)), QRectF(100, 500, 400, 300));
}

TEST_F(SnapFixture, FocusedWindowIsTheFrontApplicationsMainWindowWithAYUpFrame)
{
    const auto window = AXWindow::focused();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->element, windowId);
    EXPECT_EQ(window->pid, pid);
    EXPECT_EQ(window->frame(), QRectF(100, 500, 400, 300));

    fake.windowControlImpl.findMutable(windowId)->frame = QRectF(100, 100, 0, 300); // being unmapped
    EXPECT_FALSE(window->frame());
    fake.windowControlImpl.table.clear(); // gone
    EXPECT_FALSE(window->frame());

    fake.workspaceImpl.apps.front().active = false;
    EXPECT_FALSE(AXWindow::focused());
    EXPECT_FALSE(AXWindow::focused(7)) << "a process without windows";
}

TEST_F(SnapFixture, ResizableRuleIncludesTheSystemDialog)
{
    struct Row {
        std::optional<bool> settable;
        std::optional<QString> subrole;
        bool resizable;
    };
    const Row table[] = {
        {std::nullopt, std::nullopt, true}, // cannot be asked
        {false, std::nullopt, false},
        {true, std::nullopt, true},
        {true, QString("AXSystemDialog"), false},
        {true, QString("AXStandardWindow"), true},
    };
    for (const Row& row : table)
        EXPECT_EQ(AXWindow::resizable(row.settable, row.subrole), row.resizable);
    const auto window = AXWindow::focused();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isResizable());
    fake.windowControlImpl.findMutable(windowId)->resizable = false;
    EXPECT_FALSE(window->isResizable());
}

TEST_F(SnapFixture, SetFrameWritesYDownAndReportsTheYUpReadBack)
{
    const auto window = AXWindow::focused();
    ASSERT_TRUE(window);
    std::optional<QRectF> readBack;
    fake.windowControlImpl.cellSize = QSizeF(7, 13);
    window->setFrame(QRectF(0, 25, 720, 850), [&](std::optional<QRectF> frame) { readBack = frame; });
    ASSERT_EQ(fake.windowControlImpl.frameRequests.size(), 1u);
    EXPECT_EQ(fake.windowControlImpl.frameRequests[0].frame, QRectF(0, 25, 720, 850));
    // Rounded to cells, with the top-left corner kept in place.
    EXPECT_EQ(readBack, QRectF(0, 25 + 850 - 845, 714, 845));
}

TEST(SnapIconTest, TargetsSitInTheOutlineYUp)
{
    EXPECT_EQ(SnapIcon::outlineRect(), QRectF(1.5, 1.5, 21, 13));
    struct Row {
        SnapPosition position;
        QRectF rect;
    };
    const Row table[] = {
        {SnapPosition::maximize, QRectF(2.25, 2.25, 19.5, 11.5)},
        {SnapPosition::topRight, QRectF(12, 1.5, 10.5, 6.5).adjusted(0.75, 0.75, -0.75, -0.75)},
        {SnapPosition::bottomHalf, QRectF(1.5, 8, 21, 6.5).adjusted(0.75, 0.75, -0.75, -0.75)},
        {SnapPosition::center,
         QRectF(1.5 + 0.28 * 21, 1.5 + 0.28 * 13, 0.44 * 21, 0.44 * 13).adjusted(0.75, 0.75, -0.75, -0.75)},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(caseName(row.position).toStdString());
        const auto rect = SnapIcon::targetRect(row.position);
        ASSERT_TRUE(rect);
        EXPECT_NEAR(rect->x(), row.rect.x(), 1e-9);
        EXPECT_NEAR(rect->y(), row.rect.y(), 1e-9);
        EXPECT_NEAR(rect->width(), row.rect.width(), 1e-9);
        EXPECT_NEAR(rect->height(), row.rect.height(), 1e-9);
    }
    EXPECT_FALSE(SnapIcon::targetRect(SnapPosition::restore));
}

QImage rendered(const QIcon& icon)
{
    QImage image(48, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(0, 0, 48, 32));
    return image;
}

TEST(SnapIconTest, TopRightIsDrawnInTheUpperRightQuarterAsAlphaLevels)
{
    const auto icon = SnapIcon::image(SnapPosition::topRight);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->isMask());
    const QImage image = rendered(*icon);
    auto alpha = [&](int x, int y) { return qAlpha(image.pixel(x, y)); };
    EXPECT_NEAR(alpha(36, 8), 128, 3) << "the target, in the secondary level";
    EXPECT_EQ(alpha(12, 8), 0) << "the upper left quarter stays empty";
    EXPECT_EQ(alpha(36, 24), 0) << "the lower right quarter stays empty";
    EXPECT_GT(alpha(3, 16), 20) << "the outline";
    EXPECT_LT(alpha(3, 16), 100) << "the outline is fainter than the target";
}

TEST(SnapIconTest, ActionsAnswerTheirSymbolsInATemplate)
{
    for (const SnapPosition position :
         {SnapPosition::restore, SnapPosition::nextDisplay, SnapPosition::previousDisplay}) {
        const auto icon = SnapIcon::image(position);
        ASSERT_TRUE(icon) << caseName(position).toStdString();
        EXPECT_TRUE(icon->isMask());
        EXPECT_EQ(icon->name(), SnapIcon::symbolImage(position)->name());
        const QImage image = rendered(*icon);
        int lowest = -1, highest = 64;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 0) {
                    highest = std::min(highest, y);
                    lowest = std::max(lowest, y);
                }
            }
        }
        ASSERT_GE(lowest, 0) << "something is drawn";
        // Lifted: more room below the glyph than above it.
        EXPECT_GT(image.height() - 1 - lowest, highest);
    }
}

} // namespace
} // namespace quillon
