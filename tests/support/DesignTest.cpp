#include "support/BatteryIcon.h"
#include "support/DS.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(DS, TypeColorGroupsExtensionsCaseInsensitively)
{
    const struct {
        const char* extension;
        QColor expected;
    } cases[] = {
        {"HEIC", DS::typeTeal()}, {"jpg", DS::typeTeal()}, {"JPG", DS::typeTeal()}, {"svg", DS::typeTeal()},
        {"Pages", DS::warning()}, {"pdf", DS::warning()},  {"7z", DS::caution()},   {"gz", DS::caution()},
        {"txt", DS::typeGray()},  {"", DS::typeGray()},    {"tif", DS::typeGray()}, {"zipx", DS::typeGray()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DS::typeColor(QString::fromUtf8(c.extension)), c.expected) << c.extension;
}

TEST(DS, FeatureTintsCoverEveryPaneTitle)
{
    const auto& tints = DS::featureTints();
    EXPECT_EQ(tints.size(), 17);
    const struct {
        const char* title;
        QRgb rgb;
    } cases[] = {
        {"Getting Started", 0x34C759}, {"Breaks", 0x34C759}, {"Notch", 0x1C1C1E},
        {"Auto-Quit", 0xFF6482},       {"Color", 0xFF375F},  {"OCR", 0x64D2FF},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(tints.contains(QString::fromUtf8(c.title))) << c.title;
        EXPECT_EQ(tints.value(QString::fromUtf8(c.title)), QColor::fromRgb(c.rgb)) << c.title;
    }
    EXPECT_FALSE(tints.contains(QStringLiteral("ColorPicker")));
}

TEST(DS, FontsAreSizedInPixels)
{
    // Point sizes would come out a third larger at 96 dpi and break the bar's rows.
    EXPECT_EQ(DS::captionFont().pixelSize(), 11);
    EXPECT_EQ(DS::valueFont().pixelSize(), 14);
    EXPECT_EQ(DS::valueFont().weight(), QFont::DemiBold);
    EXPECT_EQ(DS::badgeFont().pixelSize(), 8);
    EXPECT_EQ(DS::keycapFont().pixelSize(), 11);
    EXPECT_EQ(DS::keycapFont().weight(), QFont::DemiBold);
}

TEST(DS, AccentSoftIsTheAccentFaded)
{
    EXPECT_EQ(DS::accentSoft().rgb(), DS::accent().rgb());
    EXPECT_NEAR(DS::accentSoft().alphaF(), 0.16, 0.01);
}

// The glyph rendered four times its size; samples are taken in the glyph's
// own y-up points.
class BatteryGlyph {
public:
    static constexpr int scale = 4;
    BatteryGlyph(int percent, bool charging)
        : m_image(BatteryIcon::image(percent, charging).pixmap(QSize(28 * scale, 14 * scale), 1.0).toImage())
    {
    }
    QColor at(double x, double y) const { return m_image.pixelColor(int(x * scale), int((14 - y) * scale)); }
    QSize size() const { return m_image.size(); }

private:
    QImage m_image;
};

bool sameRgb(const QColor& a, const QColor& b) { return a.alpha() == 255 && a.rgb() == b.rgb(); }

TEST(BatteryIcon, DrawsLevelAndColourForEachState)
{
    const QColor white(Qt::white);
    const struct {
        int percent;
        bool charging;
        QColor color;
        double barEnd; // the level bar's right edge, in points
    } cases[] = {
        // A bar is 19 points at 100 %, and never narrower than 3.
        {50, false, white, 12.5},          {30, false, white, 8.7},        {11, false, white, 6.0},
        {10, false, DS::warning(), 6.0},   {0, false, DS::warning(), 6.0}, {-20, false, DS::warning(), 6.0},
        {100, false, white, 22.0},         {150, false, white, 22.0},      {5, true, DS::charging(), 6.0},
        {100, true, DS::charging(), 22.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << "% charging " << c.charging);
        const BatteryGlyph glyph(c.percent, c.charging);
        ASSERT_EQ(glyph.size(), QSize(112, 56));
        EXPECT_TRUE(sameRgb(glyph.at(0.7, 7), c.color)) << "body outline";
        EXPECT_TRUE(sameRgb(glyph.at(27.2, 7), c.color)) << "terminal";
        EXPECT_TRUE(sameRgb(glyph.at(3.5, 5), c.color)) << "bar start";
        EXPECT_TRUE(sameRgb(glyph.at(c.barEnd - 0.4, 5), c.color)) << "bar end";
        EXPECT_EQ(glyph.at(c.barEnd + 0.4, 5).alpha(), 0) << "past the bar";
    }
}

TEST(BatteryIcon, ChargingBoltIsBlackOverTheBar)
{
    EXPECT_TRUE(sameRgb(BatteryGlyph(100, true).at(12.5, 7.3), Qt::black));
    EXPECT_TRUE(sameRgb(BatteryGlyph(100, false).at(12.5, 7.3), Qt::white));
}

TEST(BatteryIcon, KeepsItsAspectAtAnySize)
{
    const QIcon icon = BatteryIcon::image(50, false);
    EXPECT_FALSE(icon.isMask());
    EXPECT_EQ(icon.actualSize(QSize(100, 100)), QSize(100, 50));
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(28, 14)});
}

} // namespace
