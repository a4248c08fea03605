#include "windows/WindowList.h"

#include "platform/Platform.h"

#include <algorithm>

namespace quillon {

std::optional<std::vector<platform::WindowEntry>> windowList(WindowListOption option)
{
    auto list = platform::platform().windowServer().windowList(option == WindowListOption::onScreenOnly);
    if (!list)
        return std::nullopt;
    std::erase_if(*list, [](const platform::WindowEntry& entry) { return entry.desktopElement; });
    return list;
}

} // namespace quillon
