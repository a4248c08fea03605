#include "features/ocr/OCRSelectionOverlay.h"

#include "features/ocr/OCRSelectionWindow.h"
#include "platform/ModifierCombinations.h"
#include "platform/Platform.h"

#include <QGuiApplication>

namespace quillon {

namespace {
constexpr uint16_t escapeKey = 53;
}

// Escape is a consuming tap, not a keyboard grab: the chord's key is usually
// still down when the overlay opens and the leader holds the grab, and our
// override-redirect windows never take the focus.
OCRSelectionOverlay::OCRSelectionOverlay()
    : m_escape(true, false, 0, platform::KeyGrab{{escapeKey}, platform::everyModifierCombination()})
{
    m_escape.onKey = [this](const TransientKeyTap::KeyEvent& key) {
        if (key.code != escapeKey || key.isKeyUp)
            return false;
        // Not from inside the tap's own call: cancelling disarms it.
        platform::platform().mainQueue().post([this] {
            if (isShowing())
                cancel();
        });
        return true;
    };
}

OCRSelectionOverlay::~OCRSelectionOverlay()
{
    dismiss();
}

void OCRSelectionOverlay::present(SelectHandler onSelect, std::function<void()> onCancel)
{
    if (isShowing())
        return;
    m_onSelect = std::move(onSelect);
    m_onCancel = std::move(onCancel);
    auto& overlays = platform::platform().overlayWindows();
    auto& capture = platform::platform().screenCapture();
    const auto screens = platform::platform().displays().screens();
    // Every screen first: a window shown before the next capture would be in it.
    std::vector<QImage> images;
    for (const auto& screen : screens)
        images.push_back(capture.capture(screen));
    for (size_t i = 0; i < screens.size(); ++i) {
        auto window = std::make_unique<OCRSelectionWindow>(screens[i], images[i]);
        window->onFinish = [this, i](const QRectF& rect) { finish(rect, i); };
        window->onCancel = [this] { cancel(); };
        overlays.show(*window);
        m_windows.push_back(std::move(window));
    }
    if (m_windows.empty())
        return;
    m_escape.arm();
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
}

void OCRSelectionOverlay::dismiss()
{
    if (!isShowing())
        return;
    QGuiApplication::restoreOverrideCursor();
    m_escape.disarm();
    for (auto& window : m_windows)
        platform::platform().overlayWindows().hide(*window);
    // The window whose view called back is still on the stack: delete later.
    for (auto& window : m_windows)
        window.release()->deleteLater();
    m_windows.clear();
    m_onSelect = nullptr;
    m_onCancel = nullptr;
}

void OCRSelectionOverlay::finish(const QRectF& rect, size_t window)
{
    auto onSelect = std::move(m_onSelect);
    const platform::Screen screen = m_windows[window]->screen();
    const QImage frozen = m_windows[window]->frozen();
    dismiss();
    if (onSelect)
        onSelect(rect, screen, frozen);
}

void OCRSelectionOverlay::cancel()
{
    auto onCancel = std::move(m_onCancel);
    dismiss();
    if (onCancel)
        onCancel();
}

} // namespace quillon
