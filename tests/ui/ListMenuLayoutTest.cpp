#include "ui/ListMenuLayout.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(ListMenuLayout, PanelGeometry)
{
    struct Row {
        int visibleRows;
        int items;
        QSizeF panel;
        QRectF rows;
        QRectF footer;
        double container;
    };
    const Row table[] = {
        {5, 0, {340, 99}, {6, 29, 328, 34}, {6, 63, 328, 30}, 34},      // empty: one row high
        {5, 3, {340, 167}, {6, 29, 328, 102}, {6, 131, 328, 30}, 102},  // fewer than visible
        {5, 12, {340, 235}, {6, 29, 328, 170}, {6, 199, 328, 30}, 408}, // 12 items, 5 visible
        {6, 6, {340, 269}, {6, 29, 328, 204}, {6, 233, 328, 30}, 204},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.items);
        EXPECT_EQ(ListMenuLayout::panelSize(row.visibleRows, row.items), row.panel);
        EXPECT_EQ(ListMenuLayout::rowsFrame(row.visibleRows, row.items), row.rows);
        EXPECT_EQ(ListMenuLayout::footerFrame(row.visibleRows, row.items), row.footer);
        EXPECT_EQ(ListMenuLayout::containerHeight(row.visibleRows, row.items), row.container);
    }
    EXPECT_EQ(ListMenuLayout::headerFrame(), QRectF(16, 10, 308, 15));
    EXPECT_EQ(ListMenuLayout::rowFrame(7), QRectF(0, 238, 328, 34));
    EXPECT_EQ(ListMenuLayout::emptyLabelTop(5, 16), 9);
}

TEST(ListMenuLayout, RowTextWidths)
{
    struct Row {
        double fitted;
        bool detail;
        QRectF title;
        QRectF detailFrame;
    };
    const Row table[] = {
        {500, false, {37, 9, 254, 16}, {}},                 // whole width without detail
        {500, true, {37, 9, 127, 16}, {174, 9.5, 117, 15}}, // at most half with detail
        {40, true, {37, 9, 40, 16}, {87, 9.5, 204, 15}},    // fitted when short
    };
    for (const Row& row : table) {
        const auto text = ListMenuLayout::rowText(row.fitted, row.detail);
        EXPECT_EQ(text.title, row.title);
        EXPECT_EQ(text.detail, row.detailFrame);
    }
    EXPECT_EQ(ListMenuLayout::glyphFrame(), QRectF(302, 9, 16, 16));
    EXPECT_EQ(ListMenuLayout::digitFrame(), QRectF(10, 10, 16, 14));
}

TEST(ListMenuLayout, PlacementAtPointer)
{
    // y-up: the first screen 1440 × 900 at the origin, a second one to its right.
    const platform::Screen first = fakes::makeScreen({0, 0, 1440, 900});
    platform::Screen second = fakes::makeScreen({1440, 0, 1920, 1080}, 25, "second");
    second.visibleFrame = {1440, 40, 1920, 1015}; // a bottom panel and a top panel
    const std::vector<platform::Screen> screens{first, second};
    struct Row {
        const char* name;
        QPointF pointer;
        QSizeF size;
        std::vector<platform::Screen> screens;
        QRectF frame;
    };
    const QSizeF panel(340, 235);
    const Row table[] = {
        {"4 right and 4 below", {500, 600}, panel, screens, {504, 361, 340, 235}},
        {"second screen right edge", {3350, 700}, panel, screens, {3020, 461, 340, 235}},
        {"second screen bottom edge", {2000, 100}, panel, screens, {2004, 40, 340, 235}},
        {"larger than the visible frame", {2000, 500}, {2500, 1200}, screens, {860, -145, 2500, 1200}},
        {"no screen at all", {2000, -50}, panel, {}, {1130, 0, 340, 235}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ListMenuLayout::placement(row.pointer, row.size, row.screens, std::nullopt), row.frame);
    }
    // A pointer outside every screen uses the main screen's visible frame.
    EXPECT_EQ(ListMenuLayout::placement({-500, 2000}, panel, screens, second), QRectF(1440, 820, 340, 235));
}

TEST(ListMenuLayout, ScrollToShowMovesLeast)
{
    struct Row {
        int index;
        double offset;
        double result;
    };
    const Row table[] = {
        {0, 0, 0}, {4, 0, 0}, {5, 0, 34}, {11, 0, 238}, {2, 100, 68}, {4, 100, 100},
    };
    for (const Row& row : table)
        EXPECT_EQ(ListMenuLayout::scrollToShow(row.index, row.offset, 170), row.result) << row.index;
}

} // namespace
} // namespace quillon
