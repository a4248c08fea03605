#pragma once

#include "app/Feature.h"
#include "features/swipe/SpaceOSD.h"
#include "platform/MainQueue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class Settings;

/// Instant workspace switching by touchpad swipes: switches the switching
/// module on and off, shows the number of the workspace reached, and checks
/// a moment later that it is the one reached in fact.
class SwipeFeature final : public Feature {
public:
    /// How long after a switch the workspace reached is checked.
    static constexpr double verifyDelay = 0.4;
    static constexpr int indicatorMs = 500;

    explicit SwipeFeature(Settings& settings);
    ~SwipeFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// The workspace number after an instant switch; answers whether the
    /// notch showed it.
    std::function<bool(int)> onSpaceSwitched;

    const SpaceOSD& osd() const { return m_osd; }

private:
    friend void switchTrampoline(uint32_t index);
    void handleSwitch(int index);
    void display(int space);

    Settings& m_settings;
    SpaceOSD m_osd;
    std::optional<int> m_spaceChangeToken;
    platform::WorkItem m_verifyWork;
    bool m_active = false;
    // Lets queued work and handlers outlive the feature harmlessly.
    std::shared_ptr<SwipeFeature*> m_self;
};

/// Set while the feature is active: where the switching module's reports go.
extern std::function<void(int)> sharedSwitchHandler;
/// The callback handed to the switching module: passes the new 0-based
/// index on to `sharedSwitchHandler`, and does nothing when none is set.
void switchTrampoline(uint32_t index);

} // namespace quillon
