#include "common/Desktop.h"
#include "platform/linux/Ewmh.h"

#include <gtest/gtest.h>

using namespace quillon::platform::linux_;

namespace {

TEST(Ewmh, ReadsWhatTheWindowManagerSupportsAndSwitchesDesktops)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);
    EXPECT_TRUE(ewmh.supports({"_NET_NUMBER_OF_DESKTOPS", "_NET_CURRENT_DESKTOP", "_NET_WM_DESKTOP"}));
    EXPECT_FALSE(ewmh.supports({"_QUILLON_NOT_A_HINT"}));
    const auto check = ewmh.windowValue(x->root(), "_NET_SUPPORTING_WM_CHECK");
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(ewmh.utf8(*check, "_NET_WM_NAME"), QString("Openbox"));

    const auto count = ewmh.cardinal(x->root(), "_NET_NUMBER_OF_DESKTOPS");
    ASSERT_TRUE(count.has_value());
    ASSERT_GE(*count, 2u);
    const uint32_t start = ewmh.cardinal(x->root(), "_NET_CURRENT_DESKTOP").value_or(0);
    const uint32_t target = start == 0 ? 1 : 0;
    ewmh.sendToRoot(x->root(), "_NET_CURRENT_DESKTOP", target, XCB_CURRENT_TIME);
    EXPECT_TRUE(quillon::testing::waitFor(
        [&] { return ewmh.cardinal(x->root(), "_NET_CURRENT_DESKTOP") == target; }));
    ewmh.sendToRoot(x->root(), "_NET_CURRENT_DESKTOP", start, XCB_CURRENT_TIME);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return ewmh.cardinal(x->root(), "_NET_CURRENT_DESKTOP") == start; }));
}

} // namespace
