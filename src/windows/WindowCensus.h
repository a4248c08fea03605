#pragma once

#include "platform/WindowControl.h"
#include "platform/WindowServer.h"

#include <optional>

namespace quillon {

/// Counts an application's real windows three ways. Every count is none when
/// its source cannot be read, so "no windows" (0) differs from "cannot tell".
/// Safe off the main thread: the sweep counts on its own queue.
class WindowCensus {
public:
    /// Layer 0, at least 40 × 40, and not (nearly) transparent.
    static bool isNormalWindow(const platform::WindowEntry& entry);
    /// Normal windows of the process visible now.
    static std::optional<int> onScreenWindowCount(int32_t pid);
    /// Normal windows of the process that lie only on other Spaces; none when
    /// the window manager reports no workspaces.
    static std::optional<int> otherSpaceWindowCount(int32_t pid);
    /// Windows that keep an application alive: ordinary windows, dialogs and
    /// windows that declare no kind (panels, menus and the like do not).
    static std::optional<int> keepAliveWindowCount(int32_t pid);

    static bool keepsAlive(const std::optional<platform::WindowKind>& kind);

private:
    static constexpr platform::WindowKind keepAliveSubroles[] = {platform::WindowKind::standard,
                                                                 platform::WindowKind::dialog};
};

} // namespace quillon
