#pragma once

#include "platform/KeyFlags.h"

#include <vector>

namespace quillon::platform {

/// Every combination of Shift, Control, Option and Command (either key of
/// each), none included: for a tap on a key that must answer whatever is
/// held with it, such as Escape closing a full-screen flow.
inline std::vector<EventFlags> everyModifierCombination()
{
    const EventFlags each[] = {KeyFlags::shift, KeyFlags::control, KeyFlags::option, KeyFlags::command};
    std::vector<EventFlags> all;
    for (unsigned bits = 0; bits < 16; ++bits) {
        EventFlags flags = 0;
        for (unsigned i = 0; i < 4; ++i) {
            if (bits & (1u << i))
                flags |= each[i];
        }
        all.push_back(flags);
    }
    return all;
}

} // namespace quillon::platform
