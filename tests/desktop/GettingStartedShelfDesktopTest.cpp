// The tour's shelf sample in a running quillon: dragged out of the settings
// window towards the top centre, it reaches the shelf like any file.
#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "shelf/ShelfStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::ShelfStore;
using quillon::platform::linux_::XcbReply;

constexpr uint8_t xReturn = 36;

// Where the settings window (868 × 648) draws what the test presses, in its
// client area: General's "Take the Tour" and the shelf card's sample tile.
const QPoint takeTheTour(778, 161);
const QPoint sampleTile(286, 248);

class GettingStartedShelfDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        XcbReply<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(
            typist.x().get(), xcb_get_geometry(typist.x().get(), typist.x().root()), nullptr));
        ASSERT_TRUE(root);
        centre = root->width / 2;
    }
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
    int itemCount() const
    {
        const QString folder = home.path() + "/data/Quillon/Shelf";
        int n = 0;
        for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (ShelfStore::idOfFolderName(name) &&
                !QDir(folder + "/" + name).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty())
                ++n;
        }
        return n;
    }
    std::optional<QRect> topWindow(int minHeight, int maxHeight)
    {
        for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
            const QRect& g = w.geometry;
            if (g.top() == 0 && g.left() < centre && g.right() > centre && g.height() >= minHeight &&
                g.height() <= maxHeight)
                return g;
        }
        return std::nullopt;
    }
    void glide(QPoint& at, const QPoint& to, int steps = 12)
    {
        const QPoint from = at;
        for (int i = 1; i <= steps; ++i) {
            at = from + (to - from) * i / steps;
            typist.moveTo(at.x(), at.y());
            waitFor([] { return false; }, 30);
        }
    }
    void clickAt(const QPoint& at)
    {
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 150);
        typist.button(1, true);
        typist.button(1, false);
    }

    Typist typist;
    int centre = 0;
    QTemporaryDir home;
    std::optional<QuillonRun> quillon;
};

TEST_F(GettingStartedShelfDesktop, TheSampleDraggedFromTheTourLandsOnTheShelf)
{
    quillon.emplace(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                         "shelf.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon->start());
    ASSERT_TRUE(waitFor([&] { return quillon->log().contains("Feature Shelf: ON"); }))
        << quillon->log().toStdString();
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
    // The welcome card, then the six steps before the shelf's.
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
    ASSERT_TRUE(waitFor([&] { return topWindow(30, 70).has_value(); })) << "no \"drop files here\" cue";
    const QRect chip = *topWindow(30, 70);
    glide(at, {chip.left() - 40, chip.bottom() + 30});
    ASSERT_TRUE(waitFor([&] { return topWindow(100, 200).has_value(); })) << quillon->log().toStdString();
    glide(at, topWindow(100, 200)->center(), 6);
    waitFor([] { return false; }, 200);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return itemCount() == 1; })) << quillon->log().toStdString();
}

} // namespace
