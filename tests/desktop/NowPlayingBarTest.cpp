#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/Service.h"
#include "common/TopWindows.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <set>

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::TopWindow;

namespace {

// The real quillon with now playing on, beside our test MPRIS player.
class NowPlayingBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        x = X11Connection::open();
        ASSERT_TRUE(x);
        for (const auto& w : quillon::testing::overrideRedirectWindows(*x))
            before.insert(w.id);
        // A feature on: no first-run settings window.
        quillon.emplace(home, QByteArray(R"({"notch.nowPlaying": {"type": "bool", "value": true}, )"
                                         R"("diagnostics.logging": {"type": "bool", "value": true}, )"
                                         R"("colorPicker.isEnabled": {"type": "bool", "value": true}})"));
        ASSERT_TRUE(quillon->start());
        player.emplace(QStringLiteral("quillon-test-mpris"));
        ASSERT_TRUE(player->started);
    }

    /// Quillon's widest new window at the top of the screen.
    std::optional<TopWindow> bar()
    {
        std::optional<TopWindow> widest;
        for (const auto& w : quillon::testing::overrideRedirectWindows(*x)) {
            if (!before.count(w.id) && w.geometry.y() == 0 &&
                (!widest || w.geometry.width() > widest->geometry.width()))
                widest = w;
        }
        return widest;
    }

    std::unique_ptr<X11Connection> x;
    std::set<xcb_window_t> before;
    QTemporaryDir home;
    std::optional<quillon::testing::QuillonRun> quillon;
    std::optional<quillon::testing::Service> player;
};

TEST_F(NowPlayingBar, ALongTitleIsCutSoTheBarStaysWithinHalfTheScreen)
{
    const QString title = QString("A very long title ").repeated(17).left(300);
    ASSERT_TRUE(player->send("play " + title + "|Band"));
    std::optional<TopWindow> shown;
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] {
            shown = bar();
            return shown && shown->geometry.width() > 400; // the caption is out
        },
        10000))
        << "no now-playing bar with its title; log:\n"
        << quillon->log().toStdString() << player->lines.join('\n').toStdString();
    EXPECT_LE(shown->geometry.width(), 1920 / 2);
    EXPECT_GE(shown->geometry.x(), 0);
    EXPECT_LE(shown->geometry.right(), 1919);
}

// The virtual screen switched to a smaller mode, and back when done: the
// other desktop tests share this X server.
class SmallerMode {
public:
    SmallerMode()
    {
        quillon::testing::run("xrandr", {"--newmode", "1280x800", "83.50", "1280", "1352", "1480", "1680",
                                         "800", "803", "809", "831", "-hsync", "+vsync"});
        quillon::testing::run("xrandr", {"--addmode", "screen", "1280x800"});
        switched = QProcess::execute("xrandr",
                                     {"--output", "screen", "--mode", "1280x800", "--fb", "1280x800"}) == 0;
    }
    ~SmallerMode()
    {
        QProcess::execute("xrandr", {"--output", "screen", "--mode", "1920x1080", "--fb", "1920x1080"});
    }
    bool switched = false;
};

/// The middle of a window, in whole pixels.
int centreOf(const TopWindow& w)
{
    return w.geometry.x() + w.geometry.width() / 2;
}

TEST_F(NowPlayingBar, FollowsTheScreenWhenItsSizeOrMonitorsChange)
{
    ASSERT_TRUE(player->send("play Solar|Miles Davis"));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return bar().has_value(); }));
    const int offset = centreOf(*bar()) - 960; // the wings differ; the notch is centred
    {
        SmallerMode mode;
        ASSERT_TRUE(mode.switched) << "xrandr could not switch the virtual screen";
        EXPECT_TRUE(quillon::testing::waitFor(
            [&] { return bar() && std::abs(centreOf(*bar()) - offset - 640) <= 2; }))
            << "the bar stayed at x " << (bar() ? bar()->geometry.x() : -1);
    }
    EXPECT_TRUE(quillon::testing::waitFor(
        [&] { return bar() && std::abs(centreOf(*bar()) - offset - 960) <= 2; }));

    // A monitor added beside the screen and removed again leaves the bar on the primary one.
    ASSERT_EQ(QProcess::execute("xrandr", {"--setmonitor", "extra", "640/300x400/200+1280+0", "none"}), 0);
    quillon::testing::waitFor([] { return false; }, 500);
    ASSERT_EQ(QProcess::execute("xrandr", {"--delmonitor", "extra"}), 0);
    quillon::testing::waitFor([] { return false; }, 500);
    ASSERT_TRUE(bar());
    EXPECT_LE(std::abs(centreOf(*bar()) - offset - 960), 2);
    EXPECT_EQ(quillon->process.state(), QProcess::Running);
}

} // namespace
