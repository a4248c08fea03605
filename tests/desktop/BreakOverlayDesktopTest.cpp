// The break screen against the X server and openbox: a panel on each of two
// monitors, the whole keyboard taken (the window manager's keys included),
// Esc twice, Ctrl+Alt+Esc, a click on Skip, and a keyboard another client
// holds when the break begins.
#include "common/Desktop.h"
#include "common/KeyWindow.h"
#include "common/SplitScreen.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "features/breaks/BreakOverlay.h"
#include "features/breaks/BreakPanel.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/X11KeyInterceptor.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11ScreenCapture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using platform::linux_::Ewmh;
using platform::linux_::X11Connection;

namespace {

constexpr uint8_t xA = 38, xB = 56, xTab = 23, xAlt = 64, xCtrl = 37, xEscape = 9;

class BreakPlatform final : public fakes::ForwardingPlatform {
public:
    platform::Displays& displays() override { return displaysImpl; }
    platform::OverlayWindows& overlayWindows() override { return overlays; }
    platform::KeyInterceptor& keyInterceptor() override { return interceptor; }
    platform::ScreenCapture& screenCapture() override { return capture; }

    platform::linux_::QtDisplays displaysImpl;
    platform::linux_::X11OverlayWindows overlays;
    platform::linux_::X11KeyInterceptor interceptor;
    platform::linux_::X11ScreenCapture capture;
};

class BreakOverlayDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_split = std::make_unique<SplitScreen>();
        m_platform = std::make_unique<BreakPlatform>();
        ASSERT_TRUE(waitFor([&] { return m_platform->displaysImpl.screens().size() == 2; }, 10000));
        m_x = X11Connection::open();
        m_ewmh = std::make_unique<Ewmh>(*m_x);
        m_window = std::make_unique<KeyWindow>();
        ASSERT_TRUE(m_window->waitReady());
        m_active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW");
        m_overlay = std::make_unique<BreakOverlay>();
    }
    void TearDown() override
    {
        m_overlay.reset();
        m_window.reset();
        m_platform.reset();
        m_split.reset();
    }

    void show(double skipDelay = 0)
    {
        m_overlay->show(60, BreakOverlay::prompts[0], skipDelay,
                        [this](BreakOutcome outcome) { outcomes.push_back(outcome); });
    }
    /// Waits with the fake main queue drained as it goes: the overlay's key
    /// handling is posted there.
    bool settle(const std::function<bool()>& condition, int timeoutMs = 10000)
    {
        return waitFor(
            [&] {
                m_platform->fake.queue.drain();
                return condition();
            },
            timeoutMs);
    }
    bool panelsMapped()
    {
        int covering = 0;
        for (const TopWindow& w : overrideRedirectWindows(*m_x))
            covering += w.geometry == QRect(0, 0, 960, 1080) || w.geometry == QRect(960, 0, 960, 1080);
        return covering == 2;
    }
    bool panelsGone()
    {
        for (const TopWindow& w : overrideRedirectWindows(*m_x)) {
            if (w.geometry == QRect(0, 0, 960, 1080) || w.geometry == QRect(960, 0, 960, 1080))
                return false;
        }
        return true;
    }
    void escTwice()
    {
        typist.tap(xEscape);
        typist.tap(xEscape);
    }

    std::unique_ptr<SplitScreen> m_split;
    std::unique_ptr<BreakPlatform> m_platform;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::unique_ptr<KeyWindow> m_window;
    std::optional<xcb_window_t> m_active;
    std::unique_ptr<BreakOverlay> m_overlay;
    Typist typist;
    std::vector<BreakOutcome> outcomes;
};

TEST_F(BreakOverlayDesktop, ItCoversEachMonitorTakesEveryKeyAndEscTwiceEndsIt)
{
    show();
    ASSERT_TRUE(settle([&] { return panelsMapped(); }));
    ASSERT_TRUE(settle([&] { return m_platform->interceptor.holdsWholeKeyboard(); }));
    EXPECT_EQ(m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW"), m_active);

    typist.tap(xA);
    typist.key(xAlt, true);
    typist.tap(xTab);
    typist.key(xAlt, false);
    escTwice();
    ASSERT_TRUE(settle([&] { return outcomes == std::vector{BreakOutcome::skipped}; })) << outcomes.size();
    EXPECT_TRUE(settle([&] { return panelsGone(); }));
    EXPECT_FALSE(m_platform->interceptor.holdsWholeKeyboard());
    EXPECT_EQ(m_window->count("press", xA), 0);
    EXPECT_EQ(m_window->count("press", xTab), 0);
    EXPECT_EQ(m_window->count("press", xEscape), 0);
    EXPECT_EQ(m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW"), m_active) << "openbox saw no Alt+Tab";

    typist.tap(xB);
    EXPECT_TRUE(m_window->waitReleased(xB)) << "the next key reaches the window";
    EXPECT_EQ(m_window->count("press", xB), 1);
}

TEST_F(BreakOverlayDesktop, CtrlAltEscGivesTheKeyboardBackWhileThePanelsStay)
{
    show();
    ASSERT_TRUE(settle([&] { return panelsMapped() && m_platform->interceptor.holdsWholeKeyboard(); }));
    typist.key(xCtrl, true);
    typist.key(xAlt, true);
    typist.tap(xEscape);
    typist.key(xAlt, false);
    typist.key(xCtrl, false);
    ASSERT_TRUE(settle([&] { return !m_overlay->keyTap().isArmed(); }));
    EXPECT_FALSE(m_platform->interceptor.holdsWholeKeyboard());
    typist.tap(xB);
    EXPECT_TRUE(m_window->waitReleased(xB));
    EXPECT_TRUE(panelsMapped());
    EXPECT_TRUE(outcomes.empty());
}

TEST_F(BreakOverlayDesktop, AClickOnSkipEndsTheBreak)
{
    show();
    ASSERT_TRUE(settle([&] { return panelsMapped(); }));
    PillButton* skip = m_overlay->skipButtons().at(1);
    ASSERT_TRUE(skip->isEnabled());
    const QPoint centre = skip->mapToGlobal(skip->rect().center());
    EXPECT_GE(centre.x(), 960) << "on the second monitor's card";
    typist.moveTo(centre.x(), centre.y());
    typist.button(1, true);
    typist.button(1, false);
    ASSERT_TRUE(settle([&] { return outcomes == std::vector{BreakOutcome::skipped}; }));
    EXPECT_TRUE(settle([&] { return panelsGone(); }));
}

TEST_F(BreakOverlayDesktop, AKeyboardHeldByAnotherClientIsTakenOnceItLetsGo)
{
    auto other = X11Connection::open();
    platform::linux_::XcbReply<xcb_grab_keyboard_reply_t> grabbed(
        xcb_grab_keyboard_reply(other->get(),
                                xcb_grab_keyboard(other->get(), 1, other->root(), XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr));
    ASSERT_TRUE(grabbed && grabbed->status == XCB_GRAB_STATUS_SUCCESS);
    show();
    ASSERT_TRUE(settle([&] { return panelsMapped(); })) << "the break shows meanwhile";
    EXPECT_FALSE(m_platform->interceptor.holdsWholeKeyboard());

    xcb_ungrab_keyboard(other->get(), XCB_CURRENT_TIME);
    xcb_flush(other->get());
    ASSERT_TRUE(settle([&] { return m_platform->interceptor.holdsWholeKeyboard(); }));
    escTwice();
    EXPECT_TRUE(settle([&] { return outcomes == std::vector{BreakOutcome::skipped}; }));
}

} // namespace
