#pragma once

#include "platform/WindowManagerPrefs.h"

namespace quillon::fakes {

class FakeWindowManagerPrefs final : public platform::WindowManagerPrefs {
public:
    std::optional<bool> edgeTilingEnabled() override { return edgeTiling; }
    std::optional<bool> edgeTiling;
};

} // namespace quillon::fakes
