#include "features/snap/WindowSnapper.h"
#include "features/SnapFixture.h"

namespace quillon {
namespace {

using testing::SnapFixture;

class WindowSnapperTest : public SnapFixture {
protected:
    // The visible frame of the one screen, y-up.
    const QRectF visible{0, 0, 1440, 875};
    WindowSnapper snapper;
};

TEST_F(WindowSnapperTest, HalvesCycleThroughTwoThirdsAndAThirdWhileTheWindowStays)
{
    const double third = 1440.0 / 3;
    struct Row {
        SnapPosition pressed;
        QRectF expected;
    };
    const Row table[] = {
        {SnapPosition::rightHalf, {720, 0, 720, 875}},
        {SnapPosition::rightHalf, {third, 0, 2 * third, 875}},
        {SnapPosition::rightHalf, {2 * third, 0, third, 875}},
        {SnapPosition::rightHalf, {720, 0, 720, 875}},
        {SnapPosition::leftHalf, {0, 0, 720, 875}}, // another trigger: applied as pressed
        {SnapPosition::leftHalf, {0, 0, 2 * third, 875}},
        {SnapPosition::leftThird, {0, 0, third, 875}}, // pressed itself: applied directly
        {SnapPosition::leftThird, {0, 0, third, 875}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(caseName(row.pressed).toStdString());
        snapper.snap(row.pressed);
        EXPECT_EQ(upFrame(), row.expected);
    }
}

TEST_F(WindowSnapperTest, AWindowMovedByHandStartsANewSeries)
{
    snapper.snap(SnapPosition::leftHalf);
    setUpFrame(QRectF(300, 200, 500, 400));
    snapper.snap(SnapPosition::leftHalf);
    EXPECT_EQ(upFrame(), QRectF(0, 0, 720, 875)) << "no cycle after a move";
    snapper.snap(SnapPosition::restore);
    EXPECT_EQ(upFrame(), QRectF(300, 200, 500, 400)) << "restore goes to the frame the hand left";
}

TEST_F(WindowSnapperTest, RestoreReturnsTheFrameFromBeforeTheSeriesOnce)
{
    const QRectF before = upFrame();
    snapper.snap(SnapPosition::leftHalf);
    snapper.snap(SnapPosition::maximize);
    EXPECT_EQ(upFrame(), visible);
    snapper.snap(SnapPosition::restore);
    EXPECT_EQ(upFrame(), before);
    EXPECT_TRUE(fake.log.contains(QString("Snap restored window %1").arg(windowId)));
    EXPECT_TRUE(snapper.restoreFrames().empty());
    EXPECT_TRUE(snapper.lastSetFrames().empty());
    EXPECT_TRUE(snapper.lastApplied().empty());

    const size_t requests = fake.windowControlImpl.frameRequests.size();
    snapper.snap(SnapPosition::restore);
    EXPECT_EQ(fake.windowControlImpl.frameRequests.size(), requests);
    EXPECT_TRUE(fake.log.contains(QString("Snap restore: nothing stored for window %1").arg(windowId)));
}

TEST_F(WindowSnapperTest, StoresWhatReadsBackNotWhatWasAsked)
{
    fake.windowControlImpl.cellSize = QSizeF(7, 13); // a terminal
    snapper.snap(SnapPosition::rightHalf);
    const QRectF landed = upFrame();
    EXPECT_NE(landed, QRectF(720, 0, 720, 875));
    EXPECT_EQ(snapper.lastSetFrames().at(windowId), landed);
    // The rounded window has not moved since: the next press still cycles.
    snapper.snap(SnapPosition::rightHalf);
    EXPECT_EQ(snapper.lastApplied().at(windowId), SnapPosition::rightTwoThirds);

    // A window manager that ignores the request: the unchanged frame is stored.
    fake.windowControlImpl.ignoreFrames = true;
    const QRectF stuck = upFrame();
    snapper.snap(SnapPosition::maximize);
    EXPECT_EQ(snapper.lastSetFrames().at(windowId), stuck);
}

TEST_F(WindowSnapperTest, ASecondSnapWaitsForTheFirstOnesReadBack)
{
    fake.windowControlImpl.holdCompletions = true;
    snapper.snap(SnapPosition::leftHalf);
    snapper.snap(SnapPosition::leftHalf);
    EXPECT_TRUE(snapper.isBusy());
    EXPECT_EQ(fake.windowControlImpl.frameRequests.size(), 1u);
    fake.windowControlImpl.releaseCompletions();
    ASSERT_EQ(fake.windowControlImpl.frameRequests.size(), 2u);
    fake.windowControlImpl.releaseCompletions();
    EXPECT_FALSE(snapper.isBusy());
    EXPECT_EQ(upFrame(), QRectF(0, 0, 960, 875)) << "the second press cycled";
}

TEST_F(WindowSnapperTest, NothingHappensWithoutAWindowAScreenOrResizing)
{
    fake.windowControlImpl.findMutable(windowId)->resizable = false;
    snapper.snap(SnapPosition::leftHalf);
    EXPECT_TRUE(fake.windowControlImpl.frameRequests.empty());
    EXPECT_TRUE(snapper.restoreFrames().empty());

    fake.windowControlImpl.findMutable(windowId)->resizable = true;
    fake.displaysImpl.screenList.clear();
    snapper.snap(SnapPosition::leftHalf);
    EXPECT_TRUE(fake.windowControlImpl.frameRequests.empty());
    EXPECT_TRUE(fake.log.contains("Snap leftHalf: no screen"));

    fake.windowControlImpl.table.clear(); // vanished between look-up and read
    snapper.snap(SnapPosition::maximize);
    EXPECT_TRUE(fake.log.contains("Snap maximize: no focused window"));
    EXPECT_FALSE(snapper.isBusy());
}

TEST_F(WindowSnapperTest, DisplayMovesKeepTheRelativeFrameAndWrap)
{
    // Left 1440 × 900, right 2560 × 1440 (no panel).
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 2560, 1440), 0, "wide"));
    snapper.snap(SnapPosition::leftHalf);
    snapper.snap(SnapPosition::nextDisplay);
    EXPECT_EQ(upFrame(), QRectF(1440, 0, 1280, 1440));
    EXPECT_EQ(snapper.lastSetFrames().at(windowId), upFrame());
    EXPECT_EQ(snapper.lastApplied().at(windowId), SnapPosition::leftHalf) << "left alone";
    snapper.snap(SnapPosition::nextDisplay); // from the last screen to the first
    EXPECT_EQ(upFrame(), QRectF(0, 0, 720, 875));
    snapper.snap(SnapPosition::previousDisplay); // and back round the other way
    EXPECT_EQ(upFrame(), QRectF(1440, 0, 1280, 1440));

    fake.displaysImpl.screenList.pop_back();
    const size_t requests = fake.windowControlImpl.frameRequests.size();
    snapper.snap(SnapPosition::nextDisplay);
    EXPECT_EQ(fake.windowControlImpl.frameRequests.size(), requests) << "one screen: nothing";
}

TEST_F(WindowSnapperTest, ScreenOfAFrameFallsBackToTheLargestOverlap)
{
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 1000, 900), 0, "second"));
    EXPECT_EQ(WindowSnapper::screen(QRectF(1300, 100, 400, 300))->id, "second") << "centre on the second";
    // Centre above both screens: the larger overlap wins.
    EXPECT_EQ(WindowSnapper::screen(QRectF(1340, 700, 400, 600))->id, "second");
    EXPECT_EQ(WindowSnapper::screen(QRectF(5000, 5000, 10, 10))->id, "screen") << "no overlap: the first";
}

TEST_F(WindowSnapperTest, ADestroyedWindowLosesItsEntriesAndItsWatch)
{
    snapper.snap(SnapPosition::leftHalf);
    ASSERT_EQ(snapper.restoreFrames().count(windowId), 1u);
    EXPECT_TRUE(fake.windowEventsImpl.isRegistered(platform::WindowNotification::elementDestroyed, windowId));
    snapper.snap(SnapPosition::rightHalf);
    EXPECT_EQ(fake.windowEventsImpl.observers.size(), 1u) << "one watch per window";

    fake.windowEventsImpl.send(pid, platform::WindowNotification::elementDestroyed,
                               windowId + 1); // another one
    EXPECT_EQ(snapper.restoreFrames().count(windowId), 1u);
    fake.windowEventsImpl.send(pid, platform::WindowNotification::elementDestroyed, windowId);
    EXPECT_TRUE(snapper.restoreFrames().empty());
    EXPECT_TRUE(snapper.lastSetFrames().empty());
    EXPECT_TRUE(snapper.lastApplied().empty());
    EXPECT_TRUE(fake.windowEventsImpl.observers.empty());

    // A new window that reuses the id starts afresh.
    snapper.snap(SnapPosition::restore);
    EXPECT_TRUE(fake.log.contains(QString("Snap restore: nothing stored for window %1").arg(windowId)));

    // A restore and a clear end the watch too.
    snapper.snap(SnapPosition::leftHalf);
    snapper.snap(SnapPosition::restore);
    EXPECT_TRUE(fake.windowEventsImpl.observers.empty());
    snapper.snap(SnapPosition::leftHalf);
    snapper.clear();
    EXPECT_TRUE(fake.windowEventsImpl.observers.empty());
    EXPECT_TRUE(snapper.restoreFrames().empty());
}

} // namespace
} // namespace quillon
