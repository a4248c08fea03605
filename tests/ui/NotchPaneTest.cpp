#include "PaneFixture.h"

#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "ui/controls/RowButton.h"
#include "ui/panes/NotchPane.h"

namespace quillon {
namespace {

struct NotchPaneTest : testing::PaneFixture<NotchPane> {
    /// A screen with a camera housing and the usable strips either side.
    static platform::Screen notchedScreen()
    {
        platform::Screen screen = fakes::makeScreen(QRectF(0, 0, 1512, 982));
        screen.safeAreaTop = 32;
        screen.auxiliaryTopLeftArea = QRectF(0, 950, 660, 32);
        screen.auxiliaryTopRightArea = QRectF(852, 950, 660, 32);
        return screen;
    }
};

TEST_F(NotchPaneTest, SectionsFollowTheNotchAndNowPlaying)
{
    struct Case {
        bool physical;
        bool nowPlaying;
        QStringList sections;
    };
    const Case cases[] = {
        {false, true, {"Display", "Hints", "Chips", "Media keys while a track is playing"}},
        {false, false, {"Display", "Hints", "Chips"}},
        {true, true, {"Hints", "Chips", "Media keys while a track is playing"}},
        {true, false, {"Hints", "Chips"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.physical << c.nowPlaying);
        fake.displaysImpl.setScreens({c.physical ? notchedScreen() : fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        ASSERT_EQ(NotchGeometry::hasPhysicalNotch(), c.physical);
        settings().setNotchNowPlaying(c.nowPlaying);
        EXPECT_EQ(NotchPane::state(settings(), c.physical), (NotchPaneState{!c.physical, c.nowPlaying}));
        model->refresh();
        EXPECT_EQ(shownSections(), c.sections);
    }
}

TEST_F(NotchPaneTest, NowPlayingShowsTheMediaKeysAtTheNextRedraw)
{
    settings().setNotchNowPlaying(false);
    NotchPane& view = pane();
    EXPECT_FALSE(view.mediaKeysSection()->hasContent());
    ToggleSwitch* nowPlaying = toggle("Now playing");
    ASSERT_NE(nowPlaying, nullptr);
    nowPlaying->click();
    EXPECT_TRUE(settings().notchNowPlaying());
    settle();
    EXPECT_TRUE(view.mediaKeysSection()->hasContent());
    EXPECT_EQ(view.mediaKeysSection()->rows().size(), 3);
}

TEST_F(NotchPaneTest, ShowMeDrawsTheSampleOnlyWhileTheNotchRuns)
{
    NotchPane& view = pane();
    std::vector<std::pair<NotchContent, double>> shown;
    view.showChip = [&](const NotchContent& content, double seconds) { shown.emplace_back(content, seconds); };

    app->notch().deactivate();
    view.showMeRow()->click();
    EXPECT_TRUE(shown.empty());

    app->notch().activate();
    view.showMeRow()->click();
    ASSERT_EQ(shown.size(), 1u);
    const auto& [content, seconds] = shown.front();
    EXPECT_EQ(seconds, 2.5);
    ASSERT_EQ(content.left.size(), 1u);
    EXPECT_TRUE(content.left.front().icon.has_value());
    EXPECT_FALSE(content.left.front().text);
    EXPECT_FALSE(content.left.front().badge);
    ASSERT_EQ(content.right.size(), 1u);
    EXPECT_EQ(content.right.front().text, QString("On"));
    EXPECT_FALSE(content.right.front().icon);
    EXPECT_EQ(content.caption, QString("Notch"));
    EXPECT_FALSE(content.outlineColor);
}

TEST_F(NotchPaneTest, ShowMeReachesTheNotchController)
{
    NotchGeometry::drawsWithoutNotch = true;
    NotchPane& view = pane();
    app->notch().activate();
    view.showMeRow()->click();
    EXPECT_TRUE(app->notch().controller().chipMount());
    fake.queue.advance(NotchPane::sampleSeconds + 1);
    EXPECT_FALSE(app->notch().controller().chipMount());
}

} // namespace
} // namespace quillon
