#pragma once

#include "platform/InputAccess.h"
#include "platform/linux/X11Connection.h"

#include <chrono>
#include <functional>
#include <memory>

namespace quillon::platform::linux_ {

/// Secure input on X11: another client holds the keyboard grabbed (a password
/// prompt, a screen locker). The server tells nobody who holds a grab, but a
/// grab request answers AlreadyGrabbed exactly then.
///
/// The clipboard asks on every copy key, so the question must not disturb the
/// focused window: a grab that succeeds, even for a moment, sends it FocusOut
/// and FocusIn events, which toolkits take for a real loss of focus. The
/// server checks for another client's grab before it checks the request's
/// time, so asking with a time in the future gets AlreadyGrabbed while a grab
/// is held and InvalidTime otherwise, and never grabs anything.
class X11InputAccess final : public InputAccess {
public:
    /// `ownGrab` says whether one of our own key taps holds the keyboard just
    /// now: the question would then find our own grab.
    explicit X11InputAccess(std::function<bool()> ownGrab)
        : m_ownGrab(std::move(ownGrab))
    {
    }

    bool secureInputActive() override;

private:
    bool connect();
    /// A server time a quarter of the timestamp cycle ahead of now: later
    /// than the server's time by any reading.
    uint32_t futureTime() const;

    std::function<bool()> m_ownGrab;
    std::unique_ptr<X11Connection> m_x;
    uint32_t m_serverTime = 0;
    std::chrono::steady_clock::time_point m_readAt;
};

} // namespace quillon::platform::linux_
