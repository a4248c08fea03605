#pragma once

#include "platform/SpaceGestures.h"

namespace quillon::fakes {

/// Scripted swipes. `nextStart` decides how the next start goes; `swipe`
/// delivers an event to the started handler, as the touchpad would.
class FakeSpaceGestures final : public platform::SpaceGestures {
public:
    platform::GestureStart start(std::function<void(const platform::Swipe&)> handler) override
    {
        ++starts;
        if (!m_started && nextStart != platform::GestureStart::started)
            return nextStart;
        m_started = true;
        m_handler = std::move(handler);
        return platform::GestureStart::started;
    }
    void stop() override
    {
        m_started = false;
        m_handler = nullptr;
    }
    bool isStarted() const override { return m_started; }

    /// Delivers one event while started; false when nobody takes swipes.
    bool swipe(platform::SwipePhase phase, double dx = 0.0, double dy = 0.0, int fingers = 3)
    {
        if (!m_started || !m_handler)
            return false;
        m_handler(platform::Swipe{phase, fingers, dx, dy});
        return true;
    }

    platform::GestureStart nextStart = platform::GestureStart::started;
    int starts = 0;

private:
    bool m_started = false;
    std::function<void(const platform::Swipe&)> m_handler;
};

} // namespace quillon::fakes
