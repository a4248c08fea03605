#include "common/Desktop.h"
#include "common/TopWindows.h"
#include "notch/NotchController.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/LinuxPlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>
#include <xcb/shape.h>

using namespace quillon;
using namespace quillon::platform::linux_;

namespace {

using quillon::testing::overrideRedirectWindows;
using quillon::testing::TopWindow;

TEST(NotchOverlay, AChipFloatsAtTheTopCentreWithoutTakingFocusAndGoesAfterItsTime)
{
    QUILLON_REQUIRE_DESKTOP();
    LinuxPlatform linuxPlatform;
    platform::Platform* previous = platform::hasPlatform() ? &platform::platform() : nullptr;
    platform::setPlatform(&linuxPlatform);
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);

    // An ordinary window holds the focus.
    QWidget holder;
    holder.setWindowTitle(QStringLiteral("focus holder"));
    holder.resize(300, 200);
    holder.show();
    const auto holderId = xcb_window_t(holder.winId());
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] { return ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW") == holderId; }));

    std::set<xcb_window_t> before;
    for (const auto& w : overrideRedirectWindows(*x))
        before.insert(w.id);

    {
        NotchController controller(std::make_shared<ScreenSurface>());
        controller.showChip(NotchStates::sessionChip(true, 25), 1.0, true);
        ASSERT_TRUE(controller.chipMount());
        const NotchBarView* bar = controller.chipMount()->bar();

        std::optional<TopWindow> chip;
        ASSERT_TRUE(quillon::testing::waitFor([&] {
            for (const auto& w : overrideRedirectWindows(*x)) {
                if (!before.count(w.id))
                    chip = w;
            }
            return chip.has_value();
        }));
        // The notch is 120 × 24 at the top centre of the 1920-wide screen; the
        // bar's notch column lies over it and its caption strip hangs below.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int notchLeft = screen.center().x() + 1 - 60;
        EXPECT_EQ(chip->geometry.y(), screen.y());
        EXPECT_EQ(chip->geometry.height(), 24 + 14);
        EXPECT_EQ(chip->geometry.x(),
                  qRound(notchLeft - 14 - bar->leftContentWidth() - bar->captionLeftOverhang()));
        EXPECT_EQ(chip->geometry.width(), int(std::ceil(bar->barSize().width())));

        // No compositor runs here, so the window is cut to the body's shape.
        EXPECT_FALSE(ewmh.compositorRunning());
        XcbReply<xcb_shape_query_extents_reply_t> extents(
            xcb_shape_query_extents_reply(x->get(), xcb_shape_query_extents(x->get(), chip->id), nullptr));
        ASSERT_TRUE(extents);
        EXPECT_TRUE(extents->bounding_shaped);

        quillon::testing::waitFor([] { return false; }, 300);
        EXPECT_EQ(ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW"), holderId);

        // Gone after its second and the closing.
        EXPECT_TRUE(quillon::testing::waitFor(
            [&] {
                for (const auto& w : overrideRedirectWindows(*x)) {
                    if (w.id == chip->id)
                        return false;
                }
                return true;
            },
            4000));
        EXPECT_FALSE(controller.chipMount());
    }
    EXPECT_EQ(ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW"), holderId);
    platform::setPlatform(previous);
}

} // namespace
