#include "shelf/ShelfLayout.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::ShelfLayout;

namespace {

// A panel 400 × 120 under a notch 24 tall: the body is 96 tall.
Input panel(bool caption)
{
    Input input;
    input.size = QSizeF(400, 120);
    input.notchHeight = 24;
    input.captionVisible = caption;
    input.captionSize = QSizeF(200, 14);
    return input;
}

TEST(ShelfLayout, TheZoneRowHangsSevenBelowTheContentTopWithOrWithoutTheCaption)
{
    for (const bool caption : {false, true}) {
        const Frames frames = layout(panel(caption));
        const double contentTop = 120 - 24; // the body's top, whatever the caption takes below
        EXPECT_DOUBLE_EQ(frames.zone.bottom(), contentTop - 7) << caption; // bottom() is the larger y
        EXPECT_DOUBLE_EQ(frames.convertZone.bottom(), contentTop - 7) << caption;
        EXPECT_DOUBLE_EQ(frames.dropPlate.top(), contentTop - 7 - 76) << caption;
        EXPECT_DOUBLE_EQ(frames.scroll.top(), caption ? 20 : 0);
        EXPECT_DOUBLE_EQ(frames.scroll.height(), caption ? 76 : 96);
    }
    const Frames withCaption = layout(panel(true));
    EXPECT_EQ(withCaption.confirmCaption, QRectF(100, 3, 200, 14));
    EXPECT_EQ(withCaption.body, QRectF(0, 0, 400, 96));
    EXPECT_EQ(withCaption.columnAccept, QRectF(0, 96, 400, 24));
}

TEST(ShelfLayout, TheCardsAreAsWideAsTheirCardsOrTheVisibleWidth)
{
    struct Row {
        int cards;
        double width;
    };
    for (const Row row : {Row{0, 0}, Row{1, 94}, Row{6, 62 * 6 + 16 + 5 * 18 + 16}})
        EXPECT_DOUBLE_EQ(cardsWidth(row.cards), row.width) << row.cards;
    Input input = panel(false);
    input.cardCount = 0;
    EXPECT_DOUBLE_EQ(layout(input).cells.width(), 400 - 44); // no cards: exactly the scroll's width
    input.cardCount = 6;
    EXPECT_DOUBLE_EQ(layout(input).cells.width(), 494);
}

TEST(ShelfLayout, FacesGiveTheirAlphasAndRightSideWidths)
{
    struct Row {
        const char* name;
        SideState state;
        Face face;
        double right;
    };
    const auto state = [](bool drag, bool pending, bool options, bool share, bool left = false) {
        SideState s;
        s.externalDragActive = drag;
        s.pendingConvert = pending;
        s.hasDragOptions = options;
        s.shareAvailable = share;
        s.stripHasLeftColumn = left;
        return s;
    };
    const Row rows[] = {
        {"rest", state(false, false, false, true), {false, false, 1, 1, 0, 0}, 44},
        {"rest with zip", state(false, false, false, true, true), {false, false, 1, 1, 0, 0}, 76},
        {"pending", state(false, true, false, true), {false, true, 0, 1, 0, 1}, 0.46 * 400},
        {"drag", state(true, false, false, true), {true, false, 0, 0, 1, 0}, 0.3 * 400},
        {"drag with formats", state(true, false, true, true), {true, true, 0, 0, 1, 1}, 0.52 * 400},
        {"drag while pending", state(true, true, true, true), {true, true, 0, 0, 1, 1}, 0.76 * 400},
        {"drag, no share", state(true, false, false, false), {true, false, 0, 0, 0, 0}, 0},
        {"drag with formats, no share",
         state(true, false, true, false),
         {true, true, 0, 0, 0, 1},
         0.22 * 400},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(faceOf(row.state), row.face) << row.name;
        EXPECT_DOUBLE_EQ(rightSideWidth(400, row.state), row.right) << row.name;
    }
    // A drag-out counts as a drag; formats need conversions switched on.
    SideState dragOut = state(false, false, true, true);
    dragOut.draggingOut = true;
    dragOut.convertEnabled = false;
    EXPECT_EQ(faceOf(dragOut), (Face{true, false, 0, 0, 1, 0}));
}

TEST(ShelfLayout, WithoutAShareServiceTheConvertZoneAndPlateTakeTheSendZonesRoom)
{
    Input input = panel(false);
    input.side.externalDragActive = true;
    input.side.hasDragOptions = true;
    input.convertVisible = true;
    input.side.shareAvailable = false;
    const Frames frames = layout(input);
    EXPECT_DOUBLE_EQ(frames.zone.width(), 0);
    EXPECT_DOUBLE_EQ(frames.convertZone.right(), 400 - 8 - 8);
    EXPECT_DOUBLE_EQ(frames.dropPlate.width(), frames.convertZone.left() - 16);
    input.side.shareAvailable = true;
    EXPECT_DOUBLE_EQ(layout(input).convertZone.right(), 400 - 8 - 120 - 8);
}

TEST(ShelfLayout, ShelfFrameClampsItemsAndPicksTheStripTerm)
{
    const QRectF notch(900, 1056, 120, 24); // y up: its top edge is at 1080
    const auto width = [&](int items, int files) { return shelfFrame(notch, 0, items, files).width(); };
    EXPECT_DOUBLE_EQ(width(7, 7), width(6, 6));
    const QRectF narrow(940, 1056, 40, 24);
    EXPECT_DOUBLE_EQ(shelfFrame(narrow, 0, 1, 1).width(), 62 + 32 + 44);
    EXPECT_DOUBLE_EQ(shelfFrame(narrow, 0, 1, 2).width(), 62 + 32 + 76);
    EXPECT_DOUBLE_EQ(width(1, 1), 120 + 68);
    EXPECT_DOUBLE_EQ(width(0, 0), width(1, 1));
    const QRectF frame = shelfFrame(notch, 20, 3, 3);
    EXPECT_DOUBLE_EQ(frame.bottom(), 1080);
    EXPECT_DOUBLE_EQ(frame.height(), 24 + 96 + 20);
    EXPECT_DOUBLE_EQ(frame.center().x(), 960);
    // A bridge frame reaching 300 right of the centre widens the panel both ways.
    EXPECT_DOUBLE_EQ(shelfFrame(notch, 0, 1, 1, QRectF(800, 0, 460, 10)).width(), 2 * (20 + 300));
    EXPECT_DOUBLE_EQ(shelfFrame(notch, 0, 1, 1, QRectF(800, 0, 0, 10)).width(), 188);
}

TEST(CellsView, CardGeometryFollowsTheCellPitch)
{
    EXPECT_EQ(CardGeometry::cell(2), QRectF(176, 7, 62, 76));
    EXPECT_EQ(CardGeometry::card(2), QRectF(185, 7, 44, 54));
    EXPECT_EQ(CardGeometry::label(2), QRectF(176, 69, 62, 14));
    EXPECT_EQ(CardGeometry::removeCross(CardGeometry::card(0)), QRectF(25 + 44 - 10, 1, 16, 16));
    EXPECT_EQ(CardGeometry::bubble(CardGeometry::card(0)), QRectF(25 + 44 - 14, 0, 21, 21));
    EXPECT_EQ(CardGeometry::highlight(0), QRectF(15, 5, 64, 80));
    // The hit area reaches 12 further up, and is clipped to the view.
    EXPECT_EQ(CardGeometry::hit(0, QRectF(0, 0, 500, 96)), QRectF(12, 0, 70, 85));
}

} // namespace
