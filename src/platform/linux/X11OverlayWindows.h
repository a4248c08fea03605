#pragma once

#include "platform/OverlayWindows.h"

#include <QPointer>
#include <memory>
#include <vector>

namespace quillon::platform::linux_ {

class X11Connection;

/// Overlays as override-redirect windows: the window manager neither frames,
/// focuses nor moves them, and they show on every workspace. Clicks pass
/// through an empty input shape. Levels are kept by raising the shown
/// overlays in level order whenever one is shown.
class X11OverlayWindows final : public OverlayWindows {
public:
    X11OverlayWindows();
    ~X11OverlayWindows() override;

    bool translucent() override;
    void prepare(QWidget& window, const OverlayStyle& style) override;
    void setFrame(QWidget& window, const QRectF& frame) override;
    void show(QWidget& window) override;
    void hide(QWidget& window) override;
    void setShape(QWidget& window, const QPainterPath& outline) override;
    void setInputRegion(QWidget& window, const QRectF& rect) override;

    /// The property that marks a capture-excluded overlay on the server: any
    /// connection of ours can tell such a window from the others.
    static constexpr const char* captureExcludedProperty = "_QUILLON_CAPTURE_EXCLUDED";
    /// Whether `window` carries that mark.
    static bool isCaptureExcluded(X11Connection& x, uint32_t window);
    /// The marked windows among the root's children, bottom to top.
    static std::vector<uint32_t> captureExcludedWindows(X11Connection& x);

private:
    struct Entry {
        QPointer<QWidget> window;
        int level;
    };
    void restack();
    static void markCaptureExcluded(QWidget& window);

    std::unique_ptr<X11Connection> m_x;
    std::vector<Entry> m_windows;
};

} // namespace quillon::platform::linux_
