// Screen text and the colour loupe in a running quillon, driven through
// XTest as a person drives them; results read from the clipboard.
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::XcbReply;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xT = 28, xEscape = 9, xSuper = 133, xAlt = 64,
                  xShift = 50, xC = 54;

QSize rootSize(Typist& typist)
{
    XcbReply<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(
        typist.x().get(), xcb_get_geometry(typist.x().get(), typist.x().root()), nullptr));
    return root ? QSize(root->width, root->height) : QSize();
}

// Our full-screen windows: override-redirect, covering the whole root.
int fullScreenOverlays(Typist& typist)
{
    const QSize size = rootSize(typist);
    int count = 0;
    for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
        if (w.geometry == QRect(QPoint(0, 0), size))
            ++count;
    }
    return count;
}

QString clipboardText()
{
    return QApplication::clipboard()->text();
}

// Escape until `closed`: the tap is armed on the interceptor's own connection
// a moment after the windows show, so under load a first press may come early.
bool escapeUntil(Typist& typist, const std::function<bool()>& closed)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        typist.tap(xEscape);
        if (waitFor(closed, 2000))
            return true;
    }
    return false;
}

void drag(Typist& typist, QPoint from, QPoint to)
{
    typist.moveTo(from.x(), from.y());
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    for (int step = 1; step <= 4; ++step) {
        typist.moveTo(from.x() + (to.x() - from.x()) * step / 4, from.y() + (to.y() - from.y()) * step / 4);
        waitFor([] { return false; }, 50);
    }
    typist.button(1, false);
}

class OCRDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        quillon = std::make_unique<QuillonRun>(
            home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                                   "ocr.isEnabled": {"type": "bool", "value": true}})"));
        ASSERT_TRUE(quillon->start());
        ASSERT_TRUE(waitFor([&] { return quillon->log().contains("OCR: activated"); }, 10000))
            << quillon->log().toStdString();
        quillon->waitForSettingsWindow();
    }

    void openOverlay()
    {
        HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        waitFor([] { return false; }, 300);
        typist.tap(xT);
        ASSERT_TRUE(waitFor([&] { return fullScreenOverlays(typist) == 1; }, 10000))
            << quillon->log().toStdString();
    }

    QTemporaryDir home;
    std::unique_ptr<QuillonRun> quillon;
    Typist typist;
};

TEST_F(OCRDesktop, EscapeAndASmallDragCloseTheOverlay)
{
    openOverlay();
    EXPECT_TRUE(escapeUntil(typist, [&] { return fullScreenOverlays(typist) == 0; }));

    openOverlay();
    drag(typist, QPoint(300, 300), QPoint(400, 305));
    EXPECT_TRUE(waitFor([&] { return fullScreenOverlays(typist) == 0; }, 10000));
}

TEST_F(OCRDesktop, ADragOverTextPutsItOnTheClipboard)
{
    // A line of 24-pixel text in a window of the test, where the drag goes.
    QLabel text(QStringLiteral("Quillon reads this line"));
    text.setWindowFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
    text.setStyleSheet(QStringLiteral("QLabel { background: white; color: black; font: 24px 'DejaVu Sans'; "
                                      "padding: 12px; }"));
    text.setGeometry(200, 400, 600, 60);
    text.show();
    ASSERT_TRUE(waitFor([&] { return text.isVisible(); }));
    waitFor([] { return false; }, 300);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    waitFor([] { return false; }, 200);

    openOverlay();
    drag(typist, QPoint(205, 404), QPoint(795, 456));
    EXPECT_TRUE(waitFor([&] { return fullScreenOverlays(typist) == 0; }, 10000));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QStringLiteral("Quillon reads this line"); }, 20000))
        << clipboardText().toStdString() << "\n"
        << quillon->log().toStdString();
}

// Two monitors side by side: one window over each, the screen darker under
// them, and the focus where it was.
TEST(OCRDesktopMonitors, OneDimmedWindowPerMonitorAndTheFocusStays)
{
    QUILLON_REQUIRE_DESKTOP();
    Typist typist;
    const QSize size = rootSize(typist);
    const int half = size.width() / 2;
    run("xrandr",
        {"--setmonitor", "left", QStringLiteral("%1/254x%2/286+0+0").arg(half).arg(size.height()), "screen"});
    run("xrandr",
        {"--setmonitor", "right", QStringLiteral("%1/254x%2/286+%1+0").arg(half).arg(size.height()), "none"});
    // Taken down again however the test ends: later tests expect one monitor.
    struct Monitors {
        ~Monitors()
        {
            run("xrandr", {"--delmonitor", "right"});
            run("xrandr", {"--delmonitor", "left"});
            QProcess::execute("xsetroot", {"-solid", "black"});
        }
    } monitors;
    ASSERT_EQ(QProcess::execute("xsetroot", {"-solid", "#808080"}), 0);
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "ocr.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("OCR: activated"); }, 10000));
    quillon.waitForSettingsWindow();
    auto activeWindow = [] { return run("xprop", {"-root", "_NET_ACTIVE_WINDOW"}).trimmed(); };
    auto corner = [&] {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, 5, size.height() - 5, 1, 1)
            .toImage()
            .pixelColor(0, 0);
    };
    const QString focused = activeWindow();
    ASSERT_EQ(corner(), QColor(0x80, 0x80, 0x80));

    auto monitorWindows = [&] {
        int count = 0;
        for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
            if (w.geometry == QRect(0, 0, half, size.height()) ||
                w.geometry == QRect(half, 0, half, size.height()))
                ++count;
        }
        return count;
    };
    {
        HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        waitFor([] { return false; }, 300);
        typist.tap(xT);
        EXPECT_TRUE(waitFor([&] { return monitorWindows() == 2; }, 10000)) << quillon.log().toStdString();
    }
    EXPECT_TRUE(waitFor([&] { return corner().red() < 0x80 && corner().red() > 0x40; }, 10000))
        << corner().name().toStdString();
    EXPECT_EQ(activeWindow(), focused);
    EXPECT_TRUE(escapeUntil(typist, [&] { return monitorWindows() == 0; }));
}

TEST(ColorPickerDesktop, AClickCopiesTheColourAndEscapeLeavesTheClipboard)
{
    QUILLON_REQUIRE_DESKTOP();
    ASSERT_EQ(QProcess::execute("xsetroot", {"-solid", "#1E90FF"}), 0);
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "colorPicker.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Color: ON"); }, 10000))
        << quillon.log().toStdString();
    quillon.waitForSettingsWindow();
    Typist typist;
    const QSize size = rootSize(typist);
    auto openLoupe = [&] {
        HeldKeys chord(typist, {xSuper, xAlt, xShift});
        typist.tap(xC);
        return waitFor([&] { return fullScreenOverlays(typist) == 1; }, 10000);
    };

    QApplication::clipboard()->setText(QStringLiteral("before"));
    ASSERT_TRUE(openLoupe()) << quillon.log().toStdString();
    EXPECT_TRUE(escapeUntil(typist, [&] { return fullScreenOverlays(typist) == 0; }));
    waitFor([] { return false; }, 300);
    EXPECT_EQ(clipboardText(), QStringLiteral("before"));

    ASSERT_TRUE(openLoupe()) << quillon.log().toStdString();
    // The bottom-left corner shows the root, clear of the notch and windows.
    typist.moveTo(10, size.height() - 10);
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QStringLiteral("#1E90FF"); }, 10000))
        << clipboardText().toStdString();
    EXPECT_TRUE(waitFor([&] { return fullScreenOverlays(typist) == 0; }, 10000))
        << quillon.log().toStdString();
    QProcess::execute("xsetroot", {"-solid", "black"});
}

} // namespace

#include "fakes/ForwardingPlatform.h"
#include "features/colorpicker/ColorPickerFeature.h"
#include "input/HotKeyWatcher.h"
#include "platform/linux/X11HotKeys.h"

namespace {

// After deactivate, Super+Alt+Shift+C belongs to whoever asks for it next.
TEST(ColorPickerDesktop, DeactivateHandsTheKeysBack)
{
    QUILLON_REQUIRE_DESKTOP();
    struct HotKeyPlatform final : quillon::fakes::ForwardingPlatform {
        quillon::platform::HotKeys& hotKeys() override { return hot; }
        quillon::platform::linux_::X11HotKeys hot;
    } platform;
    quillon::HotKeyWatcher watcher;
    quillon::ColorPickerFeature feature(watcher);
    Typist other;
    xcb_connection_t* conn = other.x().get();
    const uint16_t mods = XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT;
    auto othersCanGrab = [&] {
        XcbReply<xcb_generic_error_t> error(
            xcb_request_check(conn, xcb_grab_key_checked(conn, 0, other.x().root(), mods, xC,
                                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        if (error)
            return false;
        xcb_ungrab_key(conn, xC, other.x().root(), mods);
        xcb_flush(conn);
        return true;
    };
    ASSERT_TRUE(othersCanGrab());
    feature.activate();
    ASSERT_TRUE(feature.hotKeyId());
    EXPECT_TRUE(waitFor([&] { return !othersCanGrab(); }, 10000));
    feature.deactivate();
    EXPECT_TRUE(waitFor([&] { return othersCanGrab(); }, 10000));
}

} // namespace
