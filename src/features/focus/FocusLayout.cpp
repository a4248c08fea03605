#include "features/focus/FocusLayout.h"

#include <algorithm>

namespace quillon::FocusLayout {

std::optional<qulonglong> litWindowID(std::optional<qint64> owner, std::optional<qulonglong> focused,
                                      const std::vector<Owned>& onScreen)
{
    if (!owner)
        return std::nullopt;
    if (focused) {
        const bool listed = std::any_of(onScreen.begin(), onScreen.end(), [&](const Owned& o) {
            return o.pid == *owner && o.window.id == *focused;
        });
        if (listed)
            return focused;
    }
    for (const Owned& o : onScreen) {
        if (o.pid == *owner)
            return o.window.id;
    }
    return std::nullopt;
}

std::vector<Window> dimCandidates(std::optional<qulonglong> lit, std::optional<qint64> owner,
                                  const std::vector<Owned>& onScreen)
{
    const auto litAt = std::find_if(onScreen.begin(), onScreen.end(),
                                    [&](const Owned& o) { return lit && o.window.id == *lit; });
    std::vector<Window> dimmed;
    for (auto it = onScreen.begin(); it != onScreen.end(); ++it) {
        if (litAt == onScreen.end() || it > litAt || (it < litAt && (!owner || it->pid != *owner)))
            dimmed.push_back(it->window);
    }
    return dimmed;
}

std::vector<std::optional<qulonglong>> topmostWindowPerScreen(const std::vector<QRectF>& screens,
                                                              const std::vector<Window>& windows)
{
    std::vector<std::optional<qulonglong>> topmost(screens.size());
    for (const Window& w : windows) {
        for (std::size_t i = 0; i < screens.size(); ++i) {
            if (!topmost[i] && w.bounds.intersects(screens[i]))
                topmost[i] = w.id;
        }
    }
    return topmost;
}

} // namespace quillon::FocusLayout
