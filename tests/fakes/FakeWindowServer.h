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

} // namespace quillon::fakes
