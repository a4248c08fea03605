#pragma once

#include "platform/InputIdle.h"

#include <memory>
#include <optional>

namespace quillon::platform::linux_ {

class X11Connection;

/// Input idle time from the X server's screen-saver extension (any device),
/// and key-down time from a key listener held while asked to listen.
class X11InputIdle final : public InputIdle {
public:
    X11InputIdle();
    ~X11InputIdle() override;

    double secondsSinceInput() override;
    double secondsSinceKeyDown() override;
    void listen(bool on) override;

private:
    std::unique_ptr<X11Connection> m_x;
    std::optional<int> m_listener;
    double m_lastKeyDown = 0;
};

} // namespace quillon::platform::linux_
