#include "features/ocr/OCRFeature.h"
#include "fakes/FakePlatform.h"
#include "features/ocr/OCRSelection.h"
#include "features/ocr/OCRSelectionOverlay.h"
#include "features/ocr/OCRSelectionView.h"
#include "features/ocr/OCRSelectionWindow.h"
#include "permissions/ScreenRecordingPermission.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::RecognisedLine;

// ---- selection geometry ----

TEST(OCRSelection, RectangleNeedsEightPointsEachWay)
{
    EXPECT_EQ(OCRSelection::rectangle({50, 60}, {10, 20}), QRectF(10, 20, 40, 40));
    EXPECT_EQ(OCRSelection::rectangle({0, 0}, {8, 8}), QRectF(0, 0, 8, 8));
    EXPECT_FALSE(OCRSelection::rectangle({0, 0}, {100, 5}));
    EXPECT_FALSE(OCRSelection::rectangle({0, 0}, {7.9, 100}));
    EXPECT_FALSE(OCRSelection::rectangle({30, 30}, {30, 30}));
}

TEST(OCRSelection, ViewRectanglesFlipIntoTheGlobalSpaceOfTheirScreen)
{
    // A 1440 × 900 screen at the origin and a second one at x 1440.
    EXPECT_EQ(OCRSelection::globalRect(QRectF(100, 200, 50, 30), QRectF(0, 0, 1440, 900)),
              QRectF(100, 670, 50, 30));
    EXPECT_EQ(OCRSelection::globalRect(QRectF(100, 200, 50, 30), QRectF(1440, 0, 1920, 1080)),
              QRectF(1540, 850, 50, 30));
}

TEST(OCRSelection, SizeLabelAndItsPlace)
{
    EXPECT_EQ(OCRSelection::sizeLabel(QRectF(0, 0, 120.9, 40.2)), QStringLiteral("120 \u00d7 40"));
    // 4 points under the selection...
    EXPECT_EQ(OCRSelection::labelRect(QRectF(10, 20, 100, 50), QSizeF(60, 14), 900), QRectF(10, 74, 60, 14));
    // ...held 2 points above the bottom edge, over the selection then.
    EXPECT_EQ(OCRSelection::labelRect(QRectF(10, 850, 100, 45), QSizeF(60, 14), 900),
              QRectF(10, 884, 60, 14));
}

// ---- reading order and result ----

RecognisedLine line(double x, double centreY, const char* text, double width = 0.2)
{
    return {QRectF(x, centreY - 0.01, width, 0.02), QString::fromUtf8(text)};
}

TEST(OCRFeature, ReadingOrder)
{
    struct Case {
        const char* name;
        std::vector<RecognisedLine> lines;
        const char* text;
    };
    const Case cases[] = {
        {"two columns give one line per band",
         {line(0.6, 0.8, "right top"), line(0.1, 0.8, "left top"), line(0.1, 0.4, "left low"),
          line(0.6, 0.4, "right low")},
         "left top right top\nleft low right low"},
        // Band 0.5 / 50 = 0.01: 0.709 rounds to band 35, 0.711 to band 36.
        {"either side of a band boundary gives two lines, higher first",
         {line(0.1, 0.709, "lower"), line(0.5, 0.711, "higher")},
         "higher\nlower"},
        {"equal left edges keep their order",
         {line(0.2, 0.5, "first"), line(0.2, 0.5, "second")},
         "first second"},
        {"empty texts are dropped", {line(0.1, 0.5, ""), line(0.3, 0.5, "kept"), line(0.1, 0.2, "")}, "kept"},
        {"nothing", {}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OCRFeature::readingOrder(c.lines), QString::fromUtf8(c.text)) << c.name;
}

TEST(OCRFeature, MergeResult)
{
    EXPECT_EQ(OCRFeature::mergeResult({}, QStringLiteral("text")), QStringLiteral("text"));
    EXPECT_EQ(OCRFeature::mergeResult({QStringLiteral("qr")}, QStringLiteral("text")), QStringLiteral("qr"));
    EXPECT_EQ(
        OCRFeature::mergeResult({QStringLiteral("a"), QString(), QStringLiteral("b")}, QStringLiteral("t")),
        QStringLiteral("a\nb"));
    EXPECT_EQ(OCRFeature::mergeResult({QString()}, QStringLiteral("text")), QStringLiteral("text"));
}

// ---- the crop ----

TEST(OCRFeature, CaptureRegionCropsInDevicePixels)
{
    struct Case {
        const char* name;
        QRectF frame;
        double scale;
        QRectF rect;
        std::optional<QRect> crop; // none: cropFailed
    };
    const Case cases[] = {
        {"scale 1", QRectF(0, 0, 1440, 900), 1.0, QRectF(100, 700, 200, 100), QRect(100, 100, 200, 100)},
        {"scale 2", QRectF(0, 0, 1440, 900), 2.0, QRectF(100, 700, 200, 100), QRect(200, 200, 400, 200)},
        {"outward to whole pixels", QRectF(0, 0, 1440, 900), 1.0, QRectF(10.5, 789.5, 20, 10),
         QRect(10, 100, 21, 11)},
        {"second screen at x 1440", QRectF(1440, 0, 1920, 1080), 1.0, QRectF(1540, 880, 100, 100),
         QRect(100, 100, 100, 100)},
        {"partly outside is clipped", QRectF(0, 0, 1440, 900), 1.0, QRectF(1400, 850, 100, 100),
         QRect(1400, 0, 40, 50)},
        {"wholly outside", QRectF(0, 0, 1440, 900), 1.0, QRectF(2000, 100, 100, 100), std::nullopt},
        {"zero size", QRectF(0, 0, 1440, 900), 1.0, QRectF(100, 100, 0, 50), std::nullopt},
    };
    for (const Case& c : cases) {
        platform::Screen screen = fakes::makeScreen(c.frame);
        screen.scale = c.scale;
        QImage frozen(int(c.frame.width() * c.scale), int(c.frame.height() * c.scale), QImage::Format_RGB32);
        // Each pixel's colour says where it was.
        for (int y = 0; y < frozen.height(); ++y)
            for (int x = 0; x < frozen.width(); ++x)
                frozen.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
        const auto result = OCRFeature::captureRegion(c.rect, screen, frozen);
        if (!c.crop) {
            ASSERT_TRUE(std::holds_alternative<OCRFeature::OCRError>(result)) << c.name;
            EXPECT_EQ(std::get<OCRFeature::OCRError>(result), OCRFeature::OCRError::cropFailed) << c.name;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<QImage>(result)) << c.name;
        const QImage& image = std::get<QImage>(result);
        EXPECT_EQ(image.size(), c.crop->size()) << c.name;
        EXPECT_EQ(image.pixel(0, 0), frozen.pixel(c.crop->topLeft())) << c.name;
        EXPECT_EQ(image.devicePixelRatio(), c.scale) << c.name;
    }
    const auto none =
        OCRFeature::captureRegion(QRectF(0, 0, 10, 10), fakes::makeScreen({0, 0, 100, 100}), QImage());
    EXPECT_EQ(std::get<OCRFeature::OCRError>(none), OCRFeature::OCRError::noDisplay);
}

// ---- the flow ----

class OCRFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.displaysImpl.screenList = {
            fakes::makeScreen({0, 0, 1440, 900}),
            fakes::makeScreen({1440, 0, 1280, 800}, 25, QStringLiteral("second"))};
        platform::RunningApp editor;
        editor.pid = 4242;
        editor.appId = QStringLiteral("editor");
        editor.active = true;
        platform.workspaceImpl.apps = {editor};
        feature.onText = [&](const QString& text) { texts.push_back(text); };
        feature.onEmpty = [&] { ++empties; };
        feature.onPermissionNeeded = [&] { ++permissionNeeded; };
        feature.onRelaunchNeeded = [&] { ++relaunchNeeded; };
        ScreenRecordingPermission::grantedAtLaunch = false;
    }
    void TearDown() override { ScreenRecordingPermission::grantedAtLaunch = false; }

    OCRSelectionView& view(size_t window) { return feature.overlay().windows()[window]->view(); }

    void drag(OCRSelectionView& v, QPointF from, QPointF to)
    {
        QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&v, &press);
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&v, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&v, &release);
    }

    fakes::FakePlatform platform;
    OCRFeature feature;
    std::vector<QString> texts;
    int empties = 0;
    int permissionNeeded = 0;
    int relaunchNeeded = 0;
};

TEST_F(OCRFlow, TriggerDecisions)
{
    struct Case {
        const char* name;
        bool active;
        bool canCapture;
        bool grantedAtLaunch;
        bool allowedNow;
        bool overlay;
        int permission;
        int relaunch;
    };
    const Case cases[] = {
        {"inactive", false, true, true, true, false, 0, 0},
        {"capture works", true, true, false, false, true, 0, 0},
        {"granted at launch", true, false, true, true, false, 0, 1},
        {"granted since launch", true, false, false, true, false, 0, 1},
        {"no access", true, false, false, false, false, 1, 0},
    };
    for (const Case& c : cases) {
        OCRFeature f;
        int permission = 0, relaunch = 0;
        f.onPermissionNeeded = [&] { ++permission; };
        f.onRelaunchNeeded = [&] { ++relaunch; };
        if (c.active)
            f.activate();
        platform.screenCaptureImpl.available = c.canCapture;
        ScreenRecordingPermission::grantedAtLaunch = c.grantedAtLaunch;
        platform.permissionsImpl.screenCapture = c.allowedNow;
        f.trigger();
        EXPECT_EQ(f.overlay().isShowing(), c.overlay) << c.name;
        EXPECT_EQ(permission, c.permission) << c.name;
        EXPECT_EQ(relaunch, c.relaunch) << c.name;
        f.deactivate();
    }
}

TEST_F(OCRFlow, ADragOnTheSecondScreenReadsItsCropAndGivesTheFocusBack)
{
    feature.activate();
    feature.trigger();
    ASSERT_TRUE(feature.overlay().isShowing());
    ASSERT_EQ(feature.overlay().windows().size(), 2u);
    EXPECT_EQ(platform.overlays.find(feature.overlay().windows()[0].get())->style.level, 1000);
    // A second trigger while selecting is ignored.
    feature.trigger();
    EXPECT_EQ(platform.screenCaptureImpl.captureCount, 2);

    platform.textRecognizerImpl.lines = {line(0.1, 0.5, "  Hello there \n")};
    drag(view(1), {100, 100}, {300, 150});
    EXPECT_FALSE(feature.overlay().isShowing());
    EXPECT_EQ(platform.textRecognizerImpl.lastSize, QSize(200, 50));
    EXPECT_EQ(texts, std::vector<QString>{QStringLiteral("Hello there")});
    EXPECT_EQ(platform.workspaceImpl.activated, std::vector<int32_t>{4242});
}

TEST_F(OCRFlow, SmallDragsAndEscapeCancelWithoutACallback)
{
    feature.activate();
    feature.trigger();
    drag(view(0), {100, 100}, {200, 105});
    EXPECT_FALSE(feature.overlay().isShowing());
    EXPECT_EQ(platform.workspaceImpl.activated, std::vector<int32_t>{4242});

    feature.trigger();
    ASSERT_TRUE(feature.overlay().isShowing());
    ASSERT_TRUE(platform.interceptorImpl.press(53, platform::KeyFlags::shift));
    platform.queue.drain();
    EXPECT_FALSE(feature.overlay().isShowing());
    EXPECT_EQ(platform.textRecognizerImpl.calls, 0);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(empties, 0);
}

TEST_F(OCRFlow, BlankTextAndAFailedCaptureGiveEmpty)
{
    feature.activate();
    platform.textRecognizerImpl.lines = {line(0.1, 0.5, " \n ")};
    feature.trigger();
    drag(view(0), {10, 10}, {200, 100});
    EXPECT_EQ(empties, 1);

    // A screen whose capture failed: nothing to read.
    platform.screenCaptureImpl.fill = QColor();
    platform.textRecognizerImpl.lines = {line(0.1, 0.5, "never read")};
    feature.trigger();
    ASSERT_TRUE(feature.overlay().isShowing());
    drag(view(0), {10, 10}, {200, 100});
    EXPECT_EQ(empties, 2);
    EXPECT_EQ(platform.textRecognizerImpl.calls, 1);
    EXPECT_TRUE(texts.empty());
}

} // namespace
} // namespace quillon
