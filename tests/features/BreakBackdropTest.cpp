#include "features/breaks/BreakBackdrop.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(BreakBackdrop, OnlyACaptureOfTheScreensSizeMakesABackdrop)
{
    const QSize screen(1920, 1080);
    QImage white(screen, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_TRUE(BreakBackdrop::make(QImage(), screen).isNull());
    EXPECT_TRUE(BreakBackdrop::make(white.scaled(1280, 720), screen).isNull()) << "never stretched";
    EXPECT_TRUE(BreakBackdrop::make(white, QSize()).isNull());

    const QImage backdrop = BreakBackdrop::make(white, screen);
    ASSERT_FALSE(backdrop.isNull());
    EXPECT_EQ(backdrop.size(), QSize(120, 67));
    const int red = qRed(backdrop.pixel(60, 30));
    EXPECT_LT(red, 140) << "darkened strongly";
    EXPECT_GT(red, 60);
}

TEST(BreakBackdrop, BlurSpreadsAPointAndKeepsAFlatImageFlat)
{
    QImage image(21, 21, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(10, 10, qRgb(255, 255, 255));
    BreakBackdrop::boxBlur(image, 2, 1);
    EXPECT_GT(qRed(image.pixel(12, 12)), 0);
    EXPECT_LT(qRed(image.pixel(10, 10)), 255);
    EXPECT_EQ(qRed(image.pixel(0, 0)), 0);

    QImage flat(16, 9, QImage::Format_RGB32);
    flat.fill(qRgb(90, 120, 200));
    BreakBackdrop::boxBlur(flat, 3, 3);
    EXPECT_EQ(flat.pixel(0, 0), qRgb(90, 120, 200)) << "edges clamp, no dark border";
    EXPECT_EQ(flat.pixel(15, 8), qRgb(90, 120, 200));
}

} // namespace
} // namespace quillon
