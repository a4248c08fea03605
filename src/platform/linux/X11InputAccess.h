#pragma once

#include "platform/InputAccess.h"
#include "platform/linux/X11Connection.h"

#include <functional>
#include <memory>

namespace quillon::platform::linux_ {

/// Secure input on X11: another client holds the keyboard grabbed. The server
/// tells nobody who holds a grab, so a momentary grab of our own asks: it
/// fails with AlreadyGrabbed (or GrabFrozen) exactly then.
///
/// The probe must not disturb the focused window, as the clipboard asks on
/// every copy key. Grabbing on the focused window itself makes the server send
/// no focus change (a grab elsewhere would send FocusOut and FocusIn), and a
/// synchronous grab freezes the keyboard for the moment it lasts, so keys
/// typed meanwhile queue up and reach the window after the ungrab instead of
/// coming to us.
class X11InputAccess final : public InputAccess {
public:
    /// `ownGrab` says whether one of our own key taps holds the keyboard just
    /// now: the probe would then find our own grab.
    explicit X11InputAccess(std::function<bool()> ownGrab)
        : m_ownGrab(std::move(ownGrab))
    {
    }

    bool secureInputActive() override;

private:
    std::function<bool()> m_ownGrab;
    std::unique_ptr<X11Connection> m_x;
};

} // namespace quillon::platform::linux_
