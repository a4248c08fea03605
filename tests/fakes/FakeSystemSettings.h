#pragma once

#include "platform/SystemSettings.h"

#include <vector>

namespace quillon::fakes {

/// Records the pages asked for; opens them when `opens` is true.
class FakeSystemSettings final : public platform::SystemSettings {
public:
    bool open(platform::SettingsPage page) override
    {
        requested.push_back(page);
        return opens;
    }
    bool opens = false;
    std::vector<platform::SettingsPage> requested;
};

} // namespace quillon::fakes
