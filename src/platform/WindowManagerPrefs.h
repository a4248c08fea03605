#pragma once

#include <optional>

namespace quillon::platform {

/// Settings of the running window manager that our features must respect.
class WindowManagerPrefs {
public:
    virtual ~WindowManagerPrefs() = default;
    /// Whether dragging a window to a screen edge tiles it; none when the
    /// window manager is not known. Answers at once, from local files.
    virtual std::optional<bool> edgeTilingEnabled() = 0;
};

} // namespace quillon::platform
