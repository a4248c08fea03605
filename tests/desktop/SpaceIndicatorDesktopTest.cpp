// The workspace indicator on the virtual desktop, which has no touchpad: the
// real displays and overlay windows, and a played sideways swipe.
#include "common/Desktop.h"
#include "common/TopWindows.h"
#include "fakes/ForwardingPlatform.h"
#include "features/swipe/SwipeFeature.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/X11OverlayWindows.h"
#include "settings/Settings.h"
#include "spaceswitch/SwipeTracker.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace quillon;
using platform::linux_::Ewmh;
using platform::linux_::X11Connection;
using quillon::testing::TopWindow;
using quillon::testing::waitFor;

namespace {

class IndicatorPlatform final : public fakes::ForwardingPlatform {
public:
    platform::Displays& displays() override { return displaysImpl; }
    platform::OverlayWindows& overlayWindows() override { return overlays; }

    platform::linux_::QtDisplays displaysImpl;
    platform::linux_::X11OverlayWindows overlays;
};

TEST(SpaceIndicatorDesktop, ASwipeShowsTheIndicatorCentredWithoutTakingTheFocusThenHidesIt)
{
    QUILLON_REQUIRE_DESKTOP();
    IndicatorPlatform p;
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);
    const auto activeBefore = ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW");
    const auto screens = p.displaysImpl.screens();
    ASSERT_FALSE(screens.empty());
    const platform::Screen screen = screens.front();
    p.fake.pointerImpl.position = screen.frame.center();

    Settings settings{p.fake.defaults, QStringLiteral("app.quillon.Quillon")};
    SwipeFeature feature(settings);
    feature.activate();
    ASSERT_TRUE(feature.isActive());
    auto& gestures = p.fake.spaceGesturesImpl;
    gestures.swipe(platform::SwipePhase::began);
    gestures.swipe(platform::SwipePhase::changed, -SwipeTracker::decisionDistance);
    gestures.swipe(platform::SwipePhase::ended);
    ASSERT_NE(feature.osd().window(), nullptr);
    const auto indicator = xcb_window_t(feature.osd().window()->winId());

    // Centred in the work area, in the X screen's y-down space.
    const QRectF work = screen.visibleFrame;
    const QRect expected(int(work.center().x() - 70), int(screen.frame.height() - work.center().y() - 70),
                         140, 140);
    const auto mapped = [&] {
        for (const TopWindow& w : quillon::testing::overrideRedirectWindows(*x)) {
            if (w.id == indicator)
                return std::optional<QRect>(w.geometry);
        }
        return std::optional<QRect>();
    };
    ASSERT_TRUE(waitFor([&] { return mapped() == expected; }, 10000))
        << "mapped at " << (mapped() ? mapped()->x() : -1) << "," << (mapped() ? mapped()->y() : -1);
    EXPECT_EQ(ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW"), activeBefore);

    // The indicator's time, then its fade.
    p.fake.queue.advance(SwipeFeature::indicatorMs / 1000.0 + SpaceOSD::fadeSeconds + 0.1);
    EXPECT_TRUE(waitFor([&] { return !mapped(); }, 10000));
    feature.deactivate();
}

} // namespace
