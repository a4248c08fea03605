// The tour's shelf sample in a running quillon: dragged out of the settings
// window towards the top centre, it reaches the shelf like any file.
#include "common/ShelfDesktop.h"

#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::XcbReply;

constexpr uint8_t xReturn = 36;

// Where the settings window (868 × 648) draws what the test presses, in its
// client area: General's "Take the Tour" and the shelf card's sample tile.
const QPoint takeTheTour(778, 161);
const QPoint sampleTile(286, 248);

class GettingStartedShelfDesktop : public ShelfDesktop {
protected:
    /// The settings window's client area on the screen; none while it is not shown.
    std::optional<QRect> settingsWindow(const QString& title)
    {
        const QString id =
            run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(quillon->process.processId()),
                            "--name", "^" + title + "$"})
                .section('\n', 0, 0)
                .trimmed();
        if (id.isEmpty())
            return std::nullopt;
        // Where the client area lies on the root, whatever frame the window manager adds.
        xcb_connection_t* c = typist.x().get();
        const auto window = xcb_window_t(id.toULong());
        XcbReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, window, typist.x().root(), 0, 0), nullptr));
        if (!geometry || !origin)
            return std::nullopt;
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }
    void clickAt(const QPoint& at)
    {
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 150);
        typist.button(1, true);
        typist.button(1, false);
    }
};

TEST_F(GettingStartedShelfDesktop, TheSampleDraggedFromTheTourLandsOnTheShelf)
{
    startQuillon();
    if (!quillon->waitForSettingsWindow()) {
        // With a tray the window waits to be asked for: a second launch asks.
        QuillonRun second(home, QByteArray());
        ASSERT_TRUE(second.start());
        second.process.waitForFinished(10000);
    }
    std::optional<QRect> window;
    ASSERT_TRUE(waitFor([&] { return (window = settingsWindow("General")).has_value(); }));
    waitFor([] { return false; }, 300);
    clickAt(window->topLeft() + takeTheTour);
    ASSERT_TRUE(waitFor([&] { return (window = settingsWindow("Getting Started")).has_value(); }));
    // Past the welcome card and the five steps before the shelf's.
    for (int i = 0; i < 6; ++i) {
        typist.tap(xReturn);
        waitFor([] { return false; }, 250);
    }
    waitFor([] { return false; }, 500);

    QPoint at = window->topLeft() + sampleTile;
    typist.moveTo(at.x(), at.y());
    waitFor([] { return false; }, 150);
    typist.button(1, true);
    glide(at, {at.x() + 20, at.y() - 20}, 4);
    glide(at, {centre - 300, 300});
    // The cue hangs below the notch; within reach of it the shelf opens.
    ASSERT_TRUE(waitFor([&] { return cue().has_value(); })) << "no \"drop files here\" cue";
    const QRect chip = *cue();
    glide(at, {chip.left() - 40, chip.bottom() + 30});
    ASSERT_TRUE(waitFor([&] { return shelf().has_value(); })) << quillon->log().toStdString();
    glide(at, shelf()->center(), 6);
    waitFor([] { return false; }, 200);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return itemCount() == 1; })) << quillon->log().toStdString();
}

} // namespace
