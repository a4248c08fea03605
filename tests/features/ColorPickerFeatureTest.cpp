#include "features/colorpicker/ColorPickerFeature.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct HexCase {
    const char* name;
    QColor color;
    std::optional<QString> hex;
};

TEST(ColorPickerFeature, HexOfColours)
{
    const HexCase cases[] = {
        {"pure red", QColor(255, 0, 0), QStringLiteral("#FF0000")},
        {"dodger blue", QColor(0x1E, 0x90, 0xFF), QStringLiteral("#1E90FF")},
        {"half rounds up", QColor::fromRgbF(0.5f, 0.5f, 0.5f), QStringLiteral("#808080")},
        {"above one clamps", QColor::fromRgbF(1.7f, 0.0f, 0.0f), QStringLiteral("#FF0000")},
        {"below zero clamps", QColor::fromRgbF(-0.4f, 1.0f, 0.0f), QStringLiteral("#00FF00")},
        {"alpha ignored", QColor(0x12, 0x34, 0x56, 10), QStringLiteral("#123456")},
        {"invalid", QColor(), std::nullopt},
    };
    for (const HexCase& c : cases)
        EXPECT_EQ(ColorPickerFeature::hex(c.color), c.hex) << c.name;
}

} // namespace
} // namespace quillon
