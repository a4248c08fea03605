#pragma once

#include "notch/NotchSource.h"

#include <optional>
#include <set>

namespace quillon {

/// Who may show in the notch. Claims are a set: claiming twice is claiming
/// once, and one release removes the claim.
struct NotchArbiter {
    std::set<NotchSource> claims;
    std::set<NotchTakeover> takeovers;

    /// The highest claim while no takeover stands; nothing otherwise.
    std::optional<NotchSource> winner() const
    {
        if (!takeovers.empty() || claims.empty())
            return std::nullopt;
        return *claims.rbegin();
    }

    bool operator==(const NotchArbiter&) const = default;
};

} // namespace quillon
