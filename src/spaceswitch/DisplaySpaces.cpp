#include "spaceswitch/DisplaySpaces.h"

#include "platform/Platform.h"

#include <algorithm>

namespace quillon {

std::optional<int> ManagedDisplay::firstIndexOf(uint64_t space) const
{
    const auto it = std::find(spaces.begin(), spaces.end(), space);
    if (it == spaces.end())
        return std::nullopt;
    return int(it - spaces.begin());
}

std::optional<int> ManagedDisplay::lastIndexOf(uint64_t space) const
{
    const auto it = std::find(spaces.rbegin(), spaces.rend(), space);
    if (it == spaces.rend())
        return std::nullopt;
    return int(spaces.rend() - it) - 1;
}

DisplaySpaces DisplaySpaces::current()
{
    DisplaySpaces now;
    auto& spaces = platform::platform().spaces();
    const auto snapshot = spaces.snapshot();
    now.available = snapshot->available;
    if (now.available) {
        now.activeSpace = snapshot->activeSpace;
        now.displays.push_back(ManagedDisplay{std::nullopt, spaces.displaySpaces(), snapshot->activeSpace});
    }
    const QPointF pointer = platform::platform().pointer().location();
    for (const auto& screen : platform::platform().displays().screens()) {
        if (screen.frame.contains(pointer)) {
            now.pointerDisplay = screen.id;
            break;
        }
    }
    return now;
}

const ManagedDisplay* DisplaySpaces::swipeDisplay() const
{
    if (displays.empty())
        return nullptr;
    if (pointerDisplay) {
        for (const auto& display : displays) {
            if (display.identifier == pointerDisplay)
                return &display;
        }
    }
    return &displays.front();
}

const ManagedDisplay* DisplaySpaces::queryDisplay() const
{
    for (const auto& display : displays) {
        if (!pointerDisplay || !display.identifier || display.identifier == pointerDisplay)
            return &display;
    }
    return nullptr;
}

std::optional<SpaceInfo> DisplaySpaces::pointerDisplayInfo() const
{
    const ManagedDisplay* display = available ? queryDisplay() : nullptr;
    if (!display)
        return std::nullopt;
    SpaceInfo info;
    info.count = int(display->spaces.size());
    info.index = display->lastIndexOf(display->currentSpace).value_or(-1);
    return info;
}

} // namespace quillon
