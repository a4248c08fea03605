#include "ui/MenuBarIcon.h"
#include "fakes/FakePlatform.h"
#include "ui/MenuBarIconEngine.h"
#include "ui/ProgressBarImage.h"

#include <QPixmap>
#include <gtest/gtest.h>

namespace quillon {
namespace {

// Alpha at a point given in y-down points of the 4× image.
int alphaAt(const QImage& image, double x, double y)
{
    return qAlpha(image.pixel(int(x * 4), int(y * 4)));
}

TEST(MenuBarIcon, IdleIsAnOutlineWithASolidTab)
{
    const QImage image = MenuBarIcon::make(false).pixmap(QSize(60, 56)).toImage();
    ASSERT_EQ(image.size(), QSize(60, 56));
    EXPECT_TRUE(MenuBarIcon::make(false).isMask());
    EXPECT_EQ(MenuBarIcon::make(false).name(), "menubar");
    EXPECT_EQ(MenuBarIcon::make(true).name(), "menubar.session");
    EXPECT_GT(alphaAt(image, 0.8, 7), 200) << "left ring";
    EXPECT_GT(alphaAt(image, 7.5, 13.2), 200) << "bottom ring";
    EXPECT_EQ(alphaAt(image, 3.5, 7), 0) << "inside";
    EXPECT_EQ(alphaAt(image, 11, 9), 0) << "inside";
    EXPECT_GT(alphaAt(image, 7.5, 2.4), 200) << "tab";
    EXPECT_EQ(alphaAt(image, 4.2, 2.6), 0) << "beside the tab's rounded corner";
}

TEST(MenuBarIcon, ActiveIsFilledWithNotchAndCupCutOut)
{
    const QImage image = MenuBarIcon::make(true).pixmap(QSize(60, 56)).toImage();
    EXPECT_GT(alphaAt(image, 2, 7), 200) << "box";
    EXPECT_GT(alphaAt(image, 13, 7), 200) << "box";
    EXPECT_GT(alphaAt(image, 3, 2.5), 200) << "beside the notch";
    EXPECT_EQ(alphaAt(image, 7.5, 1), 0) << "notch";
    EXPECT_EQ(alphaAt(image, 7.5, 2.4), 0) << "notch";
    // Somewhere in the cup's 7-point square, 1 point below the centre, the box is cut through.
    int clear = 0;
    for (double y = 5; y <= 11; y += 0.5) {
        for (double x = 5; x <= 10; x += 0.5)
            clear += alphaAt(image, x, y) == 0;
    }
    EXPECT_GT(clear, 20) << "cup";
}

TEST(MenuBarIcon, ScalesCentredInAnyRect)
{
    // A wide rect: the glyph keeps its shape and sits in the middle.
    const QImage image = MenuBarIcon::make(true).pixmap(QSize(90, 28)).toImage();
    EXPECT_EQ(qAlpha(image.pixel(5, 14)), 0) << "left margin";
    EXPECT_GT(qAlpha(image.pixel(35, 14)), 200) << "box";
}

TEST(ProgressBarImage, FilledWidth)
{
    const std::tuple<double, QSizeF, double> cases[] = {
        {-1, {34, 8}, 8}, {0, {34, 8}, 8},  {0.5, {34, 8}, 17},         {1, {34, 8}, 34},
        {2, {34, 8}, 34}, {0.5, {6, 8}, 8}, {std::nan(""), {34, 8}, 8},
    };
    for (const auto& [fraction, size, width] : cases)
        EXPECT_DOUBLE_EQ(ProgressBarImage::filledWidth(fraction, size), width)
            << fraction << " " << size.width();
}

TEST(ProgressBarImage, TrackAndDarkerFill)
{
    const QImage half = ProgressBarImage::make(0.5, QSizeF(34, 8), 4);
    ASSERT_EQ(half.size(), QSize(136, 32));
    const int track = qAlpha(half.pixel(30 * 4, 16));
    const int fill = qAlpha(half.pixel(10 * 4, 16));
    EXPECT_NEAR(track, 64, 3);
    EXPECT_GT(fill, track + 30) << "two layers";
    EXPECT_EQ(qAlpha(half.pixel(0, 0)), 0) << "rounded end";

    // Empty: a dot of the bar's height at the left end.
    const QImage empty = ProgressBarImage::make(0, QSizeF(34, 8), 4);
    EXPECT_GT(qAlpha(empty.pixel(4 * 4, 16)), track + 30);
    EXPECT_NEAR(qAlpha(empty.pixel(12 * 4, 16)), 64, 3);

    // Narrower than high: the fill is h wide, past the track.
    const QImage narrow = ProgressBarImage::make(0.5, QSizeF(6, 8), 4);
    EXPECT_EQ(narrow.size(), QSize(24, 32));
    EXPECT_GT(qAlpha(narrow.pixel(12, 16)), 64 + 30);
}

} // namespace
} // namespace quillon
