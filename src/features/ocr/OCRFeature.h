#pragma once

#include "app/Feature.h"
#include "platform/Displays.h"
#include "platform/TextRecognizer.h"
#include "platform/Workspace.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace quillon {

class OCRSelectionOverlay;

/// Reads the text (and barcodes) of a screen region onto the clipboard.
class OCRFeature final : public Feature {
public:
    OCRFeature();
    ~OCRFeature() override;

    std::function<void(const QString&)> onText;
    /// Nothing was recognised.
    std::function<void()> onEmpty;
    /// Screen capture is not allowed.
    std::function<void()> onPermissionNeeded;
    /// Capture was allowed but takes effect only after a relaunch.
    std::function<void()> onRelaunchNeeded;

    enum class OCRError { noDisplay, cropFailed };

    bool isActive() const override { return m_active; }
    /// X11 has nothing to ask for: switching on only sets the state.
    void activate() override;
    void deactivate() override;
    /// Starts the selection of a screen region.
    void trigger();

    OCRSelectionOverlay& overlay() { return *m_overlay; }

    /// The crop of `rect` (y-up global space) out of `frozen`, the still image
    /// of `screen` in device pixels: outward to whole pixels, clipped.
    static std::variant<QImage, OCRError> captureRegion(const QRectF& rect, const platform::Screen& screen,
                                                        const QImage& frozen);
    /// The text of an image: its barcodes' payloads when it has any, else
    /// its lines in reading order.
    static QString recognize(const QImage& image);
    /// Lines top band first, left to right within a band.
    static QString readingOrder(std::vector<platform::RecognisedLine> lines);
    static QString mergeResult(const std::vector<QString>& barcodes, const QString& text);

private:
    void present();
    void capture(const QRectF& rect, const platform::Screen& screen, const QImage& frozen);
    void givePriorAppFocus();

    std::unique_ptr<OCRSelectionOverlay> m_overlay;
    std::optional<platform::RunningApp> m_priorApp;
    bool m_active = false;
    // Held weakly by background work and queued calls.
    std::shared_ptr<OCRFeature*> m_self;
};

} // namespace quillon
