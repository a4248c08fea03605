#pragma once

#include "app/Feature.h"

#include <functional>

namespace quillon {

class Settings;

/// Instant workspace switching by touchpad swipes.
class SwipeFeature final : public BasicFeature {
public:
    explicit SwipeFeature(Settings& settings);

    /// The workspace number after an instant switch; answers whether the
    /// notch showed it.
    std::function<bool(int)> onSpaceSwitched;

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
