#include "input/SyntheticPaste.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

bool SyntheticPaste::postKey(int keyCode, platform::EventFlags flags)
{
    if (keyCode < 0 || keyCode > 0xFFFF) {
        Log::error(
            QStringLiteral("SyntheticPaste: key code %1 is out of range; nothing posted").arg(keyCode));
        return false;
    }
    return platform::platform().keySynth().post(uint16_t(keyCode), flags);
}

bool SyntheticPaste::paste()
{
    return postKey(vKey, platform::KeyFlags::command);
}

} // namespace quillon
