#include "ShelfWidgets.h"
#include "platform/ScreenSpace.h"
#include "shelf/ActionStrip.h"
#include "shelf/AirDropZoneView.h"
#include "shelf/CellsView.h"
#include "shelf/ConvertZoneView.h"
#include "shelf/DropPlateView.h"
#include "shelf/DropRegionView.h"
#include "shelf/HoverButton.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfView.h"

#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <vector>

using namespace quillon;

namespace {

using quillon::testing::itemOf;
using quillon::testing::ShelfWidgets;

// ---- The cards: clicks, the rubber band and the context menu ----

using ShelfCardsInput = ShelfWidgets;

TEST_F(ShelfCardsInput, ClicksSelectWithCtrlTogglingAndShiftSpanningFromTheAnchor)
{
    QList<ShelfItem> items;
    for (int i = 0; i < 5; ++i)
        items.append(itemOf({QString("/f%1").arg(i)}));
    CellsView cells(items);
    cells.resize(500, 96);
    const auto at = [](int i) { return CardGeometry::card(i).center(); };
    const auto ids = [&](std::initializer_list<int> indices) {
        QSet<QUuid> set;
        for (const int i : indices)
            set.insert(items[i].id);
        return set;
    };
    const auto click = [&](int i, Qt::KeyboardModifiers modifiers = {}) {
        cells.press(at(i), modifiers, 1);
        cells.release(modifiers, 1);
    };
    click(1);
    EXPECT_EQ(cells.selection, ids({1}));
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(cells.selection, ids({1, 2, 3}));
    click(0, Qt::ControlModifier);
    EXPECT_EQ(cells.selection, ids({0, 1, 2, 3}));
    click(2, Qt::ControlModifier);
    EXPECT_EQ(cells.selection, ids({0, 1, 3}));
    // A press on a selected card keeps the group (for a drag); the release narrows it.
    cells.press(at(1), {}, 1);
    EXPECT_EQ(cells.selection, ids({0, 1, 3}));
    cells.release({}, 1);
    EXPECT_EQ(cells.selection, ids({1}));
    // An anchor past a shortened list counts as its last card.
    cells.update(items.mid(0, 3));
    cells.anchorIndex = 4;
    click(0, Qt::ShiftModifier);
    EXPECT_EQ(cells.selection, ids({0, 1, 2}));

    std::vector<QList<ShelfItem>> opened;
    cells.onOpenItems = [&](const QList<ShelfItem>& list) { opened.push_back(list); };
    cells.press(at(2), {}, 2);
    cells.release({}, 2);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().front().id, items[2].id);
    EXPECT_EQ(cells.selection, ids({2}));

    // The remove cross of the hovered card asks to remove that card only.
    QSet<QUuid> removed;
    cells.onRemoveConfirmed = [&](const QSet<QUuid>& set) { removed = set; };
    const QPointF cross = CardGeometry::removeCross(CardGeometry::card(0)).center();
    cells.updateHover(cross);
    cells.press(cross, {}, 1);
    EXPECT_EQ(removed, ids({0}));
    EXPECT_EQ(cells.selection, ids({2}));
}

TEST_F(ShelfCardsInput, TheMarqueeSelectsExactlyTheCardsItTouches)
{
    QList<ShelfItem> items;
    for (int i = 0; i < 4; ++i)
        items.append(itemOf({QString("/f%1").arg(i)}));
    CellsView cells(items);
    cells.resize(400, 96);
    int ended = 0;
    cells.onDragSessionEnded = [&] { ++ended; };
    cells.selection = {items[3].id};
    cells.press(QPointF(5, 90), {}, 1); // empty space below the labels' ends
    EXPECT_TRUE(cells.selection.isEmpty());
    cells.dragTo(QPointF(110, 50));
    EXPECT_EQ(cells.selection, (QSet<QUuid>{items[0].id, items[1].id}));
    cells.dragTo(QPointF(60, 50));
    EXPECT_EQ(cells.selection, QSet<QUuid>{items[0].id});
    ASSERT_TRUE(cells.marqueeRect);
    cells.release({}, 1);
    EXPECT_FALSE(cells.marqueeRect);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(cells.isDraggingOut);
}


// One step of a press-drag-release sequence on the cards.
struct Step {
    enum Kind { Press, Drag, Release } kind;
    int card = -1; // -1: empty space below the cards
    Qt::KeyboardModifiers modifiers = {};
    int clicks = 1;
    QPointF dragTo = {};
};

TEST_F(ShelfCardsInput, SelectionFollowsEachSequenceOfEvents)
{
    QList<ShelfItem> items;
    for (int i = 0; i < 5; ++i)
        items.append(itemOf({QString("/f%1").arg(i)}));
    const auto press = [](int card, Qt::KeyboardModifiers m = {}, int clicks = 1) {
        return Step{Step::Press, card, m, clicks};
    };
    const auto release = [](Qt::KeyboardModifiers m = {}, int clicks = 1) {
        return Step{Step::Release, -1, m, clicks};
    };
    const auto drag = [](QPointF to) { return Step{Step::Drag, -1, {}, 1, to}; };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;

    struct Row {
        const char* name;
        std::optional<int> anchorBefore; // the selection before is cards 1, 2 and 3
        std::vector<Step> steps;
        std::set<int> selection;
        std::optional<int> anchor;
        int opened = 0;
        int bandsEnded = 0;
    };
    const std::vector<Row> rows{
        {"a press on a selected card keeps the three", 1, {press(2)}, {1, 2, 3}, 2},
        {"its release without a drag narrows to it", 1, {press(2), release()}, {2}, 2},
        {"a plain click elsewhere selects only that card", 1, {press(4), release()}, {4}, 4},
        {"Ctrl-click drops a selected card and moves the anchor", 1, {press(2, ctrl), release(ctrl)}, {1, 3}, 2},
        {"Ctrl-click adds an unselected card", 1, {press(0, ctrl), release(ctrl)}, {0, 1, 2, 3}, 0},
        {"Shift-click spans from the anchor, replacing", 1, {press(4, shift), release(shift)}, {1, 2, 3, 4}, 1},
        {"Shift-click backwards", 3, {press(0, shift), release(shift)}, {0, 1, 2, 3}, 3},
        {"Shift without an anchor is a plain click", std::nullopt, {press(4, shift), release(shift)}, {4}, 4},
        {"Ctrl then Shift spans from the toggled card",
         1,
         {press(3, ctrl), release(ctrl), press(4, shift), release(shift)},
         {3, 4},
         3},
        {"a double click opens the card alone", 1, {press(3), release(), press(3, {}, 2), release({}, 2)}, {3}, 3, 1},
        {"an anchor past the end counts as the last card", 9, {press(2, shift), release(shift)}, {2, 3, 4}, 9},
        {"a rubber band selects what it touches, replacing", 1, {press(-1), drag({110, 50}), release()}, {0, 1},
         std::nullopt, 0, 1},
        {"a rubber band touching nothing empties the selection", 1, {press(-1), drag({8, 88}), release()}, {},
         std::nullopt, 0, 1},
    };
    for (const Row& row : rows) {
        CellsView cells(items);
        cells.resize(500, 96);
        cells.selection = {items[1].id, items[2].id, items[3].id};
        cells.anchorIndex = row.anchorBefore;
        int opened = 0, bandsEnded = 0;
        cells.onOpenItems = [&](const QList<ShelfItem>&) { ++opened; };
        cells.onDragSessionEnded = [&] { ++bandsEnded; };
        for (const Step& step : row.steps) {
            if (step.kind == Step::Press)
                cells.press(step.card < 0 ? QPointF(5, 90) : CardGeometry::card(step.card).center(), step.modifiers,
                            step.clicks);
            else if (step.kind == Step::Drag)
                cells.dragTo(step.dragTo);
            else
                cells.release(step.modifiers, step.clicks);
        }
        QSet<QUuid> expected;
        for (const int i : row.selection)
            expected.insert(items[i].id);
        EXPECT_EQ(cells.selection, expected) << row.name;
        EXPECT_EQ(cells.anchorIndex, row.anchor) << row.name;
        EXPECT_EQ(opened, row.opened) << row.name;
        EXPECT_EQ(bandsEnded, row.bandsEnded) << row.name;
        EXPECT_FALSE(cells.isDraggingOut) << row.name;
    }
}

TEST_F(ShelfCardsInput, TheBandScrollsTheRowWhileThePointerStaysPastTheEdge)
{
    QList<ShelfItem> items;
    for (int i = 0; i < 8; ++i)
        items.append(itemOf({QString("/f%1").arg(i)}));
    QScrollArea area;
    area.setFrameShape(QFrame::NoFrame);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.resize(200, 96);
    auto* cells = new CellsView(items);
    cells->resize(int(CardGeometry::cell(7).right()) + 16, 96);
    area.setWidget(cells);
    area.show();
    QScrollBar* bar = area.horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    cells->press(QPointF(5, 90), {}, 1);
    cells->dragTo(QPointF(230, 50)); // 30 points past the right edge, then held still
    const int first = bar->value();
    EXPECT_GT(first, 0);
    fake.queue.advance(0.2);
    const int later = bar->value();
    EXPECT_GT(later, first);
    // The band followed the row: it reaches the cards scrolled into view.
    EXPECT_TRUE(cells->selection.contains(items[4].id));

    // Back inside: the row stops; a release stops it too.
    cells->dragTo(cells->mapFrom(area.viewport(), QPointF(100, 50)));
    fake.queue.advance(0.2);
    EXPECT_EQ(bar->value(), later);
    cells->dragTo(cells->mapFrom(area.viewport(), QPointF(-40, 50)));
    const int back = bar->value();
    EXPECT_LT(back, later);
    cells->release({}, 1);
    fake.queue.advance(0.2);
    EXPECT_EQ(bar->value(), back);
}

QStringList titles(const QMenu& menu)
{
    QStringList list;
    for (const QAction* action : menu.actions())
        list.append(action->isSeparator() ? QString("-") : action->text());
    return list;
}

QAction* actionNamed(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST_F(ShelfCardsInput, TheMenuOffersClearAllOverEmptySpaceAndTheSelectionsActionsOverACard)
{
    const QList<ShelfItem> items{itemOf({"/x/photo.png"}), itemOf({"/x/notes.txt", "/x/more.txt"})};
    CellsView cells(items);
    cells.resize(300, 96);
    std::vector<QSet<QUuid>> removed;
    int closed = 0;
    cells.onRemoveConfirmed = [&](const QSet<QUuid>& ids) { removed.push_back(ids); };
    cells.onMenuClosed = [&] { ++closed; };

    {
        QMenu* menu = cells.menuFor(QPointF(5, 90));
        EXPECT_TRUE(cells.isMenuOpen);
        EXPECT_EQ(titles(*menu), QStringList{"Clear All"});
        menu->actions().front()->trigger();
        ASSERT_EQ(removed.size(), 1u);
        EXPECT_EQ(removed.back(), (QSet<QUuid>{items[0].id, items[1].id}));
        menu->popup(QPoint(0, 0));
        menu->hide();
        EXPECT_FALSE(cells.isMenuOpen);
        EXPECT_EQ(closed, 1);
    }

    // A right click on an unselected card selects it alone first.
    cells.selection = {items[1].id};
    QMenu* menu = cells.menuFor(CardGeometry::card(0).center());
    EXPECT_EQ(cells.selection, QSet<QUuid>{items[0].id});
    EXPECT_EQ(cells.anchorIndex, 0);
    EXPECT_EQ(titles(*menu), (QStringList{"Open", "Reveal in File Manager", "Copy Path", "Convert", "-",
                                          "Remove from Shelf", "Clear All"}));
    QAction* convert = actionNamed(*menu, "Convert");
    ASSERT_TRUE(convert && convert->menu());
    EXPECT_EQ(titles(*convert->menu()),
              (QStringList{"Convert to JPG", "Convert to HEIC", "Convert to TIFF", "Save as PDF", "Strip Metadata"}));
    std::vector<std::pair<QList<QUrl>, ShelfConvert::Format>> converted;
    cells.onConvert = [&](const QList<QUrl>& urls, ShelfConvert::Format f) { converted.emplace_back(urls, f); };
    actionNamed(*convert->menu(), "Convert to HEIC")->trigger();
    ASSERT_EQ(converted.size(), 1u);
    EXPECT_EQ(converted[0].first, items[0].urls);
    EXPECT_EQ(converted[0].second, ShelfConvert::Format::Heic);
    cells.menuConvert("GIF"); // not a format: ignored
    EXPECT_EQ(converted.size(), 1u);

    actionNamed(*menu, "Remove from Shelf")->trigger();
    EXPECT_EQ(removed.back(), QSet<QUuid>{items[0].id});

    // Two text files, or a mix of types: only packing them.
    for (const bool all : {false, true}) {
        if (all)
            cells.selectAll();
        QAction* more = actionNamed(*cells.menuFor(CardGeometry::card(1).center()), "Convert");
        ASSERT_TRUE(more && more->menu());
        EXPECT_EQ(titles(*more->menu()), QStringList{"Compress (.zip)"});
    }
    // A single text file: no conversions.
    CellsView single({itemOf({"/x/notes.txt"})});
    single.resize(300, 96);
    EXPECT_FALSE(actionNamed(*single.menuFor(CardGeometry::card(0).center()), "Convert"));
}

TEST_F(ShelfCardsInput, CopyPathJoinsThePathsAsTheyAreAndRevealShowsTheFilesThatAreLeft)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a photo.png"), b = dir.filePath("b.txt"), gone = dir.filePath("gone.txt");
    for (const QString& path : {a, b}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QList<ShelfItem> items{itemOf({a}), itemOf({b, gone}), itemOf({dir.filePath("c.txt")})};
    CellsView cells(items);
    cells.resize(400, 96);
    cells.selection = {items[1].id, items[0].id};

    cells.menuCopyPath();
    EXPECT_EQ(fake.pasteboardImpl.text, a + "\n" + b + "\n" + gone);

    cells.menuReveal();
    ASSERT_EQ(fake.workspaceImpl.revealedTogether.size(), 1u); // one call for all the files
    EXPECT_EQ(fake.workspaceImpl.revealedTogether[0], (QStringList{a, b}));
    EXPECT_TRUE(fake.log.contains(gone));

    // Nothing left to reveal: no call.
    cells.selection = {items[2].id};
    cells.menuReveal();
    EXPECT_EQ(fake.workspaceImpl.revealedTogether.size(), 1u);
}


// ---- Drops on the panel ----

// A panel of two one-file cards, 400 by 120 under a 120 by 24 notch.
class ShelfPanel : public ShelfWidgets {
protected:
    ShelfView view{{itemOf({"/a.txt"}), itemOf({"/b.txt"})}, QSizeF(400, 120), 120, 24};
};

using ShelfDropHandling = ShelfPanel;

TEST_F(ShelfDropHandling, DropsGoWhereTheHighlightShowed)
{
    view.setShareAvailable(true);
    std::vector<QString> calls;
    view.onAdd = [&](const QList<QUrl>&) { calls.push_back("add"); };
    view.onAirDrop = [&](const QList<QUrl>&) { calls.push_back("send"); };
    const QList<QUrl> images{QUrl::fromLocalFile("/x/a.png"), QUrl::fromLocalFile("/x/b.png")};
    view.externalDragActive = true;
    view.dragConvertOptions = ShelfConvert::options(images);
    view.updateRightSide();
    view.dropPlate().show();
    view.layoutBody();
    const QPointF overZone = QRectF(view.zone().geometry()).center();
    const QPointF overConvert = QRectF(view.convertZone().geometry()).center();
    const QPointF overPlate = QRectF(view.dropPlate().geometry()).center();

    struct Row {
        const char* name;
        QPointF at;
        bool internal;
        Qt::DropAction action;
        bool plateLit;
    };
    for (const Row& row : {Row{"send zone", overZone, false, Qt::CopyAction, false},
                           Row{"convert zone", overConvert, true, Qt::CopyAction, false},
                           Row{"plate, foreign", overPlate, false, Qt::CopyAction, true},
                           Row{"plate, own cards", overPlate, true, Qt::IgnoreAction, true}}) {
        EXPECT_EQ(view.dropUpdated(row.at, row.internal), row.action) << row.name;
        EXPECT_EQ(view.dropPlate().highlighted, row.plateLit) << row.name;
        EXPECT_TRUE(view.bodyFlash().isHidden()) << row.name; // the plate shows: no flash
    }

    // The last highlight decides, whatever the final point.
    view.dropUpdated(overZone, false);
    EXPECT_TRUE(view.handleDrop(images, overPlate, false));
    EXPECT_EQ(calls, std::vector<QString>{"send"});
    EXPECT_FALSE(view.lastDragOverZone);
    EXPECT_FALSE(view.dropPlate().highlighted);

    view.dropUpdated(overPlate, true);
    EXPECT_FALSE(view.handleDrop(images, overPlate, true)); // own cards onto the cards: refused
    view.dropUpdated(overPlate, false);
    EXPECT_TRUE(view.handleDrop(images, overPlate, false));
    EXPECT_EQ(calls, (std::vector<QString>{"send", "add"}));

    // Onto the convert zone: the formats wait for a choice.
    std::vector<ShelfConvert::Format> converted;
    view.onConvert = [&](const QList<QUrl>& urls, ShelfConvert::Format f) {
        EXPECT_EQ(urls, images);
        converted.push_back(f);
    };
    view.dropUpdated(overConvert, false);
    EXPECT_TRUE(view.handleDrop(images, overConvert, false));
    ASSERT_TRUE(view.pendingConvertURLs);
    ASSERT_FALSE(view.convertZone().buttons().isEmpty());
    EXPECT_EQ(view.convertZone().width(), qRound(0.46 * 400));
    view.convertZone().buttons().front()->click();
    ASSERT_EQ(converted.size(), 1u);
    EXPECT_FALSE(view.pendingConvertURLs);
    EXPECT_TRUE(view.convertZone().buttons().isEmpty());
}


TEST_F(ShelfDropHandling, EachDragEndsAsTheTableSays)
{
    enum class Where { Plate, Cards, Zone, Convert };
    enum class Outcome { Added, Sent, Converting, Refused };
    struct Row {
        const char* name;
        bool plateShown;
        bool internal;
        std::vector<Where> hovers;
        Where dropAt;
        Qt::DropAction lastAction;
        bool plateLit, zoneLit, convertLit, flash;
        Outcome outcome;
    };
    using W = Where;
    using O = Outcome;
    const std::vector<Row> rows{
        {"a foreign file on the plate is added", true, false, {W::Plate}, W::Plate, Qt::CopyAction, true, false,
         false, false, O::Added},
        {"a foreign file on the cards, no plate: flash, added", false, false, {W::Cards}, W::Cards, Qt::CopyAction,
         false, false, false, true, O::Added},
        {"our own card over the cards: nothing", false, true, {W::Cards}, W::Cards, Qt::IgnoreAction, false,
         false, false, false, O::Refused},
        {"our own card over the plate: nothing", true, true, {W::Plate}, W::Plate, Qt::IgnoreAction, true, false,
         false, false, O::Refused},
        {"our own card on the send zone is sent", true, true, {W::Zone}, W::Zone, Qt::CopyAction, false, true,
         false, false, O::Sent},
        {"our own card on the convert zone waits for a format", true, true, {W::Convert}, W::Convert,
         Qt::CopyAction, false, false, true, false, O::Converting},
        {"a foreign file on the convert zone waits for a format", true, false, {W::Convert}, W::Convert,
         Qt::CopyAction, false, false, true, false, O::Converting},
        {"from the plate onto the zone: the zone lights, the plate goes out", true, false, {W::Plate, W::Zone},
         W::Zone, Qt::CopyAction, false, true, false, false, O::Sent},
        {"the last hover wins over the drop point", true, false, {W::Plate, W::Zone}, W::Plate, Qt::CopyAction,
         false, true, false, false, O::Sent},
        {"a hover that left the zone no longer sends", true, false, {W::Zone, W::Plate}, W::Plate, Qt::CopyAction,
         true, false, false, false, O::Added},
    };
    const QList<QUrl> images{QUrl::fromLocalFile("/x/a.png"), QUrl::fromLocalFile("/x/b.png")};
    for (const Row& row : rows) {
        ShelfView panel({itemOf({"/a.txt"}), itemOf({"/b.txt"})}, QSizeF(400, 120), 120, 24);
        panel.setShareAvailable(true);
        panel.externalDragActive = true;
        panel.dragConvertOptions = ShelfConvert::options(images);
        panel.updateRightSide();
        panel.dropPlate().setVisible(row.plateShown);
        panel.layoutBody();
        const auto at = [&](Where where) {
            switch (where) {
            case W::Plate:
                return QRectF(panel.dropPlate().geometry()).center();
            case W::Zone:
                return QRectF(panel.zone().geometry()).center();
            case W::Convert:
                return QRectF(panel.convertZone().geometry()).center();
            case W::Cards:
                break;
            }
            return QPointF(20, 20);
        };
        std::vector<O> outcomes;
        panel.onAdd = [&](const QList<QUrl>&) { outcomes.push_back(O::Added); };
        panel.onAirDrop = [&](const QList<QUrl>&) { outcomes.push_back(O::Sent); };

        auto& region = static_cast<DropRegionView&>(panel.body());
        region.onEntered();
        EXPECT_TRUE(panel.dropSessionActive) << row.name;
        Qt::DropAction action = Qt::IgnoreAction;
        for (const Where hover : row.hovers)
            action = panel.dropUpdated(at(hover), row.internal);
        fake.queue.advance(0.06); // the zones' highlight settles for 50 ms
        EXPECT_EQ(action, row.lastAction) << row.name;
        EXPECT_EQ(panel.dropPlate().highlighted, row.plateLit) << row.name;
        EXPECT_EQ(panel.zone().highlighted(), row.zoneLit) << row.name;
        EXPECT_EQ(panel.convertZone().highlighted(), row.convertLit) << row.name;
        EXPECT_EQ(!panel.bodyFlash().isHidden(), row.flash) << row.name;

        const bool accepted = panel.handleDrop(images, at(row.dropAt), row.internal);
        fake.queue.advance(0.06);
        EXPECT_EQ(accepted, row.outcome != O::Refused) << row.name;
        if (row.outcome == O::Converting) {
            EXPECT_TRUE(panel.pendingConvertURLs) << row.name;
            EXPECT_TRUE(outcomes.empty()) << row.name;
        } else if (row.outcome == O::Refused) {
            EXPECT_TRUE(outcomes.empty()) << row.name;
        } else {
            EXPECT_EQ(outcomes, std::vector<O>{row.outcome}) << row.name;
        }
        // Whatever happened, no highlight is left behind.
        EXPECT_FALSE(panel.dropSessionActive || panel.lastDragOverZone || panel.lastDragOverConvert) << row.name;
        EXPECT_FALSE(panel.dropPlate().highlighted || panel.zone().highlighted() ||
                     panel.convertZone().highlighted())
            << row.name;
        EXPECT_TRUE(panel.bodyFlash().isHidden()) << row.name;
    }
}

TEST_F(ShelfDropHandling, LeavingClearsEveryHighlightAndCancellingTheFormatsRestoresTheStrip)
{
    view.update({itemOf({"/a.txt"})});
    const QList<QUrl> images{QUrl::fromLocalFile("/x/a.png")};
    view.externalDragActive = true;
    view.dragConvertOptions = ShelfConvert::options(images);
    view.updateRightSide();
    view.dropPlate().show();
    view.layoutBody();
    auto& region = static_cast<DropRegionView&>(view.body());
    region.onEntered();
    view.dropUpdated(QRectF(view.dropPlate().geometry()).center(), false);
    ASSERT_TRUE(view.dropPlate().highlighted);
    region.onExited();
    EXPECT_FALSE(view.dropSessionActive);
    EXPECT_FALSE(view.dropPlate().highlighted);
    EXPECT_TRUE(view.bodyFlash().isHidden());

    int conversions = 0;
    view.onConvert = [&](const QList<QUrl>&, ShelfConvert::Format) { ++conversions; };
    view.handleDrop(images, QRectF(view.convertZone().geometry()).center(), false);
    ASSERT_TRUE(view.pendingConvertURLs);
    view.externalDragActive = false;
    view.dragConvertOptions.clear();
    view.updateRightSide();
    view.convertZone().onCancel();
    EXPECT_FALSE(view.pendingConvertURLs);
    EXPECT_TRUE(view.convertZone().buttons().isEmpty());
    EXPECT_EQ(view.targetAlphas().strip, 1);
    // A format chosen with nothing waiting converts nothing.
    view.convertZone().onFormat(ShelfConvert::Format::Jpg);
    EXPECT_EQ(conversions, 0);
}


// ---- The panel's actions and the pointer ----

using ShelfPanelActions = ShelfPanel;

TEST_F(ShelfPanelActions, RemovingTwoOrMoreFilesAsksOnceMoreUntilThreeSecondsPass)
{
    std::vector<QSet<QUuid>> removed;
    int sizeChanges = 0;
    view.onRemove = [&](const QSet<QUuid>& ids) { removed.push_back(ids); };
    view.onSizeChanged = [&] { ++sizeChanges; };
    const ShelfItem one = view.cells().items()[0];

    view.requestRemoval({one.id}); // one file: at once
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed.back(), QSet<QUuid>{one.id});

    view.removeSelectionRequested(); // both cards, two files: asks
    EXPECT_EQ(removed.size(), 1u);
    EXPECT_FALSE(view.confirmCaption().isHidden());
    EXPECT_EQ(view.confirmCaption().text(), "Remove 2 files? Press again to confirm");
    EXPECT_TRUE(view.strip().removeButton()->armed);
    EXPECT_EQ(sizeChanges, 1);
    EXPECT_EQ(view.scroll().geometry().bottom() + 1, 96 - 20); // the cards make room for the caption

    fake.queue.advance(3.1); // the question lapses
    EXPECT_TRUE(view.confirmCaption().isHidden());
    EXPECT_FALSE(view.strip().removeButton()->armed);
    view.strip().removeButton()->click();
    EXPECT_EQ(removed.size(), 1u);
    fake.queue.advance(2);
    view.strip().removeButton()->click(); // the second press within 3 s removes
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed.back().size(), 2);
    EXPECT_TRUE(view.confirmCaption().isHidden());

    // New items cancel a waiting question.
    view.removeSelectionRequested();
    view.update({itemOf({"/c", "/d"})});
    EXPECT_FALSE(view.pendingRemoval);
    EXPECT_TRUE(view.confirmCaption().isHidden());
}

TEST_F(ShelfPanelActions, CopyAndCutPutTheFilesOnTheClipboardWithTheirMarks)
{
    std::vector<std::pair<QSet<QUuid>, int>> staged;
    view.onCutStaged = [&](const QSet<QUuid>& ids, int count) { staged.emplace_back(ids, count); };
    auto& board = fake.pasteboardImpl;
    const QString a = QUrl::fromLocalFile("/a.txt").toString(), b = QUrl::fromLocalFile("/b.txt").toString();

    view.copyToPasteboard(true);
    ASSERT_EQ(staged.size(), 1u);
    EXPECT_EQ(staged.back().first.size(), 2);
    EXPECT_EQ(staged.back().second, board.count);
    EXPECT_EQ(view.cells().cutIDs.size(), 2);
    const std::vector<platform::PasteboardItem> cut{{"text/uri-list", a + "\r\n" + b + "\r\n"},
                                                    {"x-special/gnome-copied-files", "cut\n" + a + "\n" + b},
                                                    {"application/x-kde-cutselection", "1"}};
    EXPECT_EQ(board.others, cut);

    // A plain copy of one selected card clears the cut marks.
    view.cells().selection = {view.cells().items()[1].id};
    view.strip().copyButton()->click();
    ASSERT_EQ(staged.size(), 2u);
    EXPECT_TRUE(staged.back().first.isEmpty());
    EXPECT_TRUE(view.cells().cutIDs.isEmpty());
    ASSERT_EQ(board.others.size(), 2u);
    EXPECT_EQ(board.others[1].value, "copy\n" + b);

    // Nothing to copy: no write.
    view.update({});
    const int writes = board.writes;
    view.copyToPasteboard(false);
    EXPECT_EQ(board.writes, writes);
}

TEST_F(ShelfPanelActions, LeavingDropsTheQuestionAndIsReportedUnlessSomethingHoldsThePointer)
{
    int entered = 0, exited = 0;
    view.onMouseEntered = [&] { ++entered; };
    view.onMouseExited = [&] { ++exited; };
    view.pointerEntered();
    EXPECT_EQ(entered, 1);
    view.removeSelectionRequested();
    ASSERT_TRUE(view.pendingRemoval);
    view.pointerExited();
    EXPECT_FALSE(view.pendingRemoval);
    EXPECT_EQ(exited, 1);
    view.dropSessionActive = true;
    view.pointerExited();
    view.dropSessionActive = false;
    view.cells().isMenuOpen = true;
    view.pointerExited();
    view.cells().isMenuOpen = false;
    view.cells().isDraggingOut = true;
    view.pointerExited();
    view.cells().isDraggingOut = false;
    EXPECT_EQ(exited, 1);
}


TEST_F(ShelfPanelActions, WithNothingToActOnNothingHappens)
{
    view.update({});
    int removals = 0, staged = 0, conversions = 0;
    std::vector<QList<QUrl>> sent;
    view.onRemove = [&](const QSet<QUuid>&) { ++removals; };
    view.onCutStaged = [&](const QSet<QUuid>&, int) { ++staged; };
    view.onConvert = [&](const QList<QUrl>&, ShelfConvert::Format) { ++conversions; };
    view.onAirDrop = [&](const QList<QUrl>& urls) { sent.push_back(urls); };
    view.copyToPasteboard(false);
    view.copyToPasteboard(true);
    view.toggleQuickLook();
    view.removeSelectionRequested();
    view.strip().onZip();
    view.strip().onAirDrop();
    EXPECT_TRUE(fake.pasteboardImpl.fileWrites.empty());
    EXPECT_TRUE(fake.filePreviewImpl.shown.empty());
    EXPECT_EQ(removals + staged + conversions, 0);
    // The send button still tells the controller, with no files.
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].isEmpty());
}

TEST_F(ShelfPanelActions, PreviewShowsTheTargetsFilesThatAreLeftAndASecondPressCloses)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.png"), b = dir.filePath("b.txt"), gone = dir.filePath("gone.txt");
    for (const QString& path : {a, b}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    view.update({itemOf({a}), itemOf({gone, b})});
    auto& preview = fake.filePreviewImpl;

    view.toggleQuickLook(); // no selection: every card
    EXPECT_EQ(view.cells().selection.size(), 2);
    ASSERT_EQ(preview.shown.size(), 1u);
    EXPECT_EQ(preview.shown[0], (QStringList{a, b}));
    EXPECT_EQ(view.quickLookURLs.size(), 3);
    EXPECT_TRUE(fake.log.contains(gone));

    view.cells().selection = {view.cells().items()[0].id};
    view.toggleQuickLook(); // open: closes, whatever the selection
    EXPECT_FALSE(preview.visible);
    EXPECT_EQ(preview.shown.size(), 1u);
    view.toggleQuickLook();
    ASSERT_EQ(preview.shown.size(), 2u);
    EXPECT_EQ(preview.shown[1], QStringList{a});

    // Only vanished files: no window.
    preview.hide();
    view.update({itemOf({gone})});
    view.toggleQuickLook();
    EXPECT_EQ(preview.shown.size(), 2u);
    EXPECT_FALSE(preview.visible);
}

TEST_F(ShelfPanelActions, TheChildrenReachThePanelsActionsAndCallbacks)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.txt"), b = dir.filePath("b.txt"), gone = dir.filePath("gone.txt");
    for (const QString& path : {a, b}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QList<ShelfItem> items{itemOf({a, gone}), itemOf({b})};
    view.update(items);
    std::vector<QString> calls;
    view.onConvert = [&](const QList<QUrl>& urls, ShelfConvert::Format f) {
        calls.push_back("convert " + ShelfConvert::rawValue(f) + " " + QString::number(urls.size()));
    };
    view.onDragOutAccepted = [&](const QSet<QUuid>& ids) { calls.push_back("accepted " + QString::number(ids.size())); };
    view.onAirDrop = [&](const QList<QUrl>& urls) { calls.push_back("send " + QString::number(urls.size())); };

    // A double click opens the card's files that are left, with their applications.
    auto& cells = view.cells();
    cells.press(CardGeometry::card(0).center(), {}, 2);
    cells.release({}, 2);
    ASSERT_EQ(fake.workspaceImpl.opened.size(), 1u);
    EXPECT_EQ(fake.workspaceImpl.opened[0], QStringList{a});
    EXPECT_TRUE(fake.log.contains(gone));

    cells.onConvert(items[1].urls, ShelfConvert::Format::Png);
    cells.onDragOutAccepted({items[0].id});
    cells.selection.clear();
    view.strip().onZip(); // every card's files
    view.strip().onAirDrop();
    EXPECT_EQ(calls, (std::vector<QString>{"convert PNG 1", "accepted 1", "convert ZIP 3", "send 3"}));

    // The strip's Remove asks first for three files; the cards' cross goes at once for one.
    QSet<QUuid> removed;
    view.onRemove = [&](const QSet<QUuid>& ids) { removed = ids; };
    view.strip().onRemove();
    EXPECT_TRUE(view.pendingRemoval);
    cells.onRemoveConfirmed({items[1].id});
    EXPECT_EQ(removed, QSet<QUuid>{items[1].id});
    EXPECT_FALSE(view.pendingRemoval);
}

// The pointer at a point of the view, as the platform reports it (y up).
void pointAt(fakes::FakePlatform& fake, const QWidget& widget, const QPointF& local)
{
    const QPointF native = widget.mapToGlobal(local);
    fake.pointerImpl.position =
        platform::ScreenSpace::cocoaFromNative(native, QRectF(QGuiApplication::primaryScreen()->geometry()));
}

TEST_F(ShelfPanelActions, TheCursorIsSetOnANewViewOnACrossOrAfterFiftyMilliseconds)
{
    view.show();
    auto& cells = view.cells();
    const QPointF cardCentre = CardGeometry::card(0).center();
    pointAt(fake, cells, cardCentre);
    auto& clock = fake.queue;

    view.applyPointerFeedback(&cells);
    EXPECT_EQ(view.lastCursorHit, &cells);
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, clock.uptime());
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(cells.hoveredItemID, cells.items()[0].id);
    const double first = clock.uptime();
    clock.advance(0.03);
    view.applyPointerFeedback(&cells); // same view, too soon
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, first);
    clock.advance(0.03);
    view.applyPointerFeedback(&cells); // the time is up
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, clock.uptime());

    // Over the hovered card's cross: the pointing hand, at once and every time.
    pointAt(fake, cells, CardGeometry::removeCross(CardGeometry::card(0)).center());
    clock.advance(0.01);
    view.applyPointerFeedback(&cells);
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, clock.uptime());
    clock.advance(0.01);
    view.applyPointerFeedback(&cells);
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, clock.uptime());

    // A strip button: hovered and the pointing hand; off the cards the hover goes.
    HoverButton* copy = view.strip().copyButton();
    clock.advance(0.01);
    view.applyPointerFeedback(copy);
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(cells.hoveredItemID);
    EXPECT_EQ(view.lastCursorHit, copy);

    // Nothing under the pointer: set once, then throttled.
    clock.advance(0.01);
    view.applyPointerFeedback(nullptr);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    const double cleared = clock.uptime();
    clock.advance(0.01);
    view.applyPointerFeedback(nullptr);
    EXPECT_DOUBLE_EQ(view.lastCursorAssert, cleared);

    // Leaving forgets the last view.
    view.applyPointerFeedback(&cells);
    view.pointerExited();
    EXPECT_FALSE(view.lastCursorHit);
}

TEST_F(ShelfPanelActions, AHeldBackExitIsReportedOnTheNextTurnWhenThePointerIsOutside)
{
    view.show();
    int exited = 0;
    view.onMouseExited = [&] { ++exited; };
    auto& cells = view.cells();

    // The menu held the pointer; it closes with the pointer outside.
    cells.isMenuOpen = true;
    view.pointerExited();
    EXPECT_EQ(exited, 0);
    pointAt(fake, view, QPointF(-50, 200));
    cells.menuDidClose();
    EXPECT_EQ(exited, 0); // not before the next turn
    fake.queue.drain();
    EXPECT_EQ(exited, 1);

    // A rubber band that ends inside the panel reports nothing.
    pointAt(fake, view, QPointF(200, 60));
    cells.press(QPointF(5, 90), {}, 1);
    cells.dragTo(QPointF(60, 50));
    view.pointerExited();
    cells.release({}, 1);
    fake.queue.drain();
    EXPECT_EQ(exited, 1);

    // The panel gone before the turn comes: nothing.
    {
        ShelfView other({itemOf({"/c.txt"})}, QSizeF(400, 120), 120, 24);
        other.show();
        other.onMouseExited = [&] { ++exited; };
        pointAt(fake, other, QPointF(-50, 200));
        other.cells().menuDidClose();
    }
    fake.queue.drain();
    EXPECT_EQ(exited, 1);
}

} // namespace
