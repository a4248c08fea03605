#pragma once

#include <functional>

namespace quillon::platform {

/// The stages of one touchpad swipe.
enum class SwipePhase {
    began,
    changed,
    ended,
    /// The swipe stopped without finishing, for instance because a finger
    /// joined or left it.
    cancelled,
};

/// One event of a touchpad swipe.
struct Swipe {
    SwipePhase phase = SwipePhase::began;
    /// Fingers on the touchpad.
    int fingers = 3;
    /// Finger motion since the previous event, unaccelerated, in the
    /// touchpad's units: x grows to the right, y downwards. Only `changed`
    /// events move.
    double dx = 0.0;
    double dy = 0.0;
};

/// How an attempt to take the swipes went.
enum class GestureStart {
    started,
    /// No X11 session.
    noSession,
    /// The server has no touchpad gestures (XInput older than 2.4).
    unsupported,
    /// Another client already takes the swipes.
    refused,
};

/// Touchpad swipes of three and four fingers, taken from the rest of the
/// desktop while started.
class SpaceGestures {
public:
    virtual ~SpaceGestures() = default;

    /// Takes every swipe of three or four fingers whole, in every direction:
    /// whether a swipe is wanted is known only when it begins, before it has
    /// a direction. Swipes of other finger counts go on to the window manager
    /// and clients. `handler` runs on the main thread for each event of a
    /// taken swipe. Starting again while started only replaces the handler.
    virtual GestureStart start(std::function<void(const Swipe&)> handler) = 0;
    /// Gives the swipes back; nothing when not started.
    virtual void stop() = 0;
    virtual bool isStarted() const = 0;
};

} // namespace quillon::platform
