#pragma once

#include <functional>

namespace quillon::platform {

/// What happened to the person's session.
enum class SessionNotice {
    /// The computer woke from sleep.
    woke,
    /// Our session became the active one again (after a switch of user or
    /// an unlock on another seat).
    becameActive,
};

/// Notices of sleep and of the session. Main thread.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;
    virtual int addHandler(std::function<void(SessionNotice)> handler) = 0;
    virtual void removeHandler(int token) = 0;
};

} // namespace quillon::platform
