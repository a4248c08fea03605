// What the break schedule reads from the X server: how long input has been
// left alone, and how long since a key went down, with keys and pointer
// moves typed through XTest.
#include "common/Desktop.h"
#include "common/KeyWindow.h"
#include "common/QuillonRun.h"
#include "common/SplitScreen.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11InputIdle.h"
#include "platform/linux/X11KeyEvents.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class IdlePlatform final : public fakes::ForwardingPlatform {
public:
    platform::Clock& clock() override { return clockImpl; }
    platform::KeyEvents& keyEvents() override { return keys; }
    platform::InputIdle& inputIdle() override { return idle; }

    platform::linux_::SystemClock clockImpl;
    platform::linux_::X11KeyEvents keys;
    platform::linux_::X11InputIdle idle;
};

TEST(BreakScheduleDesktop, AMoveIsInputButNoKeyAndAKeyIsBoth)
{
    QUILLON_REQUIRE_DESKTOP();
    IdlePlatform p;
    Typist typist;
    p.idle.listen(true);
    // Nothing typed since listening began, two seconds ago.
    QElapsedTimer since;
    since.start();
    waitFor([&] { return since.elapsed() >= 2000; }, 3000);
    typist.moveTo(400, 300);
    typist.moveTo(420, 310);
    ASSERT_TRUE(waitFor([&] { return p.idle.secondsSinceInput() < 1.0; }, 10000));
    EXPECT_GE(p.idle.secondsSinceKeyDown(), 1.0);

    typist.tap(38); // A
    ASSERT_TRUE(waitFor([&] { return p.idle.secondsSinceKeyDown() < 1.0; }, 10000));
    EXPECT_LT(p.idle.secondsSinceInput(), 1.0);

    p.idle.listen(false);
    EXPECT_EQ(p.idle.secondsSinceKeyDown(), 0.0);
}

// The real binary with a one-minute interval: about 61 s after it starts
// one break panel covers each monitor, keys reach no window, Esc twice ends it.
TEST(BreakScheduleDesktop, TheBreakComesAfterAMinuteOnEveryMonitorAndEscTwiceEndsIt)
{
    QUILLON_REQUIRE_DESKTOP();
    SplitScreen split;
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "breaks.isEnabled": {"type": "bool", "value": true},
                                            "breaks.workIntervalMinutes": {"type": "int", "value": 1},
                                            "breaks.smartDefer": {"type": "bool", "value": false}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Breaks activated"); }, 10000))
        << quillon.log().toStdString();
    quillon.waitForSettingsWindow();
    KeyWindow window;
    ASSERT_TRUE(window.waitReady());
    auto x = platform::linux_::X11Connection::open();
    const auto panels = [&] {
        int covering = 0;
        for (const TopWindow& w : overrideRedirectWindows(*x))
            covering += w.geometry == QRect(0, 0, 960, 1080) || w.geometry == QRect(960, 0, 960, 1080);
        return covering;
    };
    ASSERT_TRUE(waitFor([&] { return panels() == 2; }, 90000)) << quillon.log().toStdString();
    EXPECT_TRUE(quillon.log().contains("Breaks: screen up on 2 display(s)"));

    Typist typist;
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Breaks: screen up"); }, 5000));
    typist.tap(38); // A
    typist.tap(9);  // Esc
    typist.tap(9);
    ASSERT_TRUE(waitFor([&] { return panels() == 0; }, 10000)) << quillon.log().toStdString();
    EXPECT_TRUE(quillon.log().contains("skipped"));
    typist.tap(56); // B
    ASSERT_TRUE(window.waitReleased(56)) << "the keyboard is back";
    EXPECT_EQ(window.count("press", 38), 0) << "typed during the break, it reached no window";
    EXPECT_EQ(window.count("press", 9), 0);
}

} // namespace
