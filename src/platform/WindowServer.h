#pragma once

#include <QRectF>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillon::platform {

using WindowId = uint32_t;

/// One window of the window server's list. A field the server could not
/// read stays empty, so callers can tell "not there" from a value.
struct WindowEntry {
    /// Layers by window kind; ordinary application windows (and their dialogs) are 0.
    static constexpr int normalLayer = 0;
    static constexpr int floatingLayer = 3;
    static constexpr int dockLayer = 20;
    static constexpr int notificationLayer = 25;
    static constexpr int popUpMenuLayer = 101;
    static constexpr int desktopLayer = -2147483623;

    WindowId id = 0;
    std::optional<int32_t> pid;
    std::optional<int> layer;
    /// The outer frame, in the y-down space of the primary display ("Quartz").
    std::optional<QRectF> bounds;
    /// 0 (transparent) to 1 (opaque).
    std::optional<double> alpha;
    std::optional<QString> title;
    bool onScreen = false;
    /// The Spaces the window shows on (every Space for a window on all of
    /// them); none when they cannot be read.
    std::optional<std::vector<uint64_t>> spaces;
    /// The desktop background and its icons.
    bool desktopElement = false;
};

/// The window server's list of application windows, front to back. Safe to
/// call from any thread: the census runs on the sweep's background queue.
class WindowServer {
public:
    virtual ~WindowServer() = default;
    /// Every client window, or only those visible now (mapped, not minimised,
    /// on the current Space); none when the list cannot be read.
    virtual std::optional<std::vector<WindowEntry>> windowList(bool onScreenOnly) = 0;
};

} // namespace quillon::platform
