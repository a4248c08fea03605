#pragma once

#include "app/Feature.h"

namespace quillon {

class Settings;

/// Dims everything behind the front window.
class FocusFeature final : public BasicFeature {
public:
    explicit FocusFeature(Settings& settings);

    /// While active, every dimming window takes black at this alpha.
    /// A value outside 0...1 (an imported file) is clamped to that range;
    /// one that is not a number is ignored. Writes no setting.
    void applyAlpha(double alpha);
    /// The dimming strength the overlays take.
    double alpha() const { return m_alpha; }

private:
    [[maybe_unused]] Settings& m_settings;
    double m_alpha = 0.3;
};

} // namespace quillon
