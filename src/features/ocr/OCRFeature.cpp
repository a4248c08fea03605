#include "features/ocr/OCRFeature.h"

#include "features/ocr/OCRSelectionOverlay.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace quillon {

OCRFeature::OCRFeature()
    : m_overlay(std::make_unique<OCRSelectionOverlay>())
    , m_self(std::make_shared<OCRFeature*>(this))
{
}

OCRFeature::~OCRFeature() = default;

void OCRFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    Log::debug("OCR: activated");
}

void OCRFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    m_overlay->dismiss();
    m_priorApp.reset();
    Log::debug("OCR: deactivated");
}

void OCRFeature::trigger()
{
    Log::debug("OCR: region selection started");
    if (!m_active || m_overlay->isShowing())
        return;
    std::weak_ptr<OCRFeature*> weak = m_self;
    auto& capture = platform::platform().screenCapture();
    platform::platform().tasks().runWithResult<bool>(
        [&capture] { return capture.canCapture(); },
        [weak](bool canCapture) {
            auto self = weak.lock();
            if (!self)
                return;
            OCRFeature& feature = **self;
            if (!feature.m_active || feature.m_overlay->isShowing())
                return;
            if (canCapture)
                feature.present();
            else if (ScreenRecordingPermission::grantedAtLaunch ||
                     platform::platform().permissions().screenCaptureAllowed()) {
                if (feature.onRelaunchNeeded)
                    feature.onRelaunchNeeded();
            } else if (feature.onPermissionNeeded) {
                feature.onPermissionNeeded();
            }
        });
}

void OCRFeature::present()
{
    m_priorApp = platform::platform().workspace().frontmostApp();
    std::weak_ptr<OCRFeature*> weak = m_self;
    m_overlay->present(
        [weak](const QRectF& rect, const platform::Screen& screen, const QImage& frozen) {
            if (auto self = weak.lock()) {
                (*self)->givePriorAppFocus();
                (*self)->capture(rect, screen, frozen);
            }
        },
        [weak] {
            if (auto self = weak.lock())
                (*self)->givePriorAppFocus();
        });
}

void OCRFeature::givePriorAppFocus()
{
    if (!m_priorApp)
        return;
    const int32_t pid = m_priorApp->pid;
    m_priorApp.reset();
    platform::platform().workspace().activate(pid);
}

void OCRFeature::capture(const QRectF& rect, const platform::Screen& screen, const QImage& frozen)
{
    std::weak_ptr<OCRFeature*> weak = m_self;
    auto text = std::make_shared<QString>();
    platform::platform().tasks().run(
        [rect, screen, frozen, text] {
            const auto region = captureRegion(rect, screen, frozen);
            if (const QImage* image = std::get_if<QImage>(&region))
                *text = recognize(*image).trimmed();
            else
                Log::error(std::get<OCRError>(region) == OCRError::noDisplay
                               ? QStringLiteral("OCR: the screen has no image to read")
                               : QStringLiteral("OCR: the selection lies outside its screen"));
        },
        [weak, text] {
            auto self = weak.lock();
            if (!self)
                return;
            OCRFeature& feature = **self;
            Log::debug([&] { return QStringLiteral("OCR: recognised %1 character(s)").arg(text->size()); });
            if (!text->isEmpty()) {
                if (feature.onText)
                    feature.onText(*text);
            } else if (feature.onEmpty) {
                feature.onEmpty();
            }
        });
}

std::variant<QImage, OCRFeature::OCRError>
OCRFeature::captureRegion(const QRectF& rect, const platform::Screen& screen, const QImage& frozen)
{
    if (frozen.isNull())
        return OCRError::noDisplay;
    const double scale = screen.scale > 0 ? screen.scale : 1.0;
    const QRectF pixels(scale * (rect.left() - screen.frame.left()),
                        scale * (screen.frame.top() + screen.frame.height() - (rect.top() + rect.height())),
                        scale * rect.width(), scale * rect.height());
    const QRect crop = pixels.toAlignedRect() & frozen.rect();
    if (crop.isEmpty() || rect.isEmpty())
        return OCRError::cropFailed;
    // The ratio tells recognition how large the text is on the screen.
    QImage image = frozen.copy(crop);
    image.setDevicePixelRatio(scale);
    return image;
}

QString OCRFeature::recognize(const QImage& image)
{
    auto& p = platform::platform();
    const QString text = readingOrder(p.textRecognizer().recognize(image));
    return mergeResult(p.barcodeReader().read(image), text);
}

QString OCRFeature::readingOrder(std::vector<platform::RecognisedLine> lines)
{
    std::erase_if(lines, [](const platform::RecognisedLine& line) { return line.text.isEmpty(); });
    // Band numbers grow upward; the highest band is the top of the region.
    std::map<long, std::vector<platform::RecognisedLine>, std::greater<>> bands;
    for (auto& line : lines)
        bands[std::lround(line.rect.center().y() * 50.0)].push_back(std::move(line));
    QStringList rows;
    for (auto& entry : bands) {
        auto& band = entry.second;
        std::stable_sort(band.begin(), band.end(),
                         [](const auto& a, const auto& b) { return a.rect.left() < b.rect.left(); });
        QStringList texts;
        for (const auto& line : band)
            texts << line.text;
        rows << texts.join(QLatin1Char(' '));
    }
    return rows.join(QLatin1Char('\n'));
}

QString OCRFeature::mergeResult(const std::vector<QString>& barcodes, const QString& text)
{
    QStringList payloads;
    for (const QString& payload : barcodes) {
        if (!payload.isEmpty())
            payloads << payload;
    }
    return payloads.isEmpty() ? text : payloads.join(QLatin1Char('\n'));
}

} // namespace quillon
