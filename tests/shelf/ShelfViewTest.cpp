#include "shelf/ShelfView.h"
#include "fakes/FakePlatform.h"
#include "shelf/ActionStrip.h"
#include "shelf/AirDropZoneView.h"
#include "shelf/CellsView.h"
#include "shelf/ConvertZoneView.h"
#include "shelf/DropPlateView.h"
#include "shelf/HoverButton.h"
#include "shelf/KeycapView.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ThumbnailCache.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

ShelfItem itemOf(const QStringList& paths)
{
    ShelfItem item;
    item.id = QUuid::createUuid();
    for (const QString& path : paths)
        item.urls.append(QUrl::fromLocalFile(path));
    return item;
}

class ShelfWidgets : public ::testing::Test {
protected:
    ShelfWidgets() { ThumbnailCache::shared().clear(); }
    ~ShelfWidgets() override { ThumbnailCache::shared().clear(); }

    QImage render(QWidget& widget)
    {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    fakes::FakePlatform fake;
    fakes::FakeThumbnails& thumbnails = fake.thumbnailsImpl;
};

using CellsViewTest = ShelfWidgets;

TEST_F(CellsViewTest, ItemAtReachesAboveTheCardForTheCrossAndStopsAtTheView)
{
    CellsView cells({itemOf({"/a.txt"}), itemOf({"/b.txt"})});
    cells.resize(300, 96);
    EXPECT_EQ(cells.item(QPointF(70, 1))->index, 0);   // above the card, in the cross's reach
    EXPECT_EQ(cells.item(QPointF(100, 40))->index, 1); // the second card
    EXPECT_FALSE(cells.item(QPointF(87, 40)));         // between the two hit areas
    EXPECT_FALSE(cells.item(QPointF(70, -1)));         // outside the view
    EXPECT_TRUE(cells.updateHover(QPointF(70, 2)));    // on the cross
    EXPECT_EQ(cells.hoveredItemID, cells.items()[0].id);
    EXPECT_FALSE(cells.updateHover(QPointF(40, 40)));
    EXPECT_FALSE(cells.updateHover(std::nullopt));
    EXPECT_FALSE(cells.hoveredItemID);
}

TEST_F(CellsViewTest, TheCacheEvictsTheEarliestAndKeepsAnEntrysPlace)
{
    auto& cache = ThumbnailCache::shared();
    const auto url = [](int i) { return QUrl::fromLocalFile(QString("/f%1.png").arg(i)); };
    QImage small(2, 2, QImage::Format_ARGB32);
    for (int i = 0; i < 256; ++i)
        cache.remember(small, url(i));
    cache.remember(small, url(0)); // again: keeps its first place
    cache.remember(small, url(256));
    EXPECT_EQ(cache.size(), 256);
    EXPECT_FALSE(cache.image(url(0)));
    EXPECT_TRUE(cache.image(url(1)));
    EXPECT_TRUE(cache.image(url(256)));
}

TEST_F(CellsViewTest, RequestsAreMadeOnceAndNeverAgainAfterAFailure)
{
    QImage red(88, 108, QImage::Format_ARGB32);
    red.fill(Qt::red);
    thumbnails.images.insert("/photo.png", red);
    const QUrl photo = QUrl::fromLocalFile("/photo.png"), text = QUrl::fromLocalFile("/notes.txt");
    {
        thumbnails.answerAtOnce = false;
        CellsView cells({});
        EXPECT_FALSE(cells.thumbnail(photo));
        EXPECT_FALSE(cells.thumbnail(photo));
        EXPECT_EQ(thumbnails.requested.size(), 1);
        EXPECT_EQ(thumbnails.sizes.front(), QSize(88, 108)); // no window: twice the card
        EXPECT_EQ(cells.requestsInFlight(), 1);
    } // the view went: its request is cancelled and a late answer finds nothing
    EXPECT_EQ(thumbnails.cancelled.size(), 1);
    thumbnails.answerAll();
    EXPECT_FALSE(ThumbnailCache::shared().image(photo));

    thumbnails.answerAtOnce = true;
    CellsView cells({});
    EXPECT_TRUE(cells.thumbnail(photo));
    EXPECT_FALSE(cells.thumbnail(text));
    EXPECT_FALSE(cells.thumbnail(text));
    EXPECT_TRUE(cells.failedThumbnails().contains(text));
    EXPECT_EQ(thumbnails.requested.count("/notes.txt"), 1);
    EXPECT_EQ(cells.requestsInFlight(), 0);
}

TEST_F(CellsViewTest, APulseEndsSixTenthsAfterTheLastOne)
{
    const ShelfItem item = itemOf({"/a.txt"});
    CellsView cells({item});
    cells.pulse({item.id});
    fake.queue.advance(0.4);
    cells.pulse({item.id});
    fake.queue.advance(0.4);
    EXPECT_TRUE(cells.pulsedIDs.contains(item.id));
    fake.queue.advance(0.25);
    EXPECT_TRUE(cells.pulsedIDs.isEmpty());
}

TEST_F(CellsViewTest, UpdateDropsAVanishedSelection)
{
    const ShelfItem a = itemOf({"/a"}), b = itemOf({"/b"});
    CellsView cells({a, b});
    cells.selection = {a.id, b.id};
    cells.update({b});
    EXPECT_EQ(cells.selection, QSet<QUuid>{b.id});
}

TEST_F(CellsViewTest, RendersTheBandTheBubbleAndACutCardFaded)
{
    const ShelfItem plain = itemOf({"/tmp/none/README"});
    const ShelfItem three = itemOf({"/x/1.txt", "/x/2.txt", "/x/3.txt"});
    CellsView cells({plain, three, plain});
    cells.cutIDs = {};
    cells.resize(300, 96);
    QImage image = render(cells);
    // The band of the card without extension is the grey type colour with white text.
    const QRectF band(CardGeometry::card(0).left(), CardGeometry::card(0).bottom() - 14, 44, 14);
    bool whiteText = false;
    for (int x = int(band.left()) + 4; x < band.right() - 4; ++x)
        whiteText |= qGray(image.pixel(x, int(band.center().y()))) > 230;
    EXPECT_TRUE(whiteText);
    // The bubble of the three-file card: accent at its rim, white digits inside.
    const QRectF bubble = CardGeometry::bubble(CardGeometry::card(1));
    const QColor rim = image.pixelColor(int(bubble.left() + 3), int(bubble.center().y()));
    EXPECT_GT(rim.blue(), rim.red());
    bool digit = false;
    for (int x = int(bubble.left() + 6); x < bubble.right() - 6; ++x)
        digit |= qGray(image.pixel(x, int(bubble.center().y()))) > 200;
    EXPECT_TRUE(digit);
    EXPECT_EQ(cells.items()[1].displayName(), "3 files");
    // A cut card is the same card at 45 %.
    const QPoint inside = CardGeometry::card(2).center().toPoint();
    const int opaqueAlpha = qAlpha(image.pixel(inside));
    cells.cutIDs = {plain.id};
    image = render(cells);
    EXPECT_NEAR(qAlpha(image.pixel(inside)), opaqueAlpha * 0.45, 3);
    EXPECT_NEAR(qAlpha(image.pixel(CardGeometry::card(0).center().toPoint())), opaqueAlpha * 0.45, 3);
}

using ActionStripTest = ShelfWidgets;

TEST_F(ActionStripTest, LaysOutItsColumns)
{
    struct Row {
        const char* name;
        bool zip, share;
        int right, left;
    };
    for (const Row row : {Row{"all four", true, true, 3, 1}, Row{"zip hidden", false, true, 3, 0},
                          Row{"no share", true, false, 2, 1}}) {
        ActionStrip strip;
        strip.resize(76, 96);
        strip.setZipAvailable(row.zip);
        strip.setShareAvailable(row.share);
        strip.layoutButtons();
        const auto right = strip.rightColumnButtons();
        ASSERT_EQ(right.size(), row.right) << row.name;
        ASSERT_EQ(strip.leftColumnButtons().size(), row.left) << row.name;
        const double span = 24.0 * row.right + 6 * (row.right - 1);
        EXPECT_EQ(right.front()->geometry().top(), int((96 - span) / 2)) << row.name;
        EXPECT_EQ(right.front()->geometry().left(), 76 - 34) << row.name;
        EXPECT_EQ(strip.keycap(strip.zipButton())->isHidden(), !row.zip) << row.name;
        if (row.zip && row.share) { // Zip sits level with Copy
            EXPECT_EQ(strip.zipButton()->geometry().top(), strip.copyButton()->geometry().top());
        }
        // The cap overlaps the button's corner, 5 beyond it.
        const QRect cap = strip.keycap(strip.copyButton())->geometry();
        EXPECT_EQ(cap.right() + 1, strip.copyButton()->geometry().right() + 1 + 5) << row.name;
        EXPECT_EQ(cap.top(), strip.copyButton()->geometry().top() - 5) << row.name;
    }
}

TEST_F(ActionStripTest, BackgroundsByState)
{
    ActionStrip strip;
    HoverButton& remove = *strip.removeButton();
    EXPECT_EQ(remove.background(false).alphaF(), QColor::fromRgbF(1, 1, 1, 0.12f).alphaF());
    EXPECT_NEAR(remove.background(true).alphaF(), 0.3, 0.01);
    strip.setHoveredButton(&remove);
    EXPECT_TRUE(remove.hovered);
    EXPECT_NEAR(remove.background(false).alphaF(), 0.3, 0.01); // the warning tint
    EXPECT_EQ(remove.background(false).rgb(), remove.hoverColor.rgb());
    strip.setRemoveArmed(true);
    EXPECT_NEAR(remove.background(false).alphaF(), 0.7, 0.01);
    EXPECT_NEAR(remove.background(true).alphaF(), 0.9, 0.01);
    strip.setHoveredButton(nullptr);
    EXPECT_FALSE(remove.hovered);
    EXPECT_NEAR(strip.copyButton()->background(false).alphaF(), 0.12, 0.01);
    EXPECT_EQ(strip.copyButton()->toolTip(), "Copy (C)");
    EXPECT_EQ(strip.airDropButton()->toolTip(), "Send to Device (S)");
}

TEST_F(ActionStripTest, TheCopyFlashRestartsAndRestoresTheNormalImage)
{
    ActionStrip strip;
    HoverButton& copy = *strip.copyButton();
    const QString normal = copy.icon().name();
    strip.flashCopyConfirm();
    EXPECT_NE(copy.icon().name(), normal);
    fake.queue.advance(0.7);
    strip.flashCopyConfirm();
    fake.queue.advance(0.7);
    EXPECT_NE(copy.icon().name(), normal);
    fake.queue.advance(0.4);
    EXPECT_EQ(copy.icon().name(), normal);
    EXPECT_EQ(copy.tint, QColor(Qt::white));
}

using DragZone = ShelfWidgets;

TEST_F(DragZone, AFlickerShorterThanFiftyMillisecondsNeverShows)
{
    AirDropZoneView zone;
    zone.resize(120, 76);
    zone.show();
    fake.queue.drain();
    QCoreApplication::processEvents();
    const int paints = zone.paintCount();
    zone.setHighlighted(true);
    fake.queue.advance(0.03);
    zone.setHighlighted(false);
    fake.queue.advance(0.1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(zone.highlighted());
    EXPECT_EQ(zone.paintCount(), paints);
    zone.setHighlighted(true);
    fake.queue.advance(0.06);
    EXPECT_TRUE(zone.highlighted());
}

TEST_F(DragZone, FormatsGiveButtonsAndTheCrossCancels)
{
    ConvertZoneView zone;
    zone.resize(180, 76);
    zone.setAlpha(1);
    std::vector<ShelfConvert::Format> chosen;
    int cancels = 0;
    zone.onFormat = [&](ShelfConvert::Format f) { chosen.push_back(f); };
    zone.onCancel = [&] { ++cancels; };
    zone.showFormats({ShelfConvert::Format::Pdf, ShelfConvert::Format::Zip});
    ASSERT_EQ(zone.buttons().size(), 3);
    EXPECT_EQ(zone.buttons()[0]->text(), "PDF");
    EXPECT_EQ(zone.buttons()[1]->text(), "ZIP");
    EXPECT_EQ(zone.buttons()[2]->text(), QString::fromUtf8("\u2715"));
    zone.buttons()[2]->click();
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(chosen.empty());
    zone.buttons()[1]->click();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen.front(), ShelfConvert::Format::Zip);
    // Faded out, the zone and its buttons let clicks through.
    zone.setAlpha(0);
    EXPECT_TRUE(zone.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(zone.buttons()[0]->testAttribute(Qt::WA_TransparentForMouseEvents));
    zone.reset();
    EXPECT_TRUE(zone.buttons().isEmpty());
}

class ShelfViewTest : public ShelfWidgets {
protected:
    ShelfView view{{itemOf({"/a.txt"}), itemOf({"/b.txt"})}, QSizeF(400, 120), 120, 24};
};

TEST_F(ShelfViewTest, OpeningDuringAClosingStartsFromTheShapeOnScreen)
{
    EXPECT_EQ(view.currentShape(), view.openShape());
    view.animateIn();
    EXPECT_EQ(view.currentShape(), view.notchShape()); // the first opening leaves the notch
    fake.queue.advance(2);
    EXPECT_EQ(view.currentShape(), view.openShape());
    EXPECT_DOUBLE_EQ(view.bodyAlpha(), 1);

    bool closed = false;
    view.animateOut([&] { closed = true; });
    fake.queue.advance(0.09);
    const NotchShape halfway = view.currentShape();
    EXPECT_LT(halfway.rect.width(), 400);
    EXPECT_GT(halfway.rect.width(), 120);
    view.animateIn();
    EXPECT_EQ(view.currentShape(), halfway);
    fake.queue.advance(2);
    EXPECT_FALSE(closed); // reopening dropped the closing's teardown
    EXPECT_EQ(view.currentShape(), view.openShape());

    view.animateOut([&] { closed = true; });
    fake.queue.advance(0.05);
    const NotchShape closing = view.currentShape();
    view.animateOut([&] { closed = true; });
    EXPECT_EQ(view.currentShape(), closing); // the second closing continues from here
    fake.queue.advance(0.3);
    EXPECT_TRUE(closed);
    EXPECT_EQ(view.currentShape(), view.notchShape());
    EXPECT_DOUBLE_EQ(view.bodyAlpha(), 0);
}

TEST_F(ShelfViewTest, SetSizeWithTheCurrentSizeLaysNothingOut)
{
    const int layouts = view.layoutCount();
    view.setSize(QSizeF(400, 120));
    EXPECT_EQ(view.layoutCount(), layouts);
    view.setSize(QSizeF(400, 140));
    EXPECT_EQ(view.layoutCount(), layouts + 1);
    EXPECT_EQ(view.currentShape(), view.openShape());
}

TEST_F(ShelfViewTest, ADragShowsTheZonesAndAPendingConversionKeepsItsWidth)
{
    view.setShareAvailable(true);
    view.pendingConvertURLs = QList<QUrl>{QUrl::fromLocalFile("/a.png")};
    view.externalDragActive = true;
    view.updateRightSide();
    const auto alphas = view.targetAlphas();
    EXPECT_EQ(alphas.strip, 0);
    EXPECT_EQ(alphas.scroll, 0);
    EXPECT_EQ(alphas.zone, 1);
    EXPECT_EQ(alphas.convert, 1);
    EXPECT_EQ(view.convertZone().width(), qRound(0.46 * 400));
    fake.queue.advance(0.2);
    view.externalDragActive = false;
    view.pendingConvertURLs.reset();
    view.updateRightSide();
    EXPECT_EQ(view.targetAlphas().strip, 1);
    // Two files in all make Zip available, counted by files.
    EXPECT_DOUBLE_EQ(view.rightSideWidth(), 76);
    view.update({itemOf({"/a"})});
    EXPECT_DOUBLE_EQ(view.rightSideWidth(), 44);
    view.update({itemOf({"/a", "/b"})});
    EXPECT_DOUBLE_EQ(view.rightSideWidth(), 76);
}

TEST_F(ShelfViewTest, BlackInsideTheOutlineAndClearOutside)
{
    view.animateIn();
    fake.queue.advance(2);
    const QImage image = render(view);
    EXPECT_EQ(image.pixelColor(200, 2), QColor(Qt::black)); // inside the notch row
    EXPECT_EQ(qAlpha(image.pixel(1, 119)), 0);              // the rounded bottom corner
    EXPECT_EQ(image.pixelColor(200, 116), QColor(Qt::black));
}

TEST_F(ShelfViewTest, RemovingTwoOrMoreFilesAsksOnceMoreUntilThreeSecondsPass)
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

TEST_F(ShelfViewTest, CopyAndCutPutTheFilesOnTheClipboardWithTheirMarks)
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

TEST_F(CellsViewTest, ClicksSelectWithCtrlTogglingAndShiftSpanningFromTheAnchor)
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

TEST_F(CellsViewTest, TheMarqueeSelectsExactlyTheCardsItTouches)
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

TEST_F(ShelfViewTest, DropsGoWhereTheHighlightShowed)
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

TEST_F(ShelfViewTest, LeavingDropsTheQuestionAndIsReportedUnlessSomethingHoldsThePointer)
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

} // namespace
