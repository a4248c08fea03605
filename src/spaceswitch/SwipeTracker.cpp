#include "spaceswitch/SwipeTracker.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

int directionOf(double x)
{
    return x < 0 ? SwipeTracker::nextSpace : SwipeTracker::previousSpace;
}

} // namespace

std::optional<int> SwipeTracker::handle(const platform::Swipe& swipe)
{
    switch (swipe.phase) {
    case platform::SwipePhase::began: {
        // A finger put down or lifted mid-swipe cancels the swipe and begins
        // another with the new count while the hand goes on moving: that is
        // still the one swipe, which has switched already.
        const bool continues = m_cancelledAfterSwitch && swipe.fingers != m_fingers;
        reset();
        m_tracking = true;
        m_fired = continues;
        m_fingers = swipe.fingers;
        return std::nullopt;
    }
    case platform::SwipePhase::changed:
        return changed(swipe.dx, swipe.dy);
    case platform::SwipePhase::ended:
        return ended();
    case platform::SwipePhase::cancelled: {
        const bool switched = m_tracking && m_fired;
        reset();
        m_cancelledAfterSwitch = switched;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

void SwipeTracker::reset()
{
    m_cancelledAfterSwitch = false;
    m_tracking = false;
    m_fired = false;
    m_vertical = false;
    m_x = 0.0;
    m_y = 0.0;
}

std::optional<int> SwipeTracker::changed(double dx, double dy)
{
    if (!m_tracking || m_fired || m_vertical)
        return std::nullopt;
    m_x += dx;
    m_y += dy;
    if (std::max(std::abs(m_x), std::abs(m_y)) < decisionDistance)
        return std::nullopt;
    if (std::abs(m_y) >= std::abs(m_x)) {
        m_vertical = true;
        return std::nullopt;
    }
    m_fired = true;
    return directionOf(m_x);
}

std::optional<int> SwipeTracker::ended()
{
    std::optional<int> direction;
    // A short sideways swipe still counts once the fingers lift.
    if (m_tracking && !m_fired && !m_vertical && m_x != 0.0 && std::abs(m_x) > std::abs(m_y))
        direction = directionOf(m_x);
    reset();
    return direction;
}

} // namespace quillon
