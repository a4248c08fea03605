#include "support/Updater.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

Updater::Updater()
{
    // Without a key no update could be verified; with one, this build still
    // has no framework to hand it to.
    if (!platform::platform().buildInfo().updateKey.isEmpty())
        Log::debug("Update key present, but this build has no update framework");
}

} // namespace quillon
