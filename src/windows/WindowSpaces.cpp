#include "windows/WindowSpaces.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>

namespace quillon {

WindowSpaces& WindowSpaces::shared()
{
    static WindowSpaces instance;
    return instance;
}

bool WindowSpaces::symbolsResolved()
{
    const auto snapshot = platform::platform().spaces().snapshot();
    if (snapshot->available)
        return true;
    {
        std::lock_guard lock(m_lock);
        if (m_logged == snapshot)
            return false;
        m_logged = snapshot;
    }
    Log::error(snapshot->reason + QStringLiteral("; falling back to per-app window counting"));
    return false;
}

uint64_t WindowSpaces::activeSpace() const { return platform::platform().spaces().activeSpace(); }

bool WindowSpaces::isOnOtherSpace(platform::WindowId windowID, uint64_t activeSpace) const
{
    return isOnOtherSpace(platform::platform().spaces().spacesOfWindow(windowID), activeSpace);
}

std::optional<uint64_t> WindowSpaces::otherSpace(platform::WindowId windowID, uint64_t activeSpace) const
{
    return otherSpace(platform::platform().spaces().spacesOfWindow(windowID), activeSpace);
}

bool WindowSpaces::isOnOtherSpace(const std::optional<std::vector<uint64_t>>& spaces, uint64_t activeSpace)
{
    if (!spaces || spaces->empty())
        return false;
    return std::find(spaces->begin(), spaces->end(), activeSpace) == spaces->end();
}

std::optional<uint64_t> WindowSpaces::otherSpace(const std::optional<std::vector<uint64_t>>& spaces,
                                                 uint64_t activeSpace)
{
    if (!spaces)
        return std::nullopt;
    for (const uint64_t space : *spaces) {
        if (space != activeSpace)
            return space;
    }
    return std::nullopt;
}

} // namespace quillon
