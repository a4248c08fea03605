#pragma once

#include "platform/InputIdle.h"

namespace quillon::fakes {

/// Idle times the test sets.
class FakeInputIdle final : public platform::InputIdle {
public:
    double secondsSinceInput() override { return input; }
    double secondsSinceKeyDown() override { return listening ? key : 0; }
    void listen(bool on) override { listening = on; }

    double input = 0;
    double key = 1000;
    bool listening = false;
};

} // namespace quillon::fakes
