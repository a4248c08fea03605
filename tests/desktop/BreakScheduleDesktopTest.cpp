// What the break schedule reads from the X server: how long input has been
// left alone, and how long since a key went down, with keys and pointer
// moves typed through XTest.
#include "common/Desktop.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11InputIdle.h"
#include "platform/linux/X11KeyEvents.h"

#include <QElapsedTimer>
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

} // namespace
