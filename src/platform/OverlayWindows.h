#pragma once

#include "platform/WindowServer.h"

#include <QPainterPath>
#include <QRectF>
#include <functional>

class QWidget;

namespace quillon::platform {

/// How an overlay window sits on the desktop.
struct OverlayStyle {
    /// Overlays of a higher level stay above those of a lower one.
    int level = 0;
    /// Clicks pass through the window to whatever lies behind it.
    bool clickThrough = true;
    /// Left out of our own screen captures, so that what we read from the
    /// screen is what lies beneath (dimming, for one). Other programs'
    /// screenshots still show the window.
    bool captureExcluded = false;
};

/// Floating windows of our own above everything else: borderless, on every
/// workspace, shown without activating the application and never taking the
/// keyboard focus; the window manager leaves them alone.
class OverlayWindows {
public:
    virtual ~OverlayWindows() = default;

    /// Whether a compositor blends translucent windows with what lies behind.
    /// Without one a window can only be cut to a shape (`setShape`), and its
    /// fades are immediate.
    virtual bool translucent() = 0;
    /// Makes a new top-level widget an overlay; call before it is first shown.
    virtual void prepare(QWidget& window, const OverlayStyle& style) = 0;
    /// Places the window at `frame`, in the y-up global space.
    virtual void setFrame(QWidget& window, const QRectF& frame) = 0;
    /// Shows it above every other window and overlay of a lower level.
    virtual void show(QWidget& window) = 0;
    virtual void hide(QWidget& window) = 0;
    /// Cuts the window to `outline` (window coordinates, y down); an empty
    /// outline leaves nothing of it visible.
    virtual void setShape(QWidget& window, const QPainterPath& outline) = 0;
    /// For a window that is not click-through: takes the mouse only within
    /// `rect` (window coordinates, y down); elsewhere the pointer and clicks
    /// reach whatever lies behind.
    virtual void setInputRegion(QWidget& window, const QRectF& rect) = 0;

    /// Stacks the window directly above the client window `client` (above
    /// the window manager's frame of it). From then on the window stays where
    /// it is put: `show` no longer lifts it among the levels. False when the
    /// client is gone; the window then stays where it was.
    virtual bool stackAbove(QWidget& window, WindowId client) = 0;
    /// Stacks the window just above the topmost desktop window, else below
    /// every other window; it stays put as after `stackAbove`.
    virtual void stackAtBack(QWidget& window) = 0;
    /// Called on the main thread whenever a compositor starts or stops;
    /// `translucent()` tells which.
    virtual int addCompositorHandler(std::function<void()> handler) = 0;
    virtual void removeCompositorHandler(int token) = 0;
};

} // namespace quillon::platform
