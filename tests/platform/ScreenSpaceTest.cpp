#include "platform/ScreenSpace.h"

#include <gtest/gtest.h>

using namespace quillon::platform;

namespace {

TEST(ScreenSpace, ConvertsBetweenTheThreeSpaces)
{
    // Primary 1920×1080 at native (100, 50); a second display to its right,
    // 200 points lower.
    const QRectF primary(100, 50, 1920, 1080);
    struct Case {
        QRectF native, quartz, cocoa;
    };
    const Case cases[] = {
        {QRectF(100, 50, 1920, 1080), QRectF(0, 0, 1920, 1080), QRectF(0, 0, 1920, 1080)},
        {QRectF(100, 50, 200, 30), QRectF(0, 0, 200, 30), QRectF(0, 1050, 200, 30)},
        {QRectF(2020, 250, 1280, 1024), QRectF(1920, 200, 1280, 1024), QRectF(1920, -144, 1280, 1024)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScreenSpace::quartzFromNative(c.native, primary), c.quartz);
        EXPECT_EQ(ScreenSpace::nativeFromQuartz(c.quartz, primary), c.native);
        EXPECT_EQ(ScreenSpace::cocoaFromQuartz(c.quartz, primary), c.cocoa);
        EXPECT_EQ(ScreenSpace::quartzFromCocoa(c.cocoa, primary), c.quartz);
        EXPECT_EQ(ScreenSpace::cocoaFromNative(c.native, primary), c.cocoa);
        EXPECT_EQ(ScreenSpace::nativeFromCocoa(c.cocoa, primary), c.native);
    }
    EXPECT_EQ(ScreenSpace::cocoaFromNative(QPointF(100, 50), primary), QPointF(0, 1080));
    EXPECT_EQ(ScreenSpace::nativeFromCocoa(QPointF(0, 0), primary), QPointF(100, 1130));
}

} // namespace
