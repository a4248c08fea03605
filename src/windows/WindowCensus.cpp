#include "windows/WindowCensus.h"

#include "platform/Platform.h"
#include "windows/WindowList.h"
#include "windows/WindowSpaces.h"

#include <algorithm>
#include <iterator>

namespace quillon {

bool WindowCensus::isNormalWindow(const platform::WindowEntry& entry)
{
    if (!entry.layer || *entry.layer != platform::WindowEntry::normalLayer || !entry.bounds)
        return false;
    if (entry.alpha && *entry.alpha <= 0.05)
        return false;
    return entry.bounds->width() >= 40 && entry.bounds->height() >= 40;
}

std::optional<int> WindowCensus::onScreenWindowCount(int32_t pid)
{
    const auto list = windowList(WindowListOption::onScreenOnly);
    if (!list)
        return std::nullopt;
    return int(std::count_if(list->begin(), list->end(),
                             [&](const auto& entry) { return entry.pid == pid && isNormalWindow(entry); }));
}

std::optional<int> WindowCensus::otherSpaceWindowCount(int32_t pid)
{
    auto& spaces = WindowSpaces::shared();
    if (!spaces.symbolsResolved())
        return std::nullopt;
    const auto list = windowList(WindowListOption::all);
    if (!list)
        return std::nullopt;
    const uint64_t active = spaces.activeSpace();
    return int(std::count_if(list->begin(), list->end(), [&](const auto& entry) {
        return entry.pid == pid && isNormalWindow(entry) && WindowSpaces::isOnOtherSpace(entry.spaces, active);
    }));
}

std::optional<int> WindowCensus::keepAliveWindowCount(int32_t pid)
{
    auto& control = platform::platform().windowControl();
    const auto windows = control.windows(pid);
    if (!windows)
        return std::nullopt;
    return int(std::count_if(windows->begin(), windows->end(),
                             [&](platform::WindowId window) { return keepsAlive(control.kind(window)); }));
}

bool WindowCensus::keepsAlive(const std::optional<platform::WindowKind>& kind)
{
    // A window that declares nothing is counted: it may well be the app's only one.
    return !kind || std::find(std::begin(keepAliveSubroles), std::end(keepAliveSubroles), *kind) !=
                        std::end(keepAliveSubroles);
}

} // namespace quillon
