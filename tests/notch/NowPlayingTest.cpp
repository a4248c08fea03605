#include "notch/MediaKey.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NowPlayingChipState.h"
#include "notch/NowPlayingController.h"
#include "notch/NowPlayingWatcher.h"

#include "BarTexts.h"
#include "fakes/FakePlatform.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace quillon;
using Phase = NowPlayingChipState::Phase;

namespace {

TEST(NowPlayingChipStateTest, PlaybackMovesThePhase)
{
    struct Case {
        const char* name;
        NowPlayingChipState before;
        bool playing;
        const char* title;
        Phase phase;
        bool arm;
    };
    const NowPlayingChipState hidden;
    const NowPlayingChipState compactA{Phase::compact, "A", "X", false};
    const NowPlayingChipState expandedA{Phase::expanded, "A", "X", false};
    const NowPlayingChipState controlsA{Phase::controls, "A", "X", false};
    const NowPlayingChipState hoveringHidden{Phase::hidden, "", "", true};
    const Case cases[] = {
        {"first track expands", hidden, true, "A", Phase::expanded, true},
        {"new track while compact expands", compactA, true, "B", Phase::expanded, true},
        {"same track keeps expanded, no new timer", expandedA, true, "A", Phase::expanded, false},
        {"same track keeps compact", compactA, true, "A", Phase::compact, false},
        {"same track collapses the buttons", controlsA, true, "A", Phase::compact, false},
        {"stop hides", expandedA, false, "", Phase::hidden, false},
        {"playing under the pointer shows the buttons", hoveringHidden, true, "A", Phase::controls, false},
    };
    for (const Case& c : cases) {
        NowPlayingChipState state = c.before;
        const bool arm = state.playback(c.playing, QString::fromUtf8(c.title), QStringLiteral("X"));
        EXPECT_EQ(state.phase, c.phase) << c.name;
        EXPECT_EQ(arm, c.arm) << c.name;
        EXPECT_EQ(state.hovering, c.before.hovering) << c.name;
    }
}

TEST(NowPlayingChipStateTest, StoppingClearsTheTrackButKeepsThePointer)
{
    NowPlayingChipState state{Phase::controls, "A", "X", true};
    state.playback(false, "ignored", "ignored");
    EXPECT_EQ(state, (NowPlayingChipState{Phase::hidden, "", "", true}));
}

TEST(MediaKeyTest, LeaderKeysAndPosting)
{
    fakes::FakePlatform fake;
    EXPECT_EQ(MediaKey::from(','), MediaKey::previous);
    EXPECT_EQ(MediaKey::from('/'), MediaKey::playPause);
    EXPECT_EQ(MediaKey::from('.'), MediaKey::next);
    for (const QChar other : {QChar('m'), QChar(';'), QChar(' ')})
        EXPECT_FALSE(MediaKey::from(other).has_value());
    MediaKey(MediaKey::next).post();
    MediaKey(MediaKey::previous).post();
    using Key = platform::MediaKeys::Key;
    EXPECT_EQ(fake.mediaKeysImpl.posted, (std::vector<Key>{Key::next, Key::previous}));
}

struct Report {
    bool playing;
    QString title;
    QString artist;
    bool operator==(const Report&) const = default;
};

TEST(NowPlayingWatcherTest, ReportsPlayersAndIgnoresAPlayingNoticeWithoutATitle)
{
    fakes::FakePlatform fake;
    NowPlayingWatcher watcher;
    std::vector<Report> reports;
    watcher.onState = [&](bool playing, const QString& title, const QString& artist) {
        reports.push_back({playing, title, artist});
    };
    fake.nowPlayingImpl.play("Song", "Band");
    EXPECT_TRUE(reports.empty()) << "not started";

    watcher.start();
    watcher.start();
    EXPECT_EQ(fake.nowPlayingImpl.handlerCount(), 1u);
    fake.nowPlayingImpl.play("Song", "Band");
    fake.nowPlayingImpl.play("", "Band");
    fake.nowPlayingImpl.send({std::nullopt, QStringLiteral("Song"), std::nullopt});
    fake.nowPlayingImpl.send({QStringLiteral("Paused"), QStringLiteral("Song"), QStringLiteral("Band")});
    EXPECT_EQ(reports,
              (std::vector<Report>{{true, "Song", "Band"}, {false, "Song", ""}, {false, "Song", "Band"}}));

    watcher.stop();
    EXPECT_FALSE(fake.nowPlayingImpl.watching());
}

class NowPlayingControllerTest : public ::testing::Test {
protected:
    NowPlayingControllerTest()
    {
        NotchGeometry::drawsWithoutNotch = true;
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        chip.onMediaKey = [this](MediaKey key) { keys.push_back(key); };
        chip.setEnabled(true);
    }

    // What the notch feature does with a player's news.
    void play(const QString& title)
    {
        const bool arm = chip.state().playback(true, title, QStringLiteral("Band"));
        chip.settle();
        if (arm)
            chip.armDwell();
    }
    void stop()
    {
        chip.state().playback(false, {}, {});
        chip.settle();
    }
    void send(QEvent::Type type, const QPointF& point)
    {
        QMouseEvent event(type, point, chip.panel()->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chip.panel(), &event);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(chip.panel(), &event);
    }
    QPointF centreOf(const char* key) const
    {
        return chip.bar()->itemRect(QString::fromLatin1(key))->translated(chip.bar()->pos()).center();
    }

    fakes::FakePlatform fake;
    NotchStage stage;
    NowPlayingController chip{stage};
    std::vector<MediaKey> keys;
};

TEST_F(NowPlayingControllerTest, ANewTrackExpandsThenCollapsesAfterTheDwell)
{
    play("One");
    ASSERT_TRUE(chip.panel());
    EXPECT_EQ(stage.shown(), NotchSource::nowPlaying);
    EXPECT_TRUE(quillon::testing::barTexts(chip.bar()).contains("One — Band"));
    const auto* record = fake.overlays.find(chip.panel());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->style.level, NowPlayingController::panelLevel);
    EXPECT_FALSE(record->style.clickThrough);

    fake.queue.advance(1.0);
    play("One"); // the same track again does not restart the dwell
    fake.queue.advance(1.6);
    EXPECT_EQ(chip.state().phase, Phase::compact);
    EXPECT_FALSE(quillon::testing::barTexts(chip.bar()).contains("One — Band"));

    stop();
    EXPECT_FALSE(chip.panel());
    EXPECT_TRUE(stage.arbiter().claims.empty());
}

TEST_F(NowPlayingControllerTest, OnlyTheStripBelowADrawnNotchTakesThePointerUntilTheButtonsShow)
{
    play("One");
    fake.queue.advance(3);
    const auto notch = NotchGeometry::hudScreen()->notch;
    const QRectF strip = chip.panel()->interactiveRect();
    EXPECT_DOUBLE_EQ(strip.height(), NowPlayingController::margin);
    EXPECT_DOUBLE_EQ(strip.width(), notch.width());
    EXPECT_DOUBLE_EQ(strip.bottom(), chip.panel()->height());
    EXPECT_EQ(fake.overlays.find(chip.panel())->inputRegion, strip);

    send(QEvent::MouseMove, strip.center() - QPointF(0, 10)); // over the drawn notch: nothing
    EXPECT_EQ(chip.state().phase, Phase::compact);
    send(QEvent::MouseMove, strip.center());
    EXPECT_EQ(chip.state().phase, Phase::controls);
    EXPECT_EQ(chip.panel()->interactiveRect(), QRectF(QPointF(0, 0), chip.panel()->size()));

    leave();
    EXPECT_EQ(chip.state().phase, Phase::compact);
}

TEST_F(NowPlayingControllerTest, ClicksNearAButtonSendItsKey)
{
    play("One");
    send(QEvent::MouseMove, chip.panel()->interactiveRect().center());
    ASSERT_EQ(chip.state().phase, Phase::controls);
    const QRectF next = chip.bar()->itemRect("next")->translated(chip.bar()->pos());

    send(QEvent::MouseButtonPress, centreOf("prev"));
    send(QEvent::MouseButtonPress, centreOf("playpause"));
    send(QEvent::MouseButtonPress, QPointF(next.right() + 5, next.center().y())); // within the slop
    EXPECT_EQ(keys, (std::vector<MediaKey>{MediaKey::previous, MediaKey::playPause, MediaKey::next}));

    keys.clear();
    send(QEvent::MouseButtonPress, QPointF(chip.panel()->width() - 2, 2)); // far from any button
    EXPECT_TRUE(keys.empty());
}

TEST_F(NowPlayingControllerTest, AHigherSourceTakesThePanelAwayUntilItIsReleased)
{
    play("One");
    stage.claim(NotchSource::chip);
    EXPECT_FALSE(chip.panel());
    stage.release(NotchSource::chip);
    ASSERT_TRUE(chip.panel());
    EXPECT_TRUE(chip.bar()->currentFrame().body.has_value());

    stage.claim(NotchTakeover::ocrPrompt);
    EXPECT_FALSE(chip.panel());
    stage.release(NotchTakeover::ocrPrompt);
    EXPECT_TRUE(chip.panel());
}

// The top centre of the 1440 x 900 screen, on the bar, in the y-up global space.
const QPointF onTheChip(720, 895);
const QPointF awayFromTheChip(100, 100);

TEST_F(NowPlayingControllerTest, APanelTakenAwayUnderThePointerComesBackWithoutButtonsOnceThePointerLeft)
{
    play("One");
    send(QEvent::MouseMove, chip.panel()->interactiveRect().center());
    ASSERT_EQ(chip.state().phase, Phase::controls);
    fake.pointerImpl.position = onTheChip;

    stage.claim(NotchSource::chip); // a chip hides the panel under the pointer
    ASSERT_FALSE(chip.panel());
    fake.pointerImpl.position = awayFromTheChip;
    stage.release(NotchSource::chip);

    ASSERT_TRUE(chip.panel());
    EXPECT_EQ(chip.state().phase, Phase::compact);
    EXPECT_FALSE(chip.state().hovering);
    EXPECT_LT(chip.panel()->interactiveRect().width(), chip.panel()->width()) << "the whole bar takes clicks";
    play("Two");
    EXPECT_EQ(chip.state().phase, Phase::expanded) << "every later track stuck in its controls";
}

TEST_F(NowPlayingControllerTest, ATrackResumedUnderARestingPointerShowsItsButtonsUntilThePointerLeaves)
{
    play("One");
    send(QEvent::MouseMove, chip.panel()->interactiveRect().center());
    fake.pointerImpl.position = onTheChip;
    stop();
    ASSERT_FALSE(chip.panel());

    play("One");
    ASSERT_TRUE(chip.panel());
    EXPECT_EQ(chip.state().phase, Phase::controls);
    leave();
    EXPECT_EQ(chip.state().phase, Phase::compact) << "the leave of a pointer that never entered was lost";
}

TEST_F(NowPlayingControllerTest, SwitchingOffForgetsTheTrackAndTheHover)
{
    play("One");
    send(QEvent::MouseMove, chip.panel()->interactiveRect().center());
    chip.setEnabled(false);
    EXPECT_EQ(chip.state(), NowPlayingChipState());
    EXPECT_FALSE(chip.panel());
    EXPECT_TRUE(stage.arbiter().claims.empty());
}

TEST_F(NowPlayingControllerTest, NoNotchScreenRemovesThePanelAndKeepsTheState)
{
    play("One");
    NotchGeometry::drawsWithoutNotch = false;
    chip.draw();
    EXPECT_FALSE(chip.panel());
    EXPECT_EQ(chip.state().phase, Phase::expanded);
    NotchGeometry::drawsWithoutNotch = true;
    chip.draw();
    EXPECT_TRUE(chip.panel());
}

} // namespace
