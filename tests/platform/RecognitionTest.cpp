#include "fakes/FakePlatform.h"
#include "platform/linux/TesseractTextRecognizer.h"
#include "platform/linux/ZbarBarcodeReader.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>

using namespace quillon::platform;
using namespace quillon::platform::linux_;

namespace {

QImage fixture(const char* name)
{
    QImage image(QStringLiteral(QUILLON_SOURCE_DIR "/tests/fixtures/") + QLatin1String(name));
    EXPECT_FALSE(image.isNull()) << name;
    return image;
}

// White page with `lines` of dark text, each `pixelSize` tall.
QImage textImage(const QStringList& lines, int pixelSize, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QPoint(20, 20 + pixelSize + i * pixelSize * 2), lines[i]);
    return image;
}

TEST(TextRecognizer, LargeTextIsReadBackLineByLineTopFirst)
{
    TesseractTextRecognizer recognizer;
    const auto lines = recognizer.recognize(textImage(
        {QStringLiteral("Quillon reads text"), QStringLiteral("Second line here")}, 28, QSize(600, 200)));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, QStringLiteral("Quillon reads text"));
    EXPECT_EQ(lines[1].text, QStringLiteral("Second line here"));
    // Normalised, origin at the bottom left: the first line sits higher.
    EXPECT_GT(lines[0].rect.center().y(), lines[1].rect.center().y());
    for (const auto& line : lines) {
        EXPECT_GE(line.rect.left(), 0.0);
        EXPECT_LE(line.rect.right(), 1.0);
        EXPECT_GT(line.rect.height(), 0.0);
    }
}

// A crop of a scale-2 screen is read as it is, not enlarged once more.
TEST(TextRecognizer, ACropOfAScaleTwoScreenIsReadToo)
{
    TesseractTextRecognizer recognizer;
    QImage crop = textImage({QStringLiteral("Retina sized text")}, 44, QSize(900, 140));
    crop.setDevicePixelRatio(2.0);
    const auto lines = recognizer.recognize(crop);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, QStringLiteral("Retina sized text"));
}

TEST(TextRecognizer, EmptyAndBlankImagesGiveNoLines)
{
    quillon::fakes::FakePlatform platform; // the failure is logged
    TesseractTextRecognizer recognizer;
    EXPECT_TRUE(recognizer.recognize(QImage()).empty());
    QImage blank(300, 100, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_TRUE(recognizer.recognize(blank).empty());
}

TEST(TextRecognizer, LanguagesLeaveOsdOutAndPutEnglishFirst)
{
    EXPECT_TRUE(TesseractTextRecognizer::languages(TesseractTextRecognizer::dataFolder())
                    .startsWith(QLatin1String("eng")));
    EXPECT_FALSE(TesseractTextRecognizer::languages(TesseractTextRecognizer::dataFolder())
                     .contains(QLatin1String("osd")));
    EXPECT_TRUE(TesseractTextRecognizer::languages(QStringLiteral("/nonexistent")).isEmpty());
}

TEST(BarcodeReader, AQrCodeBesideTextYieldsItsPayload)
{
    QImage page = textImage({QStringLiteral("Scan me please")}, 24, QSize(700, 320));
    QPainter(&page).drawImage(QPoint(380, 10), fixture("qr-quillon.png"));
    ZbarBarcodeReader reader;
    EXPECT_EQ(reader.read(page), std::vector<QString>{QStringLiteral("https://quillon.app/hello")});
}

TEST(BarcodeReader, TwoCodesYieldBothAndNoneYieldsNothing)
{
    QImage page(700, 320, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.drawImage(QPoint(10, 10), fixture("qr-quillon.png"));
        painter.drawImage(QPoint(380, 10), fixture("qr-second.png"));
    }
    ZbarBarcodeReader reader;
    auto payloads = reader.read(page);
    std::sort(payloads.begin(), payloads.end());
    EXPECT_EQ(payloads, (std::vector<QString>{QStringLiteral("SECOND-CODE-42"),
                                              QStringLiteral("https://quillon.app/hello")}));
    EXPECT_TRUE(reader.read(textImage({QStringLiteral("no code")}, 24, QSize(300, 100))).empty());
    EXPECT_TRUE(reader.read(QImage()).empty());
}

} // namespace
