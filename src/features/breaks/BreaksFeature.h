#pragma once

#include "app/Feature.h"

#include <functional>

namespace quillon {

class Settings;

/// Break reminders with a countdown in the notch and a full-screen overlay.
class BreaksFeature final : public BasicFeature {
public:
    explicit BreaksFeature(Settings& settings);

    /// The warning before a break falls due.
    std::function<void()> onPreWarn;
    /// Seconds left before a break, and whether the eye is drawn open.
    std::function<void(int, bool)> onCountdownTick;
    /// The countdown is over or cancelled.
    std::function<void()> onCountdownEnd;
    /// The break overlay appears (true) or disappears.
    std::function<void(bool)> onOverlayVisible;
    /// A break was completed.
    std::function<void()> onBreakDone;

    /// Plans a new cycle when the work interval changed while active.
    void applySettings() {}

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
