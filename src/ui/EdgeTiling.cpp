#include "ui/EdgeTiling.h"

#include "platform/Platform.h"

namespace quillon {

bool EdgeTiling::isEnabled()
{
    return platform::platform().windowManagerPrefs().edgeTilingEnabled().value_or(false);
}

} // namespace quillon
