#pragma once

#include "platform/WindowServer.h"

#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

/// The one place snapping touches another application's window. Callers work
/// in the y-up space of the snapping maths; the window layer is y-down, and
/// the conversion mirrors about the primary display's height.
struct AXWindow {
    platform::WindowId element = 0;
    int32_t pid = 0;

    /// The front window of `pid`, or of the frontmost application when no pid
    /// is given: the focused window when it is that application's, else its
    /// topmost one.
    static std::optional<AXWindow> focused(std::optional<int32_t> pid = std::nullopt);

    /// The window's frame (y-up); none when it cannot be read.
    std::optional<QRectF> frame() const;
    /// Moves and resizes the window to a y-up frame; `done` runs on the main
    /// thread with the y-up frame that reads back afterwards (none when the
    /// window went away).
    void setFrame(const QRectF& frame, std::function<void(std::optional<QRectF>)> done) const;
    bool isResizable() const;

    /// Whether a window can be resized: its size can be set (unknown counts
    /// as yes) and it is not a system dialog. X11 knows no such dialogs; the
    /// rule stays for windows that say so.
    static bool resizable(std::optional<bool> sizeSettable, const std::optional<QString>& subrole);
    /// Mirrors a rectangle between the y-down and y-up spaces about the
    /// primary display's height (0 with no display); its own inverse.
    static QRectF flip(const QRectF& rect);
};

} // namespace quillon
