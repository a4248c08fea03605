#pragma once

#include "platform/SpaceGestures.h"
#include "platform/linux/XInput.h"

#include <memory>

namespace quillon::platform::linux_ {

/// Touchpad swipes from XInput 2.4 gesture events, through a synchronous
/// passive swipe grab on the root of a connection of our own.
///
/// The grab freezes the pointer at each swipe's begin event until we answer:
/// three or four fingers are taken (the rest of the swipe is ours alone),
/// any other count is replayed to the window manager and clients. Replay is
/// possible only at the begin event, which carries the finger count but no
/// motion, so the direction of a swipe cannot decide whether it is taken.
class X11SpaceGestures final : public SpaceGestures {
public:
    X11SpaceGestures() = default;
    ~X11SpaceGestures() override;

    GestureStart start(std::function<void(const Swipe&)> handler) override;
    void stop() override;
    bool isStarted() const override { return m_xi && !m_lost; }

private:
    GestureStart grab();
    void ungrab();
    void handle(const xcb_generic_event_t* event, int generation);
    /// Closes the connection once its event dispatch is over: a handler may
    /// stop the gestures from inside it.
    void release();

    std::unique_ptr<XInput> m_xi;
    std::function<void(const Swipe&)> m_handler;
    /// The swipe under way was taken (its begin event was answered "ours").
    bool m_taking = false;
    bool m_lost = false;
    /// Counts connections, so that events still queued on one we have let go
    /// are ignored.
    int m_generation = 0;
};

} // namespace quillon::platform::linux_
