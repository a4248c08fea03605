#pragma once

#include "platform/WindowServer.h"

#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// The kind of a window as its application declares it.
enum class WindowKind {
    standard, ///< an ordinary document or application window
    dialog,   ///< a dialog, or a window transient for another one
    utility,  ///< palettes, toolbars, torn-off menus
    menu,     ///< drop-down and pop-up menus, tooltips, combo lists
    splash,
    notification,
    dock,
    desktop,
};

/// Reading and acting on one application's windows (what a person could do
/// with the mouse). Reads are safe from any thread; actions run on the main
/// thread.
class WindowControl {
public:
    virtual ~WindowControl() = default;

    /// The windows of a process in a stable order (the order they first
    /// appeared); an empty list when it has none, none when the window
    /// manager's list cannot be read.
    virtual std::optional<std::vector<WindowId>> windows(int32_t pid) = 0;
    /// The declared kind; none when the window declares nothing.
    virtual std::optional<WindowKind> kind(WindowId window) = 0;
    virtual std::optional<QString> title(WindowId window) = 0;
    /// The outer frame in the y-down space of the primary display.
    virtual std::optional<QRectF> frame(WindowId window) = 0;

    /// The window with the keyboard focus, of any application.
    virtual std::optional<WindowId> focusedWindow() = 0;
    /// The window of this process that is in front: the focused one when it
    /// is the process's, else its topmost one.
    virtual std::optional<WindowId> mainWindow(int32_t pid) = 0;

    /// Brings the window to the front and gives it the focus (switching to
    /// its Space and restoring it when minimised). `done` runs on the main
    /// thread, later: true once the window manager has made it the active
    /// window, false when it has not within half a second (or the window is
    /// no window of the desktop's).
    virtual void raise(WindowId window, std::function<void(bool raised)> done) = 0;
    /// Asks the window to close, as its close button would.
    virtual bool close(WindowId window) = 0;

    /// False when the window's size is fixed (its minimum size is its maximum
    /// size, or the window manager does not let it be resized); true when
    /// that cannot be read.
    virtual bool isResizable(WindowId window) = 0;
    /// Moves and resizes the window to `frame` (the visible frame, y-down like
    /// frame()), taking it out of a maximised or full-screen state first.
    /// Never waits: `done` runs later on the main thread with the frame that
    /// reads back once the window manager has acted (or a moment later when
    /// it ignores the request); none when the window is gone. Size hints may
    /// round the result.
    virtual void setFrame(WindowId window, const QRectF& frame,
                          std::function<void(std::optional<QRectF> readBack)> done) = 0;
};

} // namespace quillon::platform
