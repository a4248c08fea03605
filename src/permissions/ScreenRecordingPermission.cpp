#include "permissions/ScreenRecordingPermission.h"

#include "platform/Platform.h"

namespace quillon {

void ScreenRecordingPermission::snapshotAtLaunch()
{
    if (didSnapshot)
        return;
    didSnapshot = true;
    grantedAtLaunch = platform::platform().permissions().screenCaptureAllowed();
}

bool ScreenRecordingPermission::relaunchNeeded()
{
    return !grantedAtLaunch && platform::platform().permissions().screenCaptureAllowed();
}

bool ScreenRecordingPermission::relaunch() { return platform::platform().appShell().relaunch(); }

void ScreenRecordingPermission::openSystemSettings()
{
    platform::platform().systemSettings().open(platform::SettingsPage::screenCapture);
}

} // namespace quillon
