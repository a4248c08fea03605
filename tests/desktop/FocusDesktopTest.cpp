// Focus dimming in a running quillon, with xcompmgr compositing the virtual
// desktop: two test windows of two programs, the dimming overlay stacked
// between them, what lands on screen, and the compositor going away.
#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11ScreenCapture.h"
#include "platform/linux/X11WindowControl.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::ClientInfo;
using quillon::platform::linux_::Ewmh;
using quillon::platform::linux_::X11Connection;
using quillon::platform::linux_::X11OverlayWindows;
using quillon::platform::linux_::XcbReply;

class FocusDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        const QString xcompmgr = QStandardPaths::findExecutable(QStringLiteral("xcompmgr"));
        ASSERT_FALSE(xcompmgr.isEmpty()) << "xcompmgr is missing; run scripts/install-deps";
        m_x = X11Connection::open();
        ASSERT_TRUE(m_x);
        m_ewmh = std::make_unique<Ewmh>(*m_x);
        m_compositor.start(xcompmgr, {});
        ASSERT_TRUE(waitFor([&] { return m_ewmh->compositorRunning(); }, 10000));

        m_left.emplace(QStringList{"--title", "Left"});
        m_right.emplace(QStringList{"--title", "Right"});
        ASSERT_EQ(m_left->ids.size(), 1u);
        ASSERT_EQ(m_right->ids.size(), 1u);
        left = m_left->ids.front();
        right = m_right->ids.front();
        place(left, QRectF(100, 150, 500, 400));
        place(right, QRectF(800, 150, 500, 400));

        m_quillon = std::make_unique<QuillonRun>(
            m_home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                   "focus.isEnabled": {"type": "bool", "value": true},
                                   "focus.alpha": {"type": "double", "value": 0.5}})"));
        ASSERT_TRUE(m_quillon->start());
        ASSERT_TRUE(waitFor([&] { return m_quillon->log().contains("Focus activated"); }, 10000))
            << m_quillon->log().toStdString();
        m_quillon->waitForSettingsWindow();
        // The settings window opens at launch; close it, then work in Left.
        m_ewmh->close(*m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW"));
        activate(left);
    }
    void TearDown() override
    {
        m_quillon.reset();
        m_left.reset();
        m_right.reset();
        if (m_compositor.state() != QProcess::NotRunning) {
            m_compositor.terminate();
            m_compositor.waitForFinished(5000);
        }
    }

    void place(xcb_window_t id, const QRectF& frame)
    {
        quillon::platform::linux_::X11WindowControl control(X11Connection::open());
        std::optional<std::optional<QRectF>> done;
        control.setFrame(id, frame, [&](std::optional<QRectF> f) { done = f; });
        ASSERT_TRUE(waitFor([&] { return done.has_value(); }, 10000));
    }
    void activate(xcb_window_t id)
    {
        const auto isActive = [&] { return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW") == id; };
        bool settled = false;
        for (int attempt = 0; attempt < 5 && !settled; ++attempt) {
            m_ewmh->activate(id);
            settled = waitFor(isActive) && !waitFor([&] { return !isActive(); }, 300);
        }
        ASSERT_TRUE(settled);
    }

    /// The root's children, bottom to top.
    std::vector<xcb_window_t> stacking()
    {
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_x->get(), xcb_query_tree(m_x->get(), m_x->root()), nullptr));
        if (!tree)
            return {};
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return {children, children + xcb_query_tree_children_length(tree.get())};
    }
    /// The frame of a client: its ancestor that is a child of the root.
    xcb_window_t frameOf(xcb_window_t window)
    {
        for (;;) {
            XcbReply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(m_x->get(), xcb_query_tree(m_x->get(), window), nullptr));
            if (!tree || tree->parent == tree->root)
                return window;
            window = tree->parent;
        }
    }
    /// The dimming overlays mapped now.
    std::vector<xcb_window_t> shownOverlays()
    {
        std::vector<xcb_window_t> shown;
        const auto marked = X11OverlayWindows::captureExcludedWindows(*m_x);
        for (const TopWindow& w : overrideRedirectWindows(*m_x)) {
            if (std::count(marked.begin(), marked.end(), w.id))
                shown.push_back(w.id);
        }
        return shown;
    }
    /// The overlay lies directly above `below`'s frame and under `above`'s.
    bool dimmedBetween(xcb_window_t below, xcb_window_t above)
    {
        const auto overlays = shownOverlays();
        if (overlays.size() != 1)
            return false;
        const auto order = stacking();
        const auto at = [&](xcb_window_t w) {
            return std::find(order.begin(), order.end(), w) - order.begin();
        };
        const auto overlay = at(overlays.front());
        return overlay == at(frameOf(below)) + 1 && at(frameOf(above)) > overlay;
    }
    /// The red of one pixel of the composited screen (the windows are white).
    int redAt(int x, int y)
    {
        XcbReply<xcb_get_image_reply_t> image(
            xcb_get_image_reply(m_x->get(),
                                xcb_get_image(m_x->get(), XCB_IMAGE_FORMAT_Z_PIXMAP, m_x->root(), int16_t(x),
                                              int16_t(y), 1, 1, ~0u),
                                nullptr));
        if (!image || xcb_get_image_data_length(image.get()) < 4)
            return -1;
        const uint8_t* data = xcb_get_image_data(image.get());
        return data[2];
    }

    QTemporaryDir m_home;
    QProcess m_compositor;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::optional<TestWindows> m_left;
    std::optional<TestWindows> m_right;
    std::unique_ptr<QuillonRun> m_quillon;
    xcb_window_t left = 0;
    xcb_window_t right = 0;
};

TEST_F(FocusDesktop, DimsAllButTheActiveWindowAndFollowsAClick)
{
    ASSERT_TRUE(waitFor([&] { return dimmedBetween(right, left); }, 10000)) << m_quillon->log().toStdString();
    // White stays white in the active window; the other is darkened by half.
    ASSERT_TRUE(
        waitFor([&] { return redAt(350, 350) > 240 && std::abs(redAt(1050, 350) - 128) < 16; }, 10000))
        << redAt(350, 350) << " " << redAt(1050, 350);

    // A click on the dimmed window goes through the overlay and brightens it.
    Typist typist;
    typist.moveTo(1050, 350);
    typist.button(1, true);
    typist.button(1, false);
    ASSERT_TRUE(waitFor([&] { return dimmedBetween(left, right); }, 10000)) << m_quillon->log().toStdString();
    EXPECT_TRUE(
        waitFor([&] { return redAt(1050, 350) > 240 && std::abs(redAt(350, 350) - 128) < 16; }, 10000))
        << redAt(350, 350) << " " << redAt(1050, 350);
}

TEST_F(FocusDesktop, TheOverlaysGoWithTheCompositor)
{
    ASSERT_TRUE(waitFor([&] { return shownOverlays().size() == 1; }, 10000));
    m_compositor.terminate();
    m_compositor.waitForFinished(5000);
    EXPECT_TRUE(waitFor([&] { return shownOverlays().empty(); }, 10000)) << m_quillon->log().toStdString();
    // Nothing left dark.
    EXPECT_TRUE(waitFor([&] { return redAt(1050, 350) > 240; }, 10000)) << redAt(1050, 350);
}

// Our own captures read the desktop beneath the dimming: the screen-text
// selection and the colour loupe see the real colours.
TEST_F(FocusDesktop, OurScreenCaptureLeavesTheDimmingOut)
{
    ASSERT_TRUE(waitFor([&] { return dimmedBetween(right, left); }, 10000)) << m_quillon->log().toStdString();
    ASSERT_TRUE(waitFor([&] { return std::abs(redAt(1050, 350) - 128) < 16; }, 10000)) << redAt(1050, 350);
    quillon::platform::linux_::QtDisplays displays;
    const auto screens = displays.screens();
    ASSERT_FALSE(screens.empty());
    quillon::platform::linux_::X11ScreenCapture capture;
    const QImage image = capture.capture(screens.front());
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(qRed(image.pixel(1050, 350)), 240) << "the dimmed window, undimmed";
    EXPECT_GT(qRed(image.pixel(350, 350)), 240);
}

} // namespace
