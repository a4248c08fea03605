#pragma once

#include "platform/Observers.h"
#include "platform/OverlayWindows.h"

#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

namespace quillon::platform::linux_ {

class X11Connection;

/// Overlays as override-redirect windows: the window manager neither frames,
/// focuses nor moves them, and they show on every workspace. Clicks pass
/// through an empty input shape. Levels are kept by raising the shown
/// overlays in level order whenever one is shown; an overlay stacked among
/// the clients (`stackAbove`, `stackAtBack`) is left where it was put. The
/// compositor is seen by watching who owns `_NET_WM_CM_S<screen>` (XFixes).
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
    bool stackAbove(QWidget& window, WindowId client) override;
    void stackAtBack(QWidget& window) override;
    int addCompositorHandler(std::function<void()> handler) override;
    void removeCompositorHandler(int token) override;

    /// Marks a widget made an overlay here, so the rest of the Linux side
    /// can tell our overlays from our ordinary windows.
    static constexpr const char* overlayMark = "quillonOverlay";
    static bool isOverlay(const QWidget& window);

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
        /// Stacked among the clients: restack() leaves it alone.
        bool placed = false;
    };
    void restack();
    bool connect();
    void markPlaced(QWidget& window);
    /// Stacks on Qt's connection, which made the window; false on an error.
    static bool configureStack(QWidget& window, std::optional<uint32_t> sibling, uint32_t mode);
    /// The ancestor of `window` that is a child of the root: the window
    /// manager's frame, or the window itself; none when it is gone.
    std::optional<uint32_t> topLevelOf(uint32_t window);
    void watchCompositor();
    static void markCaptureExcluded(QWidget& window);

    std::unique_ptr<X11Connection> m_x;
    std::vector<Entry> m_windows;
    Observers<> m_compositorHandlers;
    int m_compositorEvents = 0;
    uint8_t m_selectionNotify = 0;
    uint32_t m_selectionWindow = 0;
};

} // namespace quillon::platform::linux_
