#include "windows/WindowSpaces.h"

namespace quillon {

WindowSpaces& WindowSpaces::shared()
{
    static WindowSpaces instance;
    return instance;
}

bool WindowSpaces::isOnOtherSpace(uint32_t, uint64_t) const
{
    return false;
}

std::optional<uint64_t> WindowSpaces::otherSpace(uint32_t, uint64_t) const
{
    return std::nullopt;
}

} // namespace quillon
