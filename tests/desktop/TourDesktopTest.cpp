// The getting-started tour in a running quillon: the shelf card's sample,
// dragged out of the settings window towards the top centre, reaches the shelf
// like any file, and a card's "Show me" runs the feature for real.
#include "common/ShelfDesktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::XcbReply;

constexpr uint8_t xReturn = 36, xEscape = 9;

// Where the settings window (868 × 648) draws what the test presses, in its
// client area: General's "Take the Tour", the shelf card's sample tile and a
// feature card's "Show me".
const QPoint takeTheTour(778, 161);
const QPoint sampleTile(286, 248);
const QPoint showMe(301, 215);

const QByteArray shelfAndClipboardOn = R"({"diagnostics.logging": {"type": "bool", "value": true},
                                          "shelf.isEnabled": {"type": "bool", "value": true},
                                          "clipboard.isEnabled": {"type": "bool", "value": true}})";

class TourDesktop : public ShelfDesktop {
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
    /// Starts quillon, opens the tour from General and presses Return
    /// `steps` times; the settings window's client area.
    std::optional<QRect> openTour(int steps)
    {
        startQuillon(shelfAndClipboardOn);
        if (!quillon->waitForSettingsWindow()) {
            // With a tray the window waits to be asked for: a second launch asks.
            QuillonRun second(home, QByteArray());
            EXPECT_TRUE(second.start());
            second.process.waitForFinished(10000);
        }
        std::optional<QRect> window;
        if (!waitFor([&] { return (window = settingsWindow("General")).has_value(); }))
            return std::nullopt;
        waitFor([] { return false; }, 300);
        clickAt(window->topLeft() + takeTheTour);
        if (!waitFor([&] { return (window = settingsWindow("Getting Started")).has_value(); }))
            return std::nullopt;
        for (int i = 0; i < steps; ++i) {
            typist.tap(xReturn);
            waitFor([] { return false; }, 250);
        }
        waitFor([] { return false; }, 500);
        return window;
    }
};

TEST_F(TourDesktop, TheSampleDraggedFromTheTourLandsOnTheShelf)
{
    // Past the welcome card and the five steps before the shelf's.
    const std::optional<QRect> window = openTour(6);
    ASSERT_TRUE(window) << "the tour did not open";

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

TEST_F(TourDesktop, ShowMeOpensTheClipboardPickerAtThePointer)
{
    // Something to pick, copied while the tour opens.
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before the tour"));
    // Past the welcome card and the two steps before the clipboard's.
    const std::optional<QRect> window = openTour(3);
    ASSERT_TRUE(window) << "the tour did not open";
    const QPoint button = window->topLeft() + showMe;
    const auto pickerAtPointer = [&]() -> std::optional<QRect> {
        for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
            if (w.geometry.height() > 40 && w.geometry.adjusted(-30, -30, 30, 30).contains(button))
                return w.geometry;
        }
        return std::nullopt;
    };
    ASSERT_FALSE(pickerAtPointer());
    clickAt(button);
    EXPECT_TRUE(waitFor([&] { return pickerAtPointer().has_value(); })) << quillon->log().toStdString();
    typist.tap(xEscape);
    EXPECT_TRUE(waitFor([&] { return !pickerAtPointer(); }));
}

} // namespace
