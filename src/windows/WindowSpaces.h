#pragma once

#include <cstdint>
#include <optional>

namespace quillon {

/// On which workspaces windows lie. Created once (`shared()`), read-only
/// afterwards.
///
/// The workspace reading is not attached yet, so nothing is resolved: no
/// window counts as being on another workspace.
class WindowSpaces {
public:
    static WindowSpaces& shared();

    /// Whether the window manager's workspace information is available.
    bool symbolsResolved() const { return false; }
    bool isOnOtherSpace(uint32_t windowID, uint64_t activeSpace) const;
    std::optional<uint64_t> otherSpace(uint32_t windowID, uint64_t activeSpace) const;

private:
    WindowSpaces() = default;
};

} // namespace quillon
