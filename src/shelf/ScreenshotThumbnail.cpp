#include "shelf/ScreenshotThumbnail.h"

#include "platform/Platform.h"
#include "settings/SettingsKeys.h"

namespace quillon {

namespace {

platform::DefaultsStore& rootStore()
{
    return platform::platform().userDefaults().standard();
}

bool markerSet()
{
    return rootStore().boolForKey(SettingsKeys::shelfThumbnailHeldByUs);
}

} // namespace

void ScreenshotThumbnail::apply(bool suppress)
{
    if (!suppress) {
        restore();
        return;
    }
    platform::ScreenshotPrefs& prefs = platform::platform().screenshotPrefs();
    if (!prefs.isKnown())
        return;
    const bool alreadyOff = prefs.showThumbnail() == std::optional<bool>(false);
    if (markerSet()) {
        // An earlier run's holding, left by a crash or a forced quit: ours.
        s_claimedHere = true;
        if (!alreadyOff)
            prefs.setShowThumbnail(false);
        return;
    }
    // Off by the user's own choice: theirs, never given back by us.
    if (alreadyOff)
        return;
    prefs.setShowThumbnail(false);
    s_claimedHere = true;
    rootStore().set(SettingsKeys::shelfThumbnailHeldByUs, platform::PlistValue(true));
}

void ScreenshotThumbnail::restore()
{
    platform::ScreenshotPrefs& prefs = platform::platform().screenshotPrefs();
    if (!prefs.isKnown() || platform::platform().appShell().anotherInstanceIsRunning())
        return;
    if (!markerSet())
        return;
    prefs.removeShowThumbnail();
    rootStore().remove(SettingsKeys::shelfThumbnailHeldByUs);
}

} // namespace quillon
