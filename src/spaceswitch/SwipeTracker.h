#pragma once

#include "platform/SpaceGestures.h"

#include <optional>

namespace quillon {

/// Follows one touchpad swipe at a time and decides, at most once per swipe,
/// that it asks for a workspace switch: as soon as it has moved far enough
/// sideways, or at its end when it moved sideways at all. A swipe that moves
/// mostly up or down asks for nothing. A swipe whose finger count changes on
/// the way (cancelled and begun again with the new count) is one swipe.
class SwipeTracker {
public:
    /// Directions of a switch, as the swipe module counts them.
    static constexpr int previousSpace = 0;
    static constexpr int nextSpace = 1;

    /// Touchpad units (about 1/40 mm) a swipe travels before its axis is
    /// settled: enough to tell a sideways swipe from a wobbly vertical one,
    /// little enough that the switch comes while the fingers still move.
    static constexpr double decisionDistance = 40.0;

    /// Feeds one event; answers the direction of the switch to make now.
    /// Fingers moving left bring in the next workspace (the content follows
    /// the fingers), fingers moving right the previous one.
    std::optional<int> handle(const platform::Swipe& swipe);

    /// A swipe is under way.
    bool isTracking() const { return m_tracking; }
    /// The current swipe has asked for its switch.
    bool hasFired() const { return m_fired; }
    /// Forgets the swipe under way.
    void reset();

private:
    std::optional<int> changed(double dx, double dy);
    std::optional<int> ended();

    bool m_tracking = false;
    bool m_fired = false;
    /// The current swipe runs up or down: it asks for nothing.
    bool m_vertical = false;
    double m_x = 0.0;
    double m_y = 0.0;
    /// The finger count of the current (or last) swipe.
    int m_fingers = 0;
    /// The last swipe switched, then was cancelled (as a change of the
    /// finger count cancels it).
    bool m_cancelledAfterSwitch = false;
};

} // namespace quillon
