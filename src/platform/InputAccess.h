#pragma once

namespace quillon::platform {

/// Facts about who may read the keyboard.
class InputAccess {
public:
    virtual ~InputAccess() = default;

    /// True while another program keeps every key to itself (a password
    /// prompt or a screen locker holding the keyboard), so key taps see
    /// nothing of what is typed.
    virtual bool secureInputActive() = 0;
};

} // namespace quillon::platform
