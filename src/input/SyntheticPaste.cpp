#include "input/SyntheticPaste.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

namespace {

// Posted on the main thread only.
int posted = 0;

} // namespace

bool SyntheticPaste::postKey(int keyCode, platform::EventFlags flags)
{
    if (keyCode < 0 || keyCode > 0xFFFF) {
        Log::error(
            QStringLiteral("SyntheticPaste: key code %1 is out of range; nothing posted").arg(keyCode));
        return false;
    }
    if (!platform::platform().keySynth().post(uint16_t(keyCode), flags))
        return false;
    ++posted;
    return true;
}

int SyntheticPaste::postCount()
{
    return posted;
}

bool SyntheticPaste::paste()
{
    return postKey(vKey, platform::KeyFlags::command);
}

} // namespace quillon
