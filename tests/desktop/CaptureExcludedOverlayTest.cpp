#include "common/Desktop.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11OverlayWindows.h"

#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::platform::linux_;

namespace {

// Our screen captures find the overlays to leave out by the server-side mark,
// so it must reach the server on the window itself and on no other overlay.
TEST(CaptureExcludedOverlay, OnlyTheMarkedOverlayCarriesTheMarkOnTheServer)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    X11OverlayWindows overlays;

    QWidget dimming;
    QWidget chip;
    overlays.prepare(dimming, {.level = 0, .clickThrough = true, .captureExcluded = true});
    overlays.prepare(chip, {.level = 25, .clickThrough = true});
    overlays.setFrame(dimming, QRectF(0, 0, 200, 200));
    overlays.setFrame(chip, QRectF(300, 0, 100, 100));
    overlays.show(dimming);
    overlays.show(chip);

    const auto dimmingId = uint32_t(dimming.winId());
    const auto chipId = uint32_t(chip.winId());
    ASSERT_TRUE(quillon::testing::waitFor([&] {
        const auto marked = X11OverlayWindows::captureExcludedWindows(*x);
        return std::find(marked.begin(), marked.end(), dimmingId) != marked.end();
    }));
    EXPECT_TRUE(X11OverlayWindows::isCaptureExcluded(*x, dimmingId));
    EXPECT_FALSE(X11OverlayWindows::isCaptureExcluded(*x, chipId));
    const auto marked = X11OverlayWindows::captureExcludedWindows(*x);
    EXPECT_EQ(std::count(marked.begin(), marked.end(), chipId), 0);
    // A window that is gone is simply not marked.
    EXPECT_FALSE(X11OverlayWindows::isCaptureExcluded(*x, 0x7fffffff));
}

} // namespace
