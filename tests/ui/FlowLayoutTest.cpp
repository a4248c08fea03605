#include "ui/controls/FlowLayout.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct FlowCase {
    const char* name;
    int width;
    std::vector<QSize> sizes;
    QSize size;
    std::vector<QPoint> positions;
};

TEST(FlowLayout, ArrangesAsATable)
{
    const FlowCase cases[] = {
        {"three fit on one line",
         300,
         {{60, 22}, {80, 22}, {50, 22}},
         {204, 22},
         {{0, 0}, {67, 0}, {154, 0}}},
        {"narrowed, the last wraps",
         160,
         {{60, 22}, {80, 22}, {50, 22}},
         {147, 51},
         {{0, 0}, {67, 0}, {0, 29}}},
        {"over-wide chip alone at x = 0",
         100,
         {{40, 22}, {150, 30}, {40, 22}},
         {150, 88},
         {{0, 0}, {0, 29}, {0, 66}}},
        {"tallest chip sets the line height", 300, {{40, 22}, {40, 30}}, {87, 30}, {{0, 0}, {47, 0}}},
        {"empty", 100, {}, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        const auto got = FlowLayout::arrange(c.width, c.sizes, 7);
        EXPECT_EQ(got.size, c.size) << c.name;
        EXPECT_EQ(got.positions, c.positions) << c.name;
    }
}

} // namespace
} // namespace quillon
