#pragma once

#include "platform/BuildInfo.h"
#include "platform/MachineFacts.h"
#include "platform/Clock.h"
#include "platform/Displays.h"
#include "platform/HotKeys.h"
#include "platform/KeyEvents.h"
#include "platform/MainQueue.h"
#include "platform/MotionPreference.h"
#include "platform/OverlayWindows.h"
#include "platform/Paths.h"
#include "platform/Pointer.h"
#include "platform/SystemLog.h"
#include "platform/Tasks.h"
#include "platform/UserDefaults.h"
#include "platform/AppShell.h"
#include "platform/Permissions.h"
#include "platform/SystemSettings.h"
#include "platform/UserNotifications.h"
#include "platform/StatusItem.h"
#include "platform/AppDirectory.h"
#include "platform/Spaces.h"
#include "platform/WindowControl.h"
#include "platform/WindowEvents.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"
#include "platform/Bluetooth.h"
#include "platform/NowPlaying.h"
#include "platform/PowerSources.h"
#include "platform/InputAccess.h"
#include "platform/KeyCharacters.h"
#include "platform/KeyInterceptor.h"
#include "platform/KeySynth.h"
#include "platform/Pasteboard.h"
#include "platform/SpaceGestures.h"
#include "platform/PowerAssertions.h"
#include "platform/Haptics.h"
#include "platform/DragProbe.h"
#include "platform/FilePromises.h"
#include "platform/Screenshots.h"
#include "platform/ScreenshotPrefs.h"
#include "platform/LoginItem.h"
#include "platform/WindowManagerPrefs.h"
#include "platform/Volumes.h"
#include "platform/XAttr.h"
#include "platform/ScreenCapture.h"
#include "platform/TextRecognizer.h"
#include "platform/ColorSampler.h"
#include "platform/Thumbnails.h"
#include "platform/InputIdle.h"
#include "platform/SessionEvents.h"
#include "platform/FilePreview.h"
#include "platform/ShareService.h"
#include "platform/FileManagerSelection.h"

namespace quillon::platform {

/// Every facility the system gets from the desktop, in one place. `main`
/// installs the Linux implementation; each test installs a FakePlatform.
class Platform {
public:
    virtual ~Platform() = default;

    virtual MainQueue& mainQueue() = 0;
    virtual Clock& clock() = 0;
    virtual Tasks& tasks() = 0;
    virtual Paths& paths() = 0;
    virtual UserDefaults& userDefaults() = 0;
    virtual SystemLog& systemLog() = 0;
    virtual const BuildInfo& buildInfo() = 0;
    virtual const MachineFacts& machineFacts() = 0;
    virtual Displays& displays() = 0;
    virtual KeyEvents& keyEvents() = 0;
    virtual Pointer& pointer() = 0;
    virtual HotKeys& hotKeys() = 0;
    virtual Permissions& permissions() = 0;
    virtual UserNotifications& userNotifications() = 0;
    virtual SystemSettings& systemSettings() = 0;
    virtual AppShell& appShell() = 0;
    virtual OverlayWindows& overlayWindows() = 0;
    virtual MotionPreference& motionPreference() = 0;
    virtual StatusBar& statusBar() = 0;
    /// Windows, workspaces and applications. The window server, window
    /// control and Spaces may be first reached from background work.
    virtual WindowServer& windowServer() = 0;
    virtual WindowControl& windowControl() = 0;
    virtual WindowEvents& windowEvents() = 0;
    virtual Spaces& spaces() = 0;
    virtual Workspace& workspace() = 0;
    virtual AppDirectory& appDirectory() = 0;
    /// Music players and media keys, the power sources, Bluetooth devices.
    virtual NowPlaying& nowPlaying() = 0;
    virtual MediaKeys& mediaKeys() = 0;
    virtual PowerSources& powerSources() = 0;
    virtual Bluetooth& bluetooth() = 0;
    virtual KeyInterceptor& keyInterceptor() = 0;
    virtual KeySynth& keySynth() = 0;
    virtual KeyCharacters& keyCharacters() = 0;
    virtual InputAccess& inputAccess() = 0;
    virtual Pasteboard& pasteboard() = 0;
    /// Touchpad swipes for switching workspaces.
    virtual SpaceGestures& spaceGestures() = 0;
    /// Keep-awake assertions (idle sleep, screen blanking).
    virtual PowerAssertions& powerAssertions() = 0;
    virtual Haptics& haptics() = 0;
    /// What a drag under way carries, and the promised files of a drop.
    virtual DragProbe& dragProbe() = 0;
    virtual FilePromises& filePromises() = 0;
    /// The screenshot folder and its new files.
    virtual Screenshots& screenshots() = 0;
    virtual ScreenshotPrefs& screenshotPrefs() = 0;
    /// Launch at login.
    virtual LoginItem& loginItem() = 0;
    virtual WindowManagerPrefs& windowManagerPrefs() = 0;
    /// The mounted filesystems.
    virtual Volumes& volumes() = 0;
    /// Extended attributes of files.
    virtual XAttr& xattr() = 0;
    /// Still images of the screens.
    virtual ScreenCapture& screenCapture() = 0;
    /// Text and barcodes in images; usable from background work.
    virtual TextRecognizer& textRecognizer() = 0;
    virtual BarcodeReader& barcodeReader() = 0;
    /// The colour loupe.
    virtual ColorSampler& colorSampler() = 0;
    /// Small previews of files.
    virtual Thumbnails& thumbnails() = 0;
    /// How long the keyboard and the pointer have been left alone.
    virtual InputIdle& inputIdle() = 0;
    /// Waking from sleep, and our session becoming active again.
    virtual SessionEvents& sessionEvents() = 0;
    /// The large preview of files, and sending files to a device.
    virtual FilePreview& filePreview() = 0;
    virtual ShareService& shareService() = 0;
    /// What is picked in the file manager.
    virtual FileManagerSelection& fileManagerSelection() = 0;
};

/// The installed platform. Aborts when none is installed. Code outside this
/// namespace calls it as `platform::platform()`: a function cannot share the
/// namespace's name in `quillon`.
Platform& platform();
bool hasPlatform();
/// Installs (or, with nullptr, removes) the platform. Not owning.
void setPlatform(Platform* platform);

} // namespace quillon::platform
