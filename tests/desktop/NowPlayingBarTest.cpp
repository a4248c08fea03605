#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/Service.h"
#include "common/TopWindows.h"

#include <QTemporaryDir>
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

} // namespace
