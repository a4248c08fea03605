#pragma once

namespace quillon::platform {

/// How long the person has left the keyboard and the pointer alone. Main
/// thread.
class InputIdle {
public:
    virtual ~InputIdle() = default;
    /// Seconds since the last input of any kind (keys, pointer, buttons,
    /// wheel); 0 when it cannot be read.
    virtual double secondsSinceInput() = 0;
    /// Seconds since a key last went down, while listening; before the first
    /// press, since listening began; 0 while not listening.
    virtual double secondsSinceKeyDown() = 0;
    /// Starts or stops hearing key presses.
    virtual void listen(bool on) = 0;
};

} // namespace quillon::platform
