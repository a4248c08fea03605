#pragma once

#include "platform/ScreenshotPrefs.h"

namespace quillon::fakes {

/// A thumbnail preference held in memory; counts its writes.
class FakeScreenshotPrefs final : public platform::ScreenshotPrefs {
public:
    bool isKnown() const override { return known; }
    std::optional<bool> showThumbnail() const override { return value; }
    void setShowThumbnail(bool show) override
    {
        ++writes;
        value = show;
    }
    void removeShowThumbnail() override
    {
        ++writes;
        value.reset();
    }

    bool known = true;
    std::optional<bool> value;
    int writes = 0;
};

} // namespace quillon::fakes
