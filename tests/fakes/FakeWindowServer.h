#pragma once

#include "platform/WindowServer.h"

#include <algorithm>

namespace quillon::fakes {

/// A table of windows, front to back; `list` empty = unreadable.
class FakeWindowServer final : public platform::WindowServer {
public:
    std::optional<std::vector<platform::WindowEntry>> windowList(bool onScreenOnly) override
    {
        ++calls;
        if (!list || !onScreenOnly)
            return list;
        auto visible = *list;
        std::erase_if(visible, [](const platform::WindowEntry& e) { return !e.onScreen; });
        return visible;
    }

    std::optional<std::vector<platform::WindowEntry>> list = std::vector<platform::WindowEntry>{};
    int calls = 0;
};

/// An ordinary, opaque window on screen.
inline platform::WindowEntry listedWindow(int32_t pid, platform::WindowId id, QRectF bounds, int layer = 0)
{
    platform::WindowEntry e;
    e.id = id;
    e.pid = pid;
    e.layer = layer;
    e.bounds = bounds;
    e.alpha = 1.0;
    e.onScreen = true;
    return e;
}

} // namespace quillon::fakes
