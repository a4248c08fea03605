#pragma once

#include "platform/Spaces.h"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace quillon {

/// Which workspace ("Space") a window lies on. Every answer comes from the
/// window manager's current snapshot; when it reports no workspaces the
/// answers know nothing and callers fall back to counting per application.
/// Safe from any thread.
class WindowSpaces {
public:
    static WindowSpaces& shared();

    /// The window manager reports workspaces. Logs once per change to
    /// "unresolved" what is missing.
    bool symbolsResolved();
    uint64_t activeSpace() const;

    /// The window lies on at least one Space and none of them is the active one.
    bool isOnOtherSpace(platform::WindowId windowID, uint64_t activeSpace) const;
    /// The first of the window's Spaces that is not the active one.
    std::optional<uint64_t> otherSpace(platform::WindowId windowID, uint64_t activeSpace) const;

    /// The same questions over Spaces already read (a window-list entry's).
    static bool isOnOtherSpace(const std::optional<std::vector<uint64_t>>& spaces, uint64_t activeSpace);
    static std::optional<uint64_t> otherSpace(const std::optional<std::vector<uint64_t>>& spaces,
                                              uint64_t activeSpace);

private:
    WindowSpaces() = default;

    std::mutex m_lock;
    std::shared_ptr<const platform::SpacesSnapshot> m_logged;
};

} // namespace quillon
