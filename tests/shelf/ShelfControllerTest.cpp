#include "ShelfWidgets.h"
#include "input/DragWatcher.h"
#include "notch/NotchBarView.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "shelf/ActionStrip.h"
#include "shelf/CellsView.h"
#include "shelf/DropPlateView.h"
#include "shelf/HoverButton.h"
#include "shelf/ScreenshotThumbnail.h"
#include "shelf/ShelfCatcher.h"
#include "shelf/ShelfController.h"
#include "shelf/ShelfFeature.h"
#include "shelf/ShelfKeys.h"
#include "shelf/ShelfView.h"
#include "support/Log.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

using platform::KeyFlags::command;
using platform::KeyFlags::control;
using platform::KeyFlags::option;
using platform::KeyFlags::shift;
using Event = DragWatcher::Event;

/// The controller on the fake platform: one 1440 × 900 screen whose notch is
/// synthesised at (660, 875, 120, 25), y up.
class ShelfControllerTest : public quillon::testing::ShelfWidgets {
protected:
    ShelfControllerTest()
    {
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        QDir().mkpath(dir.path() + "/files");
    }
    ~ShelfControllerTest() override
    {
        controller.reset();
        fake.queue.advance(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ShelfController& make()
    {
        controller = std::make_unique<ShelfController>(store, drags, stage);
        return *controller;
    }
    ShelfController& enabled()
    {
        make().setEnabled(true);
        return *controller;
    }
    QUrl file(const QString& name)
    {
        QFile f(dir.path() + "/files/" + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name.toUtf8());
        return QUrl::fromLocalFile(f.fileName());
    }
    void stash(int items)
    {
        for (int i = 0; i < items; ++i)
            store.add({file(QString("stash%1.txt").arg(store.items().size()))});
    }
    QRectF notch() const { return QRectF(660, 875, 120, 25); }
    void startFileDrag() { fake.dragProbeImpl.startDrag({file("dragged.png")}, {"text/uri-list"}); }
    /// A move of the drag to `to`, and what it posts.
    void dragTo(const QPointF& to)
    {
        fake.pointerImpl.position = to;
        fake.pointerImpl.drag(platform::DragPhase::dragged);
        fake.queue.drain();
    }
    void endDragAt(const QPointF& at)
    {
        fake.pointerImpl.position = at;
        fake.pointerImpl.drag(platform::DragPhase::ended);
        fake.queue.drain();
    }
    /// Lets every animation finish.
    void settle() { fake.queue.advance(1); }
    /// Opens the shelf with a file drag that comes to the notch.
    void openByDrag()
    {
        startFileDrag();
        dragTo({200, 200});
        dragTo(notch().center());
        settle();
        ASSERT_TRUE(controller->isOpen());
    }
    bool shelfClaims() const
    {
        const NotchArbiter& a = stage.arbiter();
        return a.claims.count(NotchSource::shelfBridge) || a.claims.count(NotchSource::shelfCue) ||
               a.takeovers.count(NotchTakeover::shelfExpanded);
    }

    QTemporaryDir dir;
    ShelfStore store{dir.path() + "/Shelf"};
    DragWatcher drags;
    NotchStage stage;
    std::unique_ptr<ShelfController> controller;
};

// ---- The state machine ----

TEST_F(ShelfControllerTest, AFileDragShowsTheCueAndOpensWithinReachOfIt)
{
    struct Row {
        const char* what;
        // From the chip's frame: x from its left edge, y from its bottom edge.
        double dx, dy;
        bool opens;
    };
    const Row rows[] = {
        {"44 points left of the chip", -44, 10, true},
        {"45 points left of the chip", -45, 10, false},
        {"44 points below the chip", 30, -44, true},
        {"45 points below the chip", 30, -45, false},
        {"over the chip", 30, 10, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        controller.reset();
        settle();
        enabled();
        startFileDrag();
        dragTo({200, 200});
        ASSERT_TRUE(controller->cueShowing());
        ASSERT_TRUE(controller->chipPanel());
        EXPECT_EQ(stage.arbiter().winner(), NotchSource::shelfCue);
        const QRectF chip = controller->chipFrame();
        // The cue hangs 22 points below the notch.
        EXPECT_DOUBLE_EQ(chip.y(), notch().y() - 22);
        dragTo({chip.x() + row.dx, chip.y() + row.dy});
        EXPECT_EQ(controller->isOpen(), row.opens);
        if (row.opens) {
            EXPECT_TRUE(stage.arbiter().takeovers.count(NotchTakeover::shelfExpanded));
            EXPECT_FALSE(controller->chipPanel()) << "the chip gives way to the open shelf";
            EXPECT_TRUE(controller->keysArmed());
        }
    }
}

TEST_F(ShelfControllerTest, WithoutAChipTheReachIsAroundTheNotchAndNeverAboveIt)
{
    enabled();
    // Another source holds the notch, so the cue never shows.
    stage.claim(NotchSource::hints);
    startFileDrag();
    dragTo({200, 200});
    EXPECT_FALSE(controller->chipPanel());
    dragTo({notch().x() + 10, notch().bottom() + 1});
    EXPECT_FALSE(controller->isOpen()) << "above the notch";
    dragTo({notch().x() - 45, notch().y() + 5});
    EXPECT_FALSE(controller->isOpen());
    dragTo({notch().x() - 44, notch().y() + 5});
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(ShelfControllerTest, TheDragGoingTwentyPointsBeyondClosesAndComingBackReopens)
{
    enabled();
    openByDrag();
    const QRectF frame = controller->shelfPanelFrame();
    dragTo({frame.right() + 15, frame.center().y()});
    settle();
    EXPECT_TRUE(controller->isOpen()) << "15 points out";
    dragTo({frame.right() + 25, frame.center().y()});
    EXPECT_TRUE(controller->isCollapsing());
    settle();
    EXPECT_FALSE(controller->isOpen());
    EXPECT_TRUE(controller->cueShowing()) << "the drag goes on: the cue again";
    // The same drag coming back within reach opens it again.
    dragTo(notch().center());
    settle();
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(ShelfControllerTest, ADragEndingOverTheShelfLeavesItOpenElsewhereClosesIt)
{
    struct Row {
        const char* what;
        bool overShelf;
        double dragOutEndedAgo; // seconds; negative = none
        bool staysOpen;
    };
    const Row rows[] = {
        {"ended over the shelf", true, -1, true},
        {"ended elsewhere", false, -1, false},
        {"ended elsewhere 0.2 s after a drag-out", false, 0.2, true},
        {"ended elsewhere 0.31 s after a drag-out", false, 0.31, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        controller.reset();
        settle();
        enabled();
        openByDrag();
        const QRectF frame = controller->shelfPanelFrame();
        if (row.dragOutEndedAgo >= 0)
            controller->view()->cells().dragOutEndedAt = fake.queue.uptime() - row.dragOutEndedAgo;
        endDragAt(row.overShelf ? frame.center() : QPointF(100, 100));
        settle();
        EXPECT_EQ(controller->isOpen(), row.staysOpen);
        EXPECT_FALSE(controller->fileDragActive());
        EXPECT_FALSE(controller->cueShowing());
    }
}

TEST_F(ShelfControllerTest, DragsAreIgnoredWhileTheCardsDragOutAndJustAfter)
{
    stash(1);
    enabled();
    controller->expand();
    settle();
    CellsView& cells = controller->view()->cells();
    cells.isDraggingOut = true;
    startFileDrag();
    dragTo({200, 200});
    EXPECT_FALSE(controller->fileDragActive());
    EXPECT_FALSE(controller->view()->externalDragActive);
    cells.isDraggingOut = false;
    cells.dragOutEndedAt = fake.queue.uptime() - 0.2;
    startFileDrag();
    dragTo({200, 200});
    EXPECT_FALSE(controller->fileDragActive()) << "0.2 s after";
    fake.queue.advance(0.15);
    startFileDrag();
    dragTo({200, 200});
    EXPECT_TRUE(controller->fileDragActive());
    EXPECT_TRUE(controller->view()->externalDragActive) << "the open shelf shows the drop zones";
    EXPECT_FALSE(controller->view()->dropPlate().isHidden());
}

TEST_F(ShelfControllerTest, LeavingThroughTheGapClosesAfterAMomentAndReturningReopens)
{
    stash(1);
    enabled();
    controller->expand();
    settle();
    ASSERT_TRUE(controller->isOpen());
    const QRectF frame = controller->shelfPanelFrame();
    ShelfView& view = *controller->view();
    fake.pointerImpl.position = {frame.right() + 5, frame.center().y()};
    view.onMouseExited();
    fake.pointerImpl.moveTo({frame.right() + 15, frame.center().y()});
    settle();
    EXPECT_TRUE(controller->isOpen()) << "15 points: within the gap";
    fake.pointerImpl.moveTo({frame.right() + 25, frame.center().y()});
    fake.queue.advance(0.07);
    EXPECT_FALSE(controller->isCollapsing());
    fake.queue.advance(0.02);
    EXPECT_TRUE(controller->isCollapsing()) << "0.08 s after going 20 points beyond";
    EXPECT_FALSE(controller->keysArmed());
    // Back in during the close animation: it opens again.
    view.onMouseEntered();
    EXPECT_FALSE(controller->isCollapsing());
    EXPECT_TRUE(controller->keysArmed());
    settle();
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 1);
    EXPECT_EQ(fake.pointerImpl.mouseDownMonitorCount(), 1);
}

TEST_F(ShelfControllerTest, AClickOutsideClosesButNotOneOnOurOwnWindows)
{
    stash(1);
    enabled();
    controller->expand();
    settle();
    const QRectF frame = controller->shelfPanelFrame();
    fake.pointerImpl.position = {frame.center().x(), frame.y() - 0.5}; // within the 1-point rim
    fake.pointerImpl.press({1, false});
    fake.pointerImpl.position = {100, 100};
    fake.pointerImpl.press({1, true}); // our context menu
    fake.pointerImpl.press({3, false});
    settle();
    EXPECT_TRUE(controller->isOpen());
    fake.pointerImpl.press({1, false});
    settle();
    EXPECT_FALSE(controller->isOpen());
}

TEST_F(ShelfControllerTest, SevenItemsAreAsWideAsSixAndTheSideTermFollowsTheFiles)
{
    const QRectF narrow(0, 875, 10, 25);
    make();
    store.add({file("a.txt")});
    EXPECT_DOUBLE_EQ(controller->shelfFrame(narrow, 0).width(), 32 + 62 + 44);
    store.add({file("b.txt")});
    EXPECT_DOUBLE_EQ(controller->shelfFrame(narrow, 0).width(), 32 + 2 * 62 + 18 + 76);
    stash(4);
    const double six = controller->shelfFrame(narrow, 0).width();
    stash(1);
    EXPECT_DOUBLE_EQ(controller->shelfFrame(narrow, 0).width(), six);
    EXPECT_DOUBLE_EQ(controller->shelfFrame(narrow, 20).height(), 25 + 96 + 20);
    EXPECT_DOUBLE_EQ(controller->shelfFrame(narrow, 0).bottom(), narrow.bottom()) << "hangs from the top";
}

TEST_F(ShelfControllerTest, TheBridgeShowsWhileItHoldsFilesAndYieldsToTheHints)
{
    enabled();
    EXPECT_FALSE(controller->chipPanel()) << "empty: nothing";
    controller->add({file("one.txt")});
    EXPECT_EQ(stage.arbiter().winner(), NotchSource::shelfBridge);
    ASSERT_TRUE(controller->chipBar());
    EXPECT_DOUBLE_EQ(controller->chipFrame().y(), notch().y() - 14);
    EXPECT_FALSE(controller->isOpen()) << "stashing does not open";
    const auto* record = fake.overlays.find(controller->chipPanel());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->style.level, 26);
    EXPECT_FALSE(record->style.clickThrough);
    EXPECT_TRUE(record->shown);

    stage.claim(NotchSource::hints);
    EXPECT_TRUE(controller->chipYielding());
    settle();
    EXPECT_FALSE(controller->chipPanel()) << "withdrawn once its bar has closed";
    stage.release(NotchSource::hints);
    EXPECT_FALSE(controller->chipYielding());
    EXPECT_TRUE(controller->chipPanel()) << "back";

    // A click on the chip opens the shelf; closing brings the chip back.
    controller->chipPanel()->onActivate();
    fake.queue.drain();
    ASSERT_TRUE(controller->isOpen());
    const auto* panel = fake.overlays.find(controller->view());
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->style.level, 27);
    EXPECT_EQ(panel->frame, controller->shelfPanelFrame());
    controller->collapse();
    settle();
    EXPECT_FALSE(controller->isOpen());
    EXPECT_EQ(stage.arbiter().winner(), NotchSource::shelfBridge);
    EXPECT_TRUE(controller->chipPanel());
}

TEST_F(ShelfControllerTest, HoverCountsOnlyOnceThePointerMovesOverTheChip)
{
    stash(1);
    enabled();
    ShelfCatcher* chip = controller->chipPanel();
    ASSERT_TRUE(chip);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(chip, &enter);
    fake.queue.drain();
    EXPECT_FALSE(controller->isOpen()) << "mapped under a resting pointer";
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 5), QPointF(6, 5), QPointF(6, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chip, &move);
    fake.queue.drain();
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(ShelfControllerTest, WhileSuppressedNothingOpensTheShelf)
{
    stash(1);
    enabled();
    controller->suppressed = true;
    startFileDrag();
    dragTo(notch().center());
    EXPECT_FALSE(controller->isOpen()) << "reach";
    endDragAt({100, 100});
    controller->chipPanel()->onActivate();
    fake.queue.drain();
    EXPECT_FALSE(controller->isOpen()) << "chip";
    EXPECT_TRUE(controller->hotkeyInvoked());
    EXPECT_FALSE(controller->isOpen()) << "chord";
    controller->suppressed = false;
    EXPECT_TRUE(controller->hotkeyInvoked());
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(ShelfControllerTest, SwitchingOffLetsGoOfEverything)
{
    struct Row {
        const char* what;
        std::function<void()> reach;
    };
    const Row rows[] = {
        {"open", [this] { openByDrag(); }},
        {"opening",
         [this] {
             startFileDrag();
             dragTo(notch().center());
             fake.queue.advance(0.05);
         }},
        {"closing",
         [this] {
             openByDrag();
             controller->collapse();
             fake.queue.advance(0.05);
         }},
        {"mid-drag with the cue",
         [this] {
             startFileDrag();
             dragTo({200, 200});
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        controller.reset();
        settle();
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        stash(1);
        enabled();
        row.reach();
        ShelfView* view = controller->view();
        if (view)
            view->onCutStaged({view->cells().items().front().id}, fake.pasteboardImpl.changeCount());
        controller->setEnabled(false);
        EXPECT_FALSE(shelfClaims());
        EXPECT_TRUE(fake.interceptorImpl.taps.empty());
        EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 0) << "paste monitor";
        EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 0);
        EXPECT_EQ(fake.pointerImpl.mouseDownMonitorCount(), 0);
        EXPECT_EQ(fake.pointerImpl.dragMonitorCount(), 0);
        EXPECT_FALSE(controller->isOpen());
        EXPECT_FALSE(controller->chipPanel());
        EXPECT_TRUE(controller->cutItemIDs().isEmpty());
        settle();
        EXPECT_TRUE(fake.overlays.shownWindows().empty());
    }
}

TEST_F(ShelfControllerTest, TheHapticPlaysAtMostOncePerThreeTenthsOfASecond)
{
    stash(1);
    enabled();
    controller->expand();
    settle();
    const int before = fake.hapticsImpl.count;
    ShelfView& view = *controller->view();
    view.onDragHover();
    view.onDragHover();
    EXPECT_EQ(fake.hapticsImpl.count, before + 1);
    fake.queue.advance(0.29);
    view.onDragHover();
    EXPECT_EQ(fake.hapticsImpl.count, before + 1);
    fake.queue.advance(0.02);
    view.onDragHover();
    EXPECT_EQ(fake.hapticsImpl.count, before + 2);
    controller->hapticsEnabled = false;
    fake.queue.advance(1);
    view.onDragHover();
    EXPECT_EQ(fake.hapticsImpl.count, before + 2);
}

TEST_F(ShelfControllerTest, ANotchedScreenGetsADropTargetThatGrowsWithTheCue)
{
    platform::Screen screen = fakes::makeScreen(QRectF(0, 0, 1440, 900));
    screen.safeAreaTop = 32;
    screen.auxiliaryTopLeftArea = QRectF(0, 868, 650, 32);
    screen.auxiliaryTopRightArea = QRectF(790, 868, 650, 32);
    fake.displaysImpl.screenList = {screen};
    const QRectF physical(650, 868, 140, 32);
    enabled();
    ASSERT_TRUE(controller->dropTarget());
    EXPECT_EQ(controller->dropTargetFrame(), physical);
    EXPECT_EQ(fake.overlays.find(controller->dropTarget())->style.level, 27);
    startFileDrag();
    dragTo({200, 200});
    const QRectF chip = controller->chipFrame();
    EXPECT_EQ(controller->dropTargetFrame(), QRectF(chip.x() - 44, chip.y() - 44, chip.width() + 88, chip.height() + 44));
    endDragAt({200, 200});
    EXPECT_EQ(controller->dropTargetFrame(), physical);
    // A drag entering it opens the shelf; a drop adds and opens.
    controller->dropTarget()->onDrop({file("dropped.txt")});
    fake.queue.drain();
    EXPECT_EQ(store.items().size(), 1);
    EXPECT_TRUE(controller->isOpen());

    // A notch geometry change closes the open shelf at once too.
    NotchGeometry::notifier().post();
    EXPECT_FALSE(controller->isOpen());
    EXPECT_EQ(controller->dropTargetFrame(), physical);
    controller->expand();
    ASSERT_TRUE(controller->isOpen());

    // Without the physical notch the target goes.
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    EXPECT_FALSE(controller->dropTarget());
    EXPECT_FALSE(controller->isOpen()) << "the screen change closes at once";
}

TEST_F(ShelfControllerTest, TheOpenShelfsCallbacksAddRemoveAndDropOut)
{
    stash(2);
    enabled();
    // A drop on the chip adds without opening.
    controller->chipPanel()->onDrop({file("chip.txt")});
    EXPECT_EQ(store.items().size(), 3);
    EXPECT_FALSE(controller->isOpen());
    controller->expand();
    settle();
    ShelfView& view = *controller->view();
    const QList<ShelfItem> items = store.items();

    // Files already on the shelf pulse their card.
    view.onAdd({items[0].urls.front(), file("new.txt")});
    EXPECT_EQ(store.items().size(), 4);
    EXPECT_TRUE(view.cells().pulsedIDs.isEmpty()) << "the new file is no duplicate";
    view.onAdd({QUrl::fromLocalFile(store.items()[3].origins.value(0))});
    EXPECT_EQ(view.cells().pulsedIDs, QSet<QUuid>{store.items()[3].id});

    // A drag-out taken elsewhere removes its items 3 s later, only when asked to.
    view.onDragOutAccepted({items[1].id});
    fake.queue.advance(3.1);
    EXPECT_EQ(store.items().size(), 4);
    controller->removeOnDragOut = true;
    view.onDragOutAccepted({items[1].id});
    fake.queue.advance(2.9);
    EXPECT_EQ(store.items().size(), 4);
    fake.queue.advance(0.2);
    EXPECT_EQ(store.items().size(), 3);
    EXPECT_TRUE(controller->isOpen());

    // Removing the last item closes the shelf.
    QSet<QUuid> all;
    for (const ShelfItem& item : store.items())
        all.insert(item.id);
    view.onRemove(all);
    EXPECT_TRUE(controller->isCollapsing());
    settle();
    EXPECT_FALSE(controller->isOpen());
    EXPECT_FALSE(controller->chipPanel()) << "empty: no chip";
    EXPECT_FALSE(shelfClaims());
}

// ---- Keys ----

TEST(ShelfKeys, TheTableTakesOnlyWhatTheOpenShelfServes)
{
    using Action = ShelfKeys::Action;
    ShelfKeys::State open;
    open.open = true;
    open.airDropVisible = true;
    open.copyVisible = true;
    open.zipVisible = true;
    const double now = 100;
    auto with = [&](auto change) {
        ShelfKeys::State s = open;
        change(s);
        return s;
    };
    struct Row {
        const char* what;
        int code;
        platform::EventFlags flags;
        ShelfKeys::State state;
        ShelfKeys::Decision expected;
    };
    const Row rows[] = {
        {"S sends", 1, 0, open, {true, Action::airDrop}},
        {"S with the send button hidden passes", 1, 0, with([](auto& s) { s.airDropVisible = false; }), {}},
        {"C copies by the strip", 8, 0, open, {true, Action::copy}},
        {"Z zips; Shift is not looked at", 6, shift, open, {true, Action::zip}},
        {"Z without the zip button passes", 6, 0, with([](auto& s) { s.zipVisible = false; }), {}},
        {"Space previews", 49, 0, open, {true, Action::quickLook}},
        {"Backspace removes", 51, 0, open, {true, Action::removeSelection}},
        {"Escape closes", 53, 0, open, {true, Action::collapse}},
        {"Escape closes the preview first", 53, 0, with([](auto& s) { s.previewVisible = true; }),
         {true, Action::closePreview}},
        {"Ctrl+A selects all", 0, command, open, {true, Action::selectAll}},
        {"Ctrl+C copies the files", 8, command, open, {true, Action::copyFiles}},
        {"Ctrl+Shift+X cuts", 7, command | shift, open, {true, Action::cutFiles}},
        {"Ctrl+V passes", 9, command, open, {}},
        {"another letter passes", 2, 0, open, {}},
        {"with Super held", 53, control, open, {}},
        {"with Alt held", 1, option, open, {}},
        {"closed", 53, 0, ShelfKeys::State{}, {}},
        {"while closing", 53, 0, with([](auto& s) { s.collapsing = true; }), {}},
        {"during a drag-out", 53, 0, with([](auto& s) { s.draggingOut = true; }), {}},
        {"0.2 s after a drag-out", 53, 0, with([&](auto& s) { s.dragOutEndedAt = now - 0.2; }), {}},
        {"0.31 s after a drag-out", 53, 0, with([&](auto& s) { s.dragOutEndedAt = now - 0.31; }),
         {true, Action::collapse}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ShelfKeys::Decision d = ShelfKeys::decide(row.code, row.flags, row.state, now);
        EXPECT_EQ(d.consumed, row.expected.consumed);
        EXPECT_EQ(int(d.action), int(row.expected.action));
    }
}

TEST_F(ShelfControllerTest, TheOpenShelfTakesItsKeysAndPassesTheRest)
{
    stash(1);
    enabled();
    EXPECT_TRUE(fake.interceptorImpl.taps.empty()) << "closed: no grab";
    controller->expand();
    settle();
    auto& keys = fake.interceptorImpl;
    EXPECT_EQ(keys.taps.size(), 2u);
    EXPECT_TRUE(keys.holds(53));
    EXPECT_TRUE(keys.holds(53, shift));
    EXPECT_TRUE(keys.holds(0, command));
    EXPECT_FALSE(keys.holds(0)) << "A alone is not the shelf's";
    EXPECT_FALSE(keys.holds(9, command)) << "Ctrl+V";
    EXPECT_FALSE(keys.press(1)) << "S without a share service reaches the window";
    EXPECT_TRUE(keys.press(49));
    EXPECT_FALSE(fake.filePreviewImpl.isVisible()) << "the work waits for the main queue";
    fake.queue.drain();
    EXPECT_TRUE(fake.filePreviewImpl.isVisible());
    keys.release(49);
    EXPECT_TRUE(keys.press(53));
    fake.queue.drain();
    EXPECT_FALSE(fake.filePreviewImpl.isVisible());
    EXPECT_TRUE(controller->isOpen()) << "the first Escape closes the preview";
    keys.release(53);
    EXPECT_TRUE(keys.press(53));
    fake.queue.drain();
    EXPECT_TRUE(controller->isCollapsing());
    EXPECT_TRUE(keys.taps.empty());
}

// ---- Cut and paste ----

TEST_F(ShelfControllerTest, APasteRemovesOnlyItemsWhoseFilesHaveAllLeft)
{
    struct Row {
        const char* what;
        bool copiedSince;
        int filesMoved; // of the first item's two files
        int itemsLeft;
        int firstItemFiles;
    };
    const Row rows[] = {
        {"something else copied since: cancelled", true, 2, 2, 2},
        {"files moved away: removed", false, 2, 1, 0},
        {"files still there: kept", false, 0, 2, 2},
        {"one file moved: kept with the other", false, 1, 2, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        controller.reset();
        settle();
        store.remove([&] {
            QSet<QUuid> all;
            for (const ShelfItem& item : store.items())
                all.insert(item.id);
            return all;
        }());
        store.add({file("a.txt"), file("b.txt")});
        store.add({file("c.txt")});
        enabled();
        controller->expand();
        settle();
        const ShelfItem first = store.items().front();
        ShelfView& view = *controller->view();
        view.cells().selection = {first.id};
        view.copyToPasteboard(true);
        ASSERT_EQ(controller->cutItemIDs(), QSet<QUuid>{first.id});
        ASSERT_TRUE(controller->pasteWatched());
        if (row.copiedSince)
            fake.pasteboardImpl.writeString("other");
        for (int i = 0; i < row.filesMoved; ++i)
            QFile::remove(first.urls[i].toLocalFile());
        fake.keyEventsImpl.send({platform::KeyEvent::Type::keyDown, 9, command, false});
        EXPECT_FALSE(controller->pasteWatched());
        EXPECT_TRUE(view.cells().cutIDs.isEmpty());
        fake.queue.advance(2.9);
        EXPECT_EQ(store.items().size(), 2);
        fake.queue.advance(0.2);
        ASSERT_EQ(store.items().size(), row.itemsLeft);
        if (row.itemsLeft == 2) {
            EXPECT_EQ(store.items().front().urls.size(), row.firstItemFiles);
        }
    }
}

// ---- The chord and stashing ----

TEST_F(ShelfControllerTest, TheChordTakesTheFileManagersSelection)
{
    auto& selection = fake.fileManagerSelectionImpl;
    Log::isDebugEnabled = true;
    const auto quiet = qScopeGuard([] { Log::isDebugEnabled = false; });
    enabled();
    int nothing = 0;
    controller->onNothingToShow = [&] { ++nothing; };

    // Not in the file manager, empty shelf: nothing to show, at once.
    EXPECT_FALSE(controller->hotkeyInvoked());
    EXPECT_EQ(selection.reads, 0);
    // In it with nothing picked: the answer comes later.
    selection.frontmost = true;
    selection.holdReads = true;
    EXPECT_TRUE(controller->hotkeyInvoked());
    EXPECT_EQ(nothing, 0);
    selection.answer();
    EXPECT_EQ(nothing, 1);
    // An unreadable selection counts as none, and says why.
    selection.error = QStringLiteral("the clipboard did not answer");
    EXPECT_TRUE(controller->hotkeyInvoked());
    selection.answer();
    EXPECT_EQ(nothing, 2);
    EXPECT_TRUE(fake.log.contains("Shelf: file manager selection failed: the clipboard did not answer"));
    selection.error.reset();
    selection.holdReads = false;

    // New files: stashed, the shelf stays closed and the chip counts them.
    selection.files = {file("a.txt"), file("b.txt"), QUrl::fromLocalFile(dir.path() + "/files/missing.txt"),
                       QUrl("https://example.org/c.txt")};
    EXPECT_TRUE(controller->hotkeyInvoked());
    ASSERT_EQ(store.items().size(), 1);
    EXPECT_EQ(store.items().front().urls.size(), 2) << "only existing local files";
    EXPECT_FALSE(controller->isOpen());
    EXPECT_EQ(stage.arbiter().winner(), NotchSource::shelfBridge);

    // The same files again: the shelf opens and pulses their card 0.35 s later.
    EXPECT_TRUE(controller->hotkeyInvoked());
    fake.queue.drain();
    ASSERT_TRUE(controller->isOpen());
    EXPECT_TRUE(controller->view()->cells().pulsedIDs.isEmpty());
    fake.queue.advance(0.35);
    EXPECT_EQ(controller->view()->cells().pulsedIDs, QSet<QUuid>{store.items().front().id});
    EXPECT_EQ(store.items().size(), 1);

    // Nothing picked with the shelf open: it closes; closed and not empty: it opens.
    selection.files.clear();
    EXPECT_TRUE(controller->hotkeyInvoked());
    EXPECT_TRUE(controller->isCollapsing());
    settle();
    selection.frontmost = false;
    EXPECT_TRUE(controller->hotkeyInvoked());
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(nothing, 2);
}

TEST_F(ShelfControllerTest, StashingFromOutsideOnlyWhileOn)
{
    make();
    controller->add({file("early.txt")});
    EXPECT_TRUE(store.items().isEmpty());
    controller->setEnabled(true);
    controller->add({file("shot.png")});
    EXPECT_EQ(store.items().size(), 1);
    EXPECT_FALSE(controller->isOpen());
    controller->add({});
    EXPECT_EQ(store.items().size(), 1);
}

// ---- The feature ----

class ShelfFeatureTest : public ShelfControllerTest {
protected:
    ShelfFeatureTest() { ScreenshotThumbnail::forgetClaim(); }
    ~ShelfFeatureTest() override { ScreenshotThumbnail::forgetClaim(); }
    bool marker() { return fake.defaults.standard().boolForKey(SettingsKeys::shelfThumbnailHeldByUs); }
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
};

TEST_F(ShelfFeatureTest, OptionsAreTakenAtSwitchOnAndTheThumbnailIsGivenBackOnEveryDeactivate)
{
    ShelfFeature feature(settings, drags, stage);
    settings.setShelfConvert(false);
    settings.setShelfHaptics(false);
    settings.setShelfRemoveOnDragOut(true);
    settings.setShelfAutoScreenshots(true);
    settings.setShelfSkipThumbnail(true);
    feature.activate();
    EXPECT_TRUE(feature.isActive());
    EXPECT_TRUE(feature.controller().isEnabled());
    EXPECT_FALSE(feature.controller().convertEnabled);
    EXPECT_FALSE(feature.controller().hapticsEnabled);
    EXPECT_TRUE(feature.controller().removeOnDragOut);
    EXPECT_TRUE(feature.screenshots().isRunning());
    EXPECT_EQ(fake.screenshotPrefsImpl.value, std::optional<bool>(false));
    EXPECT_TRUE(marker());
    // A change while on waits for the next switch-on.
    settings.setShelfConvert(true);
    feature.activate();
    EXPECT_FALSE(feature.controller().convertEnabled);

    // A new screenshot lands on the shelf.
    feature.screenshots().onScreenshot({file("Screenshot.png")});
    EXPECT_EQ(feature.controller().store().items().size(), 1);

    feature.deactivate();
    EXPECT_FALSE(feature.isActive());
    EXPECT_FALSE(feature.controller().isEnabled());
    EXPECT_FALSE(feature.screenshots().isRunning());
    EXPECT_EQ(fake.screenshotPrefsImpl.value, std::nullopt);
    EXPECT_FALSE(marker());
    feature.screenshots().onScreenshot({file("Later.png")});
    EXPECT_EQ(feature.controller().store().items().size(), 1) << "off: not stashed";

    // A holding left by an earlier run goes back even when never switched on.
    fake.defaults.standard().set(SettingsKeys::shelfThumbnailHeldByUs, true);
    fake.screenshotPrefsImpl.value = false;
    ShelfFeature fresh(settings, drags, stage);
    fresh.deactivate();
    EXPECT_EQ(fake.screenshotPrefsImpl.value, std::nullopt);
    EXPECT_FALSE(marker());
    // Unless another copy of the application runs.
    fake.defaults.standard().set(SettingsKeys::shelfThumbnailHeldByUs, true);
    fake.screenshotPrefsImpl.value = false;
    fake.appShellImpl.anotherInstance = true;
    fresh.deactivate();
    EXPECT_EQ(fake.screenshotPrefsImpl.value, std::optional<bool>(false));
}

} // namespace
