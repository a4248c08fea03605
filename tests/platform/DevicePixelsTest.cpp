#include "platform/linux/DevicePixels.h"

#include "common/QtPrint.h"

#include <gtest/gtest.h>

using quillon::platform::linux_::DevicePixels;
using quillon::platform::linux_::ScreenScale;

namespace {

// A 1920×1080 screen at scale 2 with a 1280×1024 one at scale 1 to its right,
// and one more at scale 1.5 below the first.
const DevicePixels mixed({{QRect(0, 0, 1920, 1080), 2.0},
                          {QRect(1920, 0, 1280, 1024), 1.0},
                          {QRect(0, 1080, 1920, 1200), 1.5}});

TEST(DevicePixels, DividesInsideEachScreenKeepingItsCorner)
{
    struct Case {
        QRect device;
        QRectF logical;
    };
    const Case cases[] = {
        {QRect(0, 0, 1920, 1080), QRectF(0, 0, 960, 540)},
        {QRect(960, 0, 960, 1080), QRectF(480, 0, 480, 540)},
        // Odd sizes and corners give half pixels, not rounded ones.
        {QRect(101, 51, 401, 301), QRectF(50.5, 25.5, 200.5, 150.5)},
        {QRect(2000, 100, 400, 300), QRectF(2000, 100, 400, 300)},
        {QRect(300, 1380, 600, 300), QRectF(200, 1280, 400, 200)},
        // Off every screen: the primary's scale.
        {QRect(-400, -400, 200, 100), QRectF(-200, -200, 100, 50)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mixed.toLogical(c.device), c.logical) << ::testing::PrintToString(QRectF(c.device));
        EXPECT_EQ(mixed.toDevice(c.logical), c.device) << ::testing::PrintToString(c.logical);
    }
}

TEST(DevicePixels, RoundsEdgesSoNeighboursStillTouch)
{
    struct Case {
        QRectF logical;
        QRect device;
    };
    const Case cases[] = {
        // Thirds of 959 points: 319.67 each.
        {QRectF(0, 0, 959.0 / 3, 540), QRect(0, 0, 639, 1080)},
        {QRectF(959.0 / 3, 0, 959.0 / 3, 540), QRect(639, 0, 640, 1080)},
        {QRectF(2 * 959.0 / 3, 0, 959.0 / 3, 540), QRect(1279, 0, 639, 1080)},
        // At 1.5 a fraction of a point rounds to the nearest device pixel.
        {QRectF(10.2, 1080.1, 100, 50), QRect(15, 1080, 150, 75)},
        // Never empty when the window has an area.
        {QRectF(10, 1080, 0.2, 0.2), QRect(15, 1080, 1, 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mixed.toDevice(c.logical), c.device) << ::testing::PrintToString(c.logical);
}

TEST(DevicePixels, WindowFramesMeetTheScreensOfQt)
{
    // Quartz space starts at the primary's corner, in device-independent pixels.
    const DevicePixels shifted({{QRect(100, 50, 1920, 1080), 2.0}});
    const QRect primary(100, 50, 1920, 1080);
    EXPECT_EQ(shifted.quartzFromDevice(QRect(1060, 50, 960, 1080), primary), QRectF(480, 0, 480, 540));
    EXPECT_EQ(shifted.deviceFromQuartz(QRectF(0, 0, 480, 540), primary), QRect(100, 50, 960, 1080));

    // Without screens (no GUI): one device pixel is one pixel.
    const DevicePixels none;
    EXPECT_EQ(none.toLogical(QRect(3, 5, 7, 9)), QRectF(3, 5, 7, 9));
    EXPECT_EQ(none.toDevice(QRectF(3.4, 5.6, 7, 9)), QRect(3, 6, 7, 9));
}

} // namespace
