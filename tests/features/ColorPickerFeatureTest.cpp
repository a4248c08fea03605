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

#include "fakes/FakePlatform.h"
#include "input/HotKeyWatcher.h"

namespace quillon {
namespace {

class ColorPickerFlow : public ::testing::Test {
protected:
    fakes::FakePlatform platform;
    HotKeyWatcher hotKeys;
    ColorPickerFeature feature{hotKeys};

    int onlyKeyRef() const { return platform.hotKeysImpl.registered.begin()->first; }
};

TEST_F(ColorPickerFlow, ActivateAndDeactivateTwiceHoldOneHotKeyAtMost)
{
    feature.activate();
    feature.activate();
    ASSERT_EQ(platform.hotKeysImpl.registered.size(), 1u);
    const auto key = platform.hotKeysImpl.registered.begin()->second;
    EXPECT_EQ(key.keyCode, 8u);
    EXPECT_EQ(key.modifiers, 6656u);
    EXPECT_TRUE(feature.isActive());
    feature.deactivate();
    feature.deactivate();
    EXPECT_TRUE(platform.hotKeysImpl.registered.empty());
    EXPECT_FALSE(feature.isActive());
    // Switched on again, the key comes back.
    feature.activate();
    EXPECT_EQ(platform.hotKeysImpl.registered.size(), 1u);
}

TEST_F(ColorPickerFlow, ARefusedKeyLeavesTheFeatureOnWithoutIt)
{
    platform.hotKeysImpl.refused.insert({8u, 6656u});
    feature.activate();
    EXPECT_TRUE(feature.isActive());
    EXPECT_FALSE(feature.hotKeyId());
    feature.deactivate();
    EXPECT_FALSE(feature.isActive());
}

TEST_F(ColorPickerFlow, APickGoesToTheClipboardAsHexAndIsReported)
{
    std::vector<QString> reported;
    feature.onColor = [&](const QString& hex, const QColor&) { reported.push_back(hex); };
    feature.activate();
    platform.hotKeysImpl.fire(onlyKeyRef());
    ASSERT_TRUE(platform.colorSamplerImpl.isOpen());
    platform.colorSamplerImpl.pick(QColor(0x1E, 0x90, 0xFF));
    EXPECT_EQ(platform.pasteboardImpl.string(QStringLiteral("public.utf8-plain-text")).value_or(QString()),
              QStringLiteral("#1E90FF"));
    EXPECT_EQ(reported, std::vector<QString>{QStringLiteral("#1E90FF")});
}

TEST_F(ColorPickerFlow, CancelOrInactiveLeavesTheClipboardAlone)
{
    int reported = 0;
    feature.onColor = [&](const QString&, const QColor&) { ++reported; };
    platform.pasteboardImpl.writeString(QStringLiteral("before"));
    feature.activate();
    feature.trigger();
    platform.colorSamplerImpl.cancel();
    feature.deactivate();
    feature.trigger();
    EXPECT_EQ(platform.colorSamplerImpl.opened, 1);
    EXPECT_EQ(platform.pasteboardImpl.string(QStringLiteral("public.utf8-plain-text")).value_or(QString()),
              QStringLiteral("before"));
    EXPECT_EQ(reported, 0);
}

} // namespace
} // namespace quillon
