#include "support/Symbols.h"
#include "support/BatteryIcon.h"

#include "common/QtPrint.h"
#include <QImage>
#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Every symbol the bar, shelf, menus, panes and tour ask for by name.
const char* const kUsedNames[] = {
    "1.square",
    "2.square",
    "airdrop",
    "airpods",
    "airpods.pro",
    "archivebox",
    "arrow.2.squarepath",
    "arrow.counterclockwise",
    "arrow.down.doc",
    "arrow.left.to.line",
    "arrow.right.to.line",
    "arrow.uturn.backward",
    "backward.fill",
    "checkmark.circle.fill",
    "checkmark.seal.fill",
    "chevron.left.forwardslash.chevron.right",
    "circle.lefthalf.filled",
    "command",
    "computermouse",
    "cup.and.saucer.fill",
    "doc.fill",
    "doc.on.clipboard",
    "doc.on.doc",
    "doc.zipper",
    "envelope",
    "exclamationmark.triangle.fill",
    "eye",
    "eye.fill",
    "eyedropper.halffull",
    "forward.fill",
    "gearshape.fill",
    "headphones",
    "info",
    "keyboard",
    "link",
    "macwindow",
    "magicmouse",
    "moon.zzz.fill",
    "music.note",
    "photo",
    "pin",
    "pin.fill",
    "play.circle",
    "play.circle.fill",
    "playpause.fill",
    "plus",
    "rectangle.on.rectangle",
    "sparkles",
    "sparkles.rectangle.stack.fill",
    "square.and.arrow.up",
    "text.alignleft",
    "text.append",
    "text.viewfinder",
    "trash",
    "tray.and.arrow.down",
    "tray.fill",
    "tray.full",
    "xmark",
    "xmark.bin",
    "xmark.circle.fill",
};

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

TEST(Symbols, EveryUsedNameDrawsAVisibleTemplate)
{
    for (const char* name : kUsedNames) {
        SCOPED_TRACE(name);
        const auto icon = Symbols::image(QString::fromLatin1(name));
        ASSERT_TRUE(icon.has_value());
        EXPECT_TRUE(icon->isMask());
        EXPECT_EQ(icon->name(), QString::fromLatin1(name));
        const int ink = opaquePixels(Symbols::render(*icon, QSize(32, 32), Qt::black));
        EXPECT_GT(ink, 20);
        EXPECT_LT(ink, 32 * 32 * 3 / 4);
    }
    const QStringList names = Symbols::names();
    EXPECT_EQ(names.size(), qsizetype(std::size(kUsedNames)));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

TEST(Symbols, UnknownNamesGiveNone)
{
    for (const char* name : {"", "tray", "tray.fill.badge", "Tray.Fill", "applelogo"})
        EXPECT_FALSE(Symbols::image(QString::fromLatin1(name)).has_value()) << name;
}

TEST(Symbols, TintIsChosenWhenDrawnAndKnockoutsStayClear)
{
    const QIcon icon = *Symbols::image(QStringLiteral("xmark.circle.fill"));
    for (const QColor tint : {QColor(229, 72, 77), QColor(Qt::white), QColor(0, 0, 255, 128)}) {
        const QImage image =
            Symbols::render(icon, QSize(48, 48), tint).convertToFormat(QImage::Format_ARGB32);
        SCOPED_TRACE(tint.name(QColor::HexArgb).toStdString());
        const QColor body = image.pixelColor(12, 24); // inside the disc, left of the cross
        EXPECT_EQ(body.rgb(), tint.rgb());
        EXPECT_NEAR(body.alpha(), tint.alpha(), 2);
        EXPECT_EQ(image.pixelColor(24, 24).alpha(), 0) << "the cross is cut out of the disc";
        EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << "outside the disc";
    }
}

TEST(Symbols, PaintDrawsAtThePaintersResolution)
{
    QImage canvas(64, 64, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2.0);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        Symbols::paint(painter, *Symbols::image(QStringLiteral("plus")), QRectF(0, 0, 32, 32), Qt::green);
    }
    EXPECT_EQ(canvas.pixelColor(32, 32).rgb(), QColor(Qt::green).rgb());
    // The vertical bar runs from 4 to 20 of the glyph's 24 units (with its round caps): device
    // pixels 11 to 53.
    EXPECT_EQ(canvas.pixelColor(32, 16).rgb(), QColor(Qt::green).rgb());
    EXPECT_EQ(canvas.pixelColor(32, 6).alpha(), 0);
    EXPECT_EQ(canvas.pixelColor(8, 8).alpha(), 0);
}

TEST(Symbols, ImagesThatAreNotTemplatesKeepTheirColours)
{
    const QImage image = Symbols::render(BatteryIcon::image(100, false), QSize(56, 28), Qt::red);
    EXPECT_EQ(image.pixelColor(8, 14).rgb(), QColor(Qt::white).rgb());
}

} // namespace
