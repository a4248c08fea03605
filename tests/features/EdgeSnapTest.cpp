#include "features/SnapFixture.h"
#include "features/snap/EdgeSnapMonitor.h"
#include "input/DragWatcher.h"

namespace quillon {
namespace {

using platform::DragPhase;

TEST(EdgeSnapTest, ZoneTable)
{
    const QRectF v(0, 25, 1440, 850); // panel at the bottom, top edge at 875
    struct Row {
        QPointF point;
        std::optional<SnapPosition> zone;
    };
    const Row table[] = {
        {{4, 870}, SnapPosition::topLeft},  // corners before edges
        {{30, 870}, SnapPosition::topLeft}, // 30 right of the left edge, 5 below the top
        {{4, 826}, SnapPosition::topLeft},  // 49 below the top, on the left edge
        {{4, 820}, SnapPosition::leftHalf}, // beyond the corner's reach
        {{1436, 870}, SnapPosition::topRight},
        {{1390, 868}, SnapPosition::topRight},
        {{8, 60}, SnapPosition::bottomLeft}, // inclusive band edge
        {{1432, 30}, SnapPosition::bottomRight},
        {{8, 400}, SnapPosition::leftHalf},
        {{1432, 400}, SnapPosition::rightHalf},
        {{700, 867}, SnapPosition::maximize},
        {{700, 890}, SnapPosition::maximize},  // above the visible top: the panel counts as the edge
        {{700, 30}, SnapPosition::bottomHalf}, // y = 30 with minY 25
        {{9, 400}, std::nullopt},
        {{700, 400}, std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(QString("%1,%2").arg(row.point.x()).arg(row.point.y()).toStdString());
        const auto zone = EdgeSnapMonitor::zone(row.point, v);
        EXPECT_EQ(zone ? std::optional<SnapPosition>(zone->first) : std::nullopt, row.zone);
        if (zone) {
            EXPECT_EQ(zone->second, *snapFrame(zone->first, v, QSizeF(0, 0)));
        }
    }
}

class EdgeSnapMachine : public testing::SnapFixture {
protected:
    EdgeSnapMachine()
    {
        monitor.onSnap = [this](SnapPosition position, int32_t pid) { snaps.push_back({position, pid}); };
        monitor.start();
        fake.pointerImpl.position = QPointF(300, 790); // on the title bar
    }
    /// One drag event with the pointer at `at` and the window's top-left
    /// (y-up frame) moved by `windowDelta`.
    void drag(const QPointF& at, const QPointF& windowDelta = {})
    {
        QRectF f = upFrame();
        setUpFrame(f.translated(windowDelta));
        fake.pointerImpl.position = at;
        fake.pointerImpl.drag(DragPhase::dragged);
    }
    void release() { fake.pointerImpl.drag(DragPhase::ended); }
    bool footprintShown() const { return monitor.footprint().isShown() && !monitor.footprint().hiding(); }

    DragWatcher drags;
    EdgeSnapMonitor monitor{drags};
    std::vector<std::pair<SnapPosition, int32_t>> snaps;
};

TEST_F(EdgeSnapMachine, ATitleBarDragToTheLeftEdgeShowsTheHalfAndSnapsIt)
{
    drag({300, 790});            // first event: the window is found, it has not moved yet
    drag({200, 790}, {-100, 0}); // it moves with the pointer
    EXPECT_FALSE(footprintShown());
    drag({4, 400}, {-196, 0});
    ASSERT_TRUE(footprintShown());
    EXPECT_EQ(monitor.footprint().frame(), QRectF(0, 0, 720, 875));
    release();
    EXPECT_EQ(snaps, (std::vector<std::pair<SnapPosition, int32_t>>{{SnapPosition::leftHalf, pid}}));
    fake.queue.advance(1);
    EXPECT_FALSE(monitor.footprint().isShown()) << "no footprint stays after the mouse-up";
}

TEST_F(EdgeSnapMachine, AResizeFromTheLeftEdgeNeverShowsAFootprint)
{
    drag({100, 600});
    for (int i = 1; i <= 5; ++i) {
        QRectF f = upFrame();
        setUpFrame(f.adjusted(-20, 0, 0, 0)); // origin and width change together
        drag({4, 600});
    }
    EXPECT_FALSE(monitor.footprint().isShown());
    release();
    EXPECT_TRUE(snaps.empty());
}

TEST_F(EdgeSnapMachine, StopsLookingAfterTwentyEventsWithoutAMove)
{
    for (int i = 0; i < EdgeSnapMonitor::maxDetectionAttempts; ++i)
        drag({300 - double(i), 790});
    drag({4, 400}, {-296, 0}); // the 21st event: too late
    EXPECT_FALSE(monitor.footprint().isShown());
    release();
    EXPECT_TRUE(snaps.empty());

    // The next drag starts afresh.
    drag({300, 790});
    drag({4, 400}, {-296, 0});
    EXPECT_TRUE(footprintShown());
}

TEST_F(EdgeSnapMachine, LeavingEveryZoneHidesTheFootprintAndSnapsNothing)
{
    drag({300, 790});
    drag({4, 400}, {-100, 0});
    ASSERT_TRUE(footprintShown());
    fake.queue.advance(0.2); // faded in
    drag({400, 400}, {100, 0});
    EXPECT_TRUE(monitor.footprint().hiding());
    release(); // still fading out
    EXPECT_TRUE(snaps.empty());
    fake.queue.advance(FootprintWindow::hideDuration + 0.05);
    EXPECT_FALSE(monitor.footprint().isShown());
}

TEST_F(EdgeSnapMachine, FromTheLeftEdgeToACornerTheFootprintGlidesWithoutHiding)
{
    drag({300, 790});
    drag({4, 400}, {-100, 0});
    fake.queue.advance(0.2);
    drag({4, 860}, {0, 100});
    EXPECT_EQ(monitor.pendingSnap(), SnapPosition::topLeft);
    EXPECT_FALSE(monitor.footprint().hiding());
    EXPECT_DOUBLE_EQ(monitor.footprint().alpha(), 1.0);
    fake.queue.advance(FootprintWindow::showDuration + 0.02);
    EXPECT_EQ(monitor.footprint().frame(), QRectF(0, 437.5, 720, 437.5));
    release();
    EXPECT_EQ(snaps.back().first, SnapPosition::topLeft);
}

TEST_F(EdgeSnapMachine, NothingSnapsForAClosedWindowOrADropOutsideEveryScreen)
{
    drag({300, 790});
    drag({4, 400}, {-100, 0});
    fake.windowControlImpl.table.clear(); // closed mid-drag
    release();
    EXPECT_TRUE(snaps.empty());

    fake.windowControlImpl.table = {
        {windowId, pid, platform::WindowKind::standard, QString("doc"), QRectF(100, 100, 400, 300)}};
    drag({300, 790});
    drag({4, 400}, {-100, 0});
    fake.pointerImpl.position = QPointF(-50, -50); // ended outside every screen
    release();
    EXPECT_TRUE(snaps.empty());

    // A frame that cannot be read at the start: passive.
    fake.windowControlImpl.findMutable(windowId)->frame = QRectF(0, 0, 0, 0);
    drag({300, 790});
    setUpFrame(QRectF(0, 0, 400, 300));
    drag({4, 400});
    EXPECT_FALSE(monitor.footprint().isShown());
    release();
    EXPECT_TRUE(snaps.empty());
}

TEST_F(EdgeSnapMachine, StopDropsTheHandlerAndTheFootprint)
{
    drag({300, 790});
    drag({4, 400}, {-100, 0});
    monitor.stop();
    EXPECT_FALSE(monitor.footprint().isShown());
    EXPECT_EQ(fake.pointerImpl.dragMonitorCount(), 0);
}

} // namespace
} // namespace quillon
