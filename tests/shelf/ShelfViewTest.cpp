#include "shelf/ShelfView.h"
#include "ShelfWidgets.h"
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

using quillon::testing::itemOf;
using quillon::testing::ShelfWidgets;

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

} // namespace
