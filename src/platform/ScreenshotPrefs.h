#pragma once

#include <optional>

namespace quillon::platform {

/// The desktop's preference for the floating thumbnail its screenshot tool
/// shows after a capture.
class ScreenshotPrefs {
public:
    virtual ~ScreenshotPrefs() = default;
    /// False where the desktop keeps no such preference: then nothing is
    /// read or written.
    virtual bool isKnown() const = 0;
    /// The stored choice; none while the desktop's default applies.
    virtual std::optional<bool> showThumbnail() const = 0;
    virtual void setShowThumbnail(bool show) = 0;
    /// Gives the choice back to the desktop's default.
    virtual void removeShowThumbnail() = 0;
};

} // namespace quillon::platform
