#include "common/Desktop.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11ScreenCapture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/composite.h>

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::waitFor;

namespace {

// A plain coloured overlay at a place of the root (native coordinates).
class Patch : public QWidget {
public:
    Patch(X11OverlayWindows& overlays, const QColor& colour, const QRect& where, bool excluded)
        : m_colour(colour)
    {
        overlays.prepare(*this, {.level = 10, .clickThrough = true, .captureExcluded = excluded});
        setGeometry(where);
        overlays.show(*this);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

QColor pixel(const QImage& image, QPoint at)
{
    return image.pixelColor(at);
}

class ScreenCapture : public ::testing::Test {
protected:
    void SetUp() override { QUILLON_REQUIRE_DESKTOP(); }

    // Waits until the capture shows `colour` at `at` (a window paints some
    // time after it maps).
    QImage waitForColour(const QRect& rect, QPoint at, const QColor& colour)
    {
        QImage image;
        waitFor(
            [&] {
                image = capture.captureRoot(rect);
                return !image.isNull() && pixel(image, at) == colour;
            },
            10000);
        return image;
    }

    X11OverlayWindows overlays;
    X11ScreenCapture capture;
};

TEST_F(ScreenCapture, AScreenComesBackInDevicePixelsWithWhatItShows)
{
    ASSERT_TRUE(capture.canCapture());
    Patch red(overlays, QColor(255, 0, 0), QRect(100, 120, 80, 60), false);
    platform::Screen screen;
    // The y-up frame of the top-left 400 × 300 of a 1000-high primary display.
    screen.frame = QRectF(0, 700, 400, 300);
    const QRect device = X11ScreenCapture::deviceRect(screen, QRectF(0, 0, 1600, 1000));
    EXPECT_EQ(device, QRect(0, 0, 400, 300));
    screen.scale = 2.0;
    EXPECT_EQ(X11ScreenCapture::deviceRect(screen, QRectF(0, 0, 1600, 1000)), QRect(0, 0, 800, 600));

    const QImage image = waitForColour(QRect(0, 0, 400, 300), QPoint(140, 150), QColor(255, 0, 0));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(pixel(image, QPoint(140, 150)), QColor(255, 0, 0));
    EXPECT_NE(pixel(image, QPoint(50, 50)), QColor(255, 0, 0));
    // Partly off the root: the size is kept, the outside is black.
    const QImage edge = capture.captureRoot(QRect(-20, 100, 200, 100));
    ASSERT_EQ(edge.size(), QSize(200, 100));
    EXPECT_EQ(pixel(edge, QPoint(5, 50)), QColor(Qt::black));
    EXPECT_EQ(pixel(edge, QPoint(150, 40)), QColor(255, 0, 0));
    EXPECT_TRUE(capture.captureRoot(QRect(-500, -500, 100, 100)).isNull());
}

// Under a compositor (here: the server's own automatic redirection, which
// gives every top-level window a pixmap), a marked overlay is left out and
// what lies beneath it is shown; an unmarked overlay above it stays.
TEST_F(ScreenCapture, LeavesOutCaptureExcludedOverlaysUnderACompositor)
{
    auto compositor = X11Connection::open();
    ASSERT_TRUE(compositor);
    xcb_connection_t* conn = compositor->get();
    XcbReply<xcb_composite_query_version_reply_t> version(
        xcb_composite_query_version_reply(conn, xcb_composite_query_version(conn, 0, 4), nullptr));
    if (!version)
        GTEST_SKIP() << "the X server has no Composite extension";
    ASSERT_FALSE(xcb_request_check(conn, xcb_composite_redirect_subwindows_checked(
                                             conn, compositor->root(), XCB_COMPOSITE_REDIRECT_AUTOMATIC)));

    Patch red(overlays, QColor(255, 0, 0), QRect(200, 200, 200, 200), false);
    Patch dim(overlays, QColor(0, 0, 0), QRect(250, 250, 300, 100), true);
    Patch blue(overlays, QColor(0, 0, 255), QRect(500, 250, 40, 40), false);
    const QRect area(0, 0, 800, 600);
    // The screen itself shows the dimming...
    ASSERT_TRUE(waitFor(
        [&] {
            QImage screen = capture.captureRoot(area);
            const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, 300, 300, 1, 1).toImage();
            return !screen.isNull() && pixel(screen, QPoint(520, 270)) == QColor(0, 0, 255) &&
                   pixel(shown, QPoint(0, 0)) == QColor(0, 0, 0);
        },
        10000));
    const QImage image = capture.captureRoot(area);
    ASSERT_FALSE(image.isNull());
    // ...the capture does not: red beneath it, the blue overlay above it.
    EXPECT_EQ(pixel(image, QPoint(300, 300)), QColor(255, 0, 0));
    EXPECT_EQ(pixel(image, QPoint(220, 220)), QColor(255, 0, 0));
    EXPECT_EQ(pixel(image, QPoint(520, 270)), QColor(0, 0, 255));
}

// Without a compositor a marked overlay has nothing to be rebuilt from: the
// capture still comes back, whole.
TEST_F(ScreenCapture, WithoutACompositorAMarkedOverlayLeavesTheCaptureWhole)
{
    Patch red(overlays, QColor(255, 0, 0), QRect(200, 200, 100, 100), false);
    Patch dim(overlays, QColor(0, 0, 0), QRect(250, 250, 100, 100), true);
    const QImage image = waitForColour(QRect(0, 0, 400, 400), QPoint(220, 220), QColor(255, 0, 0));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(400, 400));
}

} // namespace
