#include "app/SettingsPane.h"
#include "common/Desktop.h"
#include "common/QuillonRun.h"

#include <QColor>
#include <QCryptographicHash>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Whether a colour near `tint` shows right of the sidebar: the header's tile.
bool showsTint(const QImage& image, const QColor& tint)
{
    for (int y = 0; y < std::min(image.height(), 160); ++y) {
        for (int x = image.width() / 4; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - tint.red()) + std::abs(pixel.green() - tint.green()) +
                    std::abs(pixel.blue() - tint.blue()) <
                12)
                return true;
        }
    }
    return false;
}

TEST(SettingsPng, WritesEveryPaneWithItsHeader)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    quillon::testing::QuillonRun quillon(home, false);
    const QString out = home.path() + "/png";
    ASSERT_TRUE(quillon.start({"--settings-png", out}));
    ASSERT_TRUE(quillon.process.waitForFinished(60000));
    EXPECT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();

    QSet<QByteArray> hashes;
    for (const SettingsPane pane : SettingsPane::allCases()) {
        SCOPED_TRACE(pane.rawValue().toStdString());
        QFile file(out + "/" + pane.rawValue() + ".png");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        hashes.insert(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
        const QImage image = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 20) << "a blank image";
        const auto& features = SettingsPane::features();
        if (std::find(features.begin(), features.end(), pane) != features.end() &&
            pane != SettingsPane::notch) {
            EXPECT_TRUE(showsTint(image, pane.tint())) << "no tinted tile";
        }
    }
    EXPECT_EQ(hashes.size(), SettingsPane::allCases().size()) << "two panes look the same";
}

} // namespace
