// The paste menu on a real desktop: it floats over the window the user types
// in without taking the focus from it, and a press on a row reports its slot.
#include "features/clipboard/ClipboardMenu.h"
#include "common/Desktop.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/LinuxPlatform.h"

#include <QCursor>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::overrideRedirectWindows;
using quillon::testing::TopWindow;
using quillon::testing::Typist;
using quillon::testing::waitFor;

constexpr uint8_t xA = 38;

/// The focused test window, with the number of key presses it received.
class KeyWindow {
public:
    KeyWindow()
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine()) {
                const QStringList parts = QString::fromUtf8(m_process.readLine()).trimmed().split(' ');
                if (parts.value(0) == "ready")
                    window = parts.value(1).toUInt();
                else if (parts.value(0) == "press")
                    ++presses;
            }
        });
        m_process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-keywindow"), {});
    }
    ~KeyWindow()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    xcb_window_t window = 0;
    int presses = 0;

private:
    QProcess m_process;
};

xcb_window_t inputFocus(X11Connection& x)
{
    XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    return reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
}

TEST(ClipboardMenu, FloatsAtThePointerWithoutTakingTheFocus)
{
    QUILLON_REQUIRE_DESKTOP();
    LinuxPlatform linuxPlatform;
    platform::Platform* previous = platform::hasPlatform() ? &platform::platform() : nullptr;
    platform::setPlatform(&linuxPlatform);

    KeyWindow keyWindow;
    ASSERT_TRUE(waitFor([&] { return keyWindow.window != 0; }));
    Typist typist;
    Ewmh ewmh(typist.x());
    const auto active = [&] { return ewmh.windowValue(typist.x().root(), "_NET_ACTIVE_WINDOW"); };
    ASSERT_EQ(active(), keyWindow.window);

    typist.moveTo(300, 200);
    ASSERT_TRUE(waitFor([&] { return QCursor::pos() == QPoint(300, 200); }));
    const auto before = overrideRedirectWindows(typist.x());

    ClipboardMenu menu;
    std::vector<int> picks;
    menu.onPick = [&](int slot) { picks.push_back(slot); };
    menu.show({"https://example.org/a", "let x = f(y);", "Meeting notes for Tuesday"}, {false, false, true},
              ClipboardTab::recent);
    const QRect expected(304, 204, 340, 167);
    std::optional<TopWindow> shown;
    ASSERT_TRUE(waitFor([&] {
        for (const TopWindow& w : overrideRedirectWindows(typist.x()))
            if (w.geometry == expected)
                shown = w;
        return shown.has_value();
    })) << "no 340 × 167 override-redirect window at the pointer + 4";
    EXPECT_GT(overrideRedirectWindows(typist.x()).size(), before.size());
    EXPECT_EQ(active(), keyWindow.window);
    EXPECT_EQ(inputFocus(typist.x()), keyWindow.window);

    // Typing still reaches the window the user types in.
    typist.tap(xA);
    EXPECT_TRUE(waitFor([&] { return keyWindow.presses >= 1; }));
    if (qEnvironmentVariableIsSet("QUILLON_TEST_PAUSE"))
        waitFor([] { return false; }, qEnvironmentVariableIntValue("QUILLON_TEST_PAUSE"));

    // The second row: rows start 29 below the panel's top, 34 each.
    typist.moveTo(expected.left() + 100, expected.top() + 29 + 34 + 17);
    typist.button(1, true);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return !picks.empty(); }));
    EXPECT_EQ(picks, std::vector<int>{2});
    waitFor([] { return false; }, 200);
    EXPECT_EQ(active(), keyWindow.window);
    EXPECT_EQ(inputFocus(typist.x()), keyWindow.window);

    menu.close();
    EXPECT_TRUE(waitFor([&] {
        for (const TopWindow& w : overrideRedirectWindows(typist.x()))
            if (w.id == shown->id)
                return false;
        return true;
    }));
    platform::setPlatform(previous);
}

} // namespace
