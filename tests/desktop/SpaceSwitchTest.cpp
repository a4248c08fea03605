// The instant Space switch module against openbox and the X server of the
// virtual desktop: switches really change the current desktop, and taking
// the touchpad swipes really grabs them (Xvfb has no touchpad, so no swipe
// ever arrives; whether the grab stands is seen by a rival's refusal).
#include "spaceswitch/SpaceSwitch.h"
#include "common/Desktop.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11SpaceGestures.h"
#include "platform/linux/X11Spaces.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::linux_::Ewmh;
using platform::linux_::X11Connection;
using quillon::testing::waitFor;

namespace {

class SpaceSwitchPlatform final : public fakes::ForwardingPlatform {
public:
    platform::Spaces& spaces() override { return workspaces; }
    platform::SpaceGestures& spaceGestures() override { return gestures; }

    platform::linux_::X11Spaces workspaces{X11Connection::open()};
    platform::linux_::X11SpaceGestures gestures;
};

class SpaceSwitchDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_platform = std::make_unique<SpaceSwitchPlatform>();
        m_x = X11Connection::open();
        m_ewmh = std::make_unique<Ewmh>(*m_x);
    }
    void TearDown() override
    {
        css_stop();
        if (m_platform && currentDesktop() != 0) {
            m_platform->workspaces.switchTo(0);
            waitFor([&] { return currentDesktop() == 0; });
        }
        m_platform.reset();
    }
    /// What openbox says on the root, read afresh.
    std::optional<uint32_t> currentDesktop() { return m_ewmh->cardinal(m_x->root(), "_NET_CURRENT_DESKTOP"); }

    std::unique_ptr<SpaceSwitchPlatform> m_platform;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
};

TEST_F(SpaceSwitchDesktopTest, SwitchToSpaceChangesTheWindowManagersCurrentDesktop)
{
    ASSERT_TRUE(m_platform->workspaces.available());
    const int32_t count = css_space_count();
    ASSERT_GE(count, 3) << "openbox starts with four desktops";
    ASSERT_EQ(currentDesktop(), 0u);
    EXPECT_EQ(css_current_space_index(), 0);

    EXPECT_EQ(css_switch_to_space(3), 1);
    EXPECT_TRUE(waitFor([&] { return currentDesktop() == 2u; }));
    EXPECT_TRUE(waitFor([&] { return css_current_space_index() == 2; })) << "the module follows the change";

    EXPECT_EQ(css_switch_to_space(3), 0) << "already there";
    EXPECT_EQ(css_switch_to_space(uint64_t(count) + 1), 0) << "no such desktop";

    EXPECT_EQ(css_swipe_once(0, 1), 1);
    EXPECT_TRUE(waitFor([&] { return currentDesktop() == 1u; }));
    EXPECT_EQ(css_switch_to_space(1), 1);
    EXPECT_TRUE(waitFor([&] { return currentDesktop() == 0u; }));
}

TEST_F(SpaceSwitchDesktopTest, StartTakesTheSwipesOrReportsWhyNot)
{
    platform::linux_::X11SpaceGestures rival;
    auto& log = m_platform->fake.log;

    ASSERT_EQ(css_start(nullptr), 1) << "the X server of the virtual desktop does XInput 2.4";
    EXPECT_TRUE(m_platform->gestures.isStarted());
    EXPECT_EQ(rival.start([](const platform::Swipe&) {}), platform::GestureStart::refused)
        << "our grab on the root stands";
    EXPECT_FALSE(rival.isStarted());

    css_stop();
    EXPECT_FALSE(m_platform->gestures.isStarted());
    ASSERT_EQ(rival.start([](const platform::Swipe&) {}), platform::GestureStart::started)
        << "the grab was given back";

    log.lines.clear();
    EXPECT_EQ(css_start(nullptr), 0);
    EXPECT_FALSE(m_platform->gestures.isStarted());
    EXPECT_TRUE(
        log.contains("Instant workspace switching unavailable: another program already takes touchpad "
                     "swipes"));

    rival.stop();
    EXPECT_EQ(css_start(nullptr), 1) << "free again";
}

} // namespace
