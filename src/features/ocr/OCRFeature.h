#pragma once

#include "app/Feature.h"

#include <QString>
#include <functional>

namespace quillon {

/// Reads the text (and barcodes) of a screen region onto the clipboard.
class OCRFeature final : public BasicFeature {
public:
    OCRFeature();

    std::function<void(const QString&)> onText;
    /// Nothing was recognised.
    std::function<void()> onEmpty;
    /// Screen capture is not allowed.
    std::function<void()> onPermissionNeeded;
    /// Capture was allowed but takes effect only after a relaunch.
    std::function<void()> onRelaunchNeeded;

    /// Starts the selection of a screen region.
    void trigger() {}
};

} // namespace quillon
