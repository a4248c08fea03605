#pragma once

#include "input/TransientKeyTap.h"
#include "platform/Displays.h"

#include <QImage>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

class OCRSelectionWindow;

/// The selection over every screen: each screen's still image, dimmed, under
/// a crosshair. A drag selects a region; Escape, a click or a small drag
/// cancels. The windows are gone before either callback runs.
class OCRSelectionOverlay {
public:
    /// The selection (y-up global space), its screen and that screen's
    /// still image (null when its capture failed).
    using SelectHandler = std::function<void(const QRectF&, const platform::Screen&, const QImage&)>;

    OCRSelectionOverlay();
    ~OCRSelectionOverlay();

    /// Captures every screen and shows the windows; does nothing while showing.
    void present(SelectHandler onSelect, std::function<void()> onCancel);
    /// Takes the windows down without calling back; nothing when not showing.
    void dismiss();
    bool isShowing() const { return !m_windows.empty(); }
    const std::vector<std::unique_ptr<OCRSelectionWindow>>& windows() const { return m_windows; }

private:
    void finish(const QRectF& rect, size_t window);
    void cancel();

    std::vector<std::unique_ptr<OCRSelectionWindow>> m_windows;
    SelectHandler m_onSelect;
    std::function<void()> m_onCancel;
    TransientKeyTap m_escape;
};

} // namespace quillon
