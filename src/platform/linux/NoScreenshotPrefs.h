#pragma once

#include "platform/ScreenshotPrefs.h"

namespace quillon::platform::linux_ {

/// No screenshot tool on Linux lets another program switch its floating
/// thumbnail off: the preference is unknown.
class NoScreenshotPrefs final : public ScreenshotPrefs {
public:
    bool isKnown() const override { return false; }
    std::optional<bool> showThumbnail() const override { return std::nullopt; }
    void setShowThumbnail(bool) override {}
    void removeShowThumbnail() override {}
};

} // namespace quillon::platform::linux_
