#pragma once

// Two monitors on the one X screen of a desktop test, made with xrandr.

#include "common/Desktop.h"

namespace quillon::testing {

/// Two monitors side by side on the one X screen, for one test.
struct SplitScreen {
    SplitScreen()
    {
        run("xrandr", {"--setmonitor", "L", "960/254x1080/286+0+0", "screen"});
        run("xrandr", {"--setmonitor", "R", "960/254x1080/286+960+0", "none"});
    }
    ~SplitScreen()
    {
        run("xrandr", {"--delmonitor", "L"});
        run("xrandr", {"--delmonitor", "R"});
    }
};

} // namespace quillon::testing
