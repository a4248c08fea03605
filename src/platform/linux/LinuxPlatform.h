#pragma once

#include "platform/Platform.h"

#include <memory>

namespace quillon::platform::linux_ {

/// The real desktop: Qt, X11 and the session's D-Bus services. Create it
/// after the QApplication.
class LinuxPlatform final : public Platform {
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    MainQueue& mainQueue() override;
    Clock& clock() override;
    Tasks& tasks() override;
    Paths& paths() override;
    UserDefaults& userDefaults() override;
    SystemLog& systemLog() override;
    const BuildInfo& buildInfo() override;
    const MachineFacts& machineFacts() override;
    Displays& displays() override;
    KeyEvents& keyEvents() override;
    Pointer& pointer() override;
    HotKeys& hotKeys() override;
    Permissions& permissions() override;
    UserNotifications& userNotifications() override;
    SystemSettings& systemSettings() override;
    AppShell& appShell() override;
    OverlayWindows& overlayWindows() override;
    MotionPreference& motionPreference() override;
    StatusBar& statusBar() override;
    WindowServer& windowServer() override;
    WindowControl& windowControl() override;
    WindowEvents& windowEvents() override;
    Spaces& spaces() override;
    Workspace& workspace() override;
    AppDirectory& appDirectory() override;
    NowPlaying& nowPlaying() override;
    MediaKeys& mediaKeys() override;
    PowerSources& powerSources() override;
    PowerAssertions& powerAssertions() override;
    Haptics& haptics() override;
    Bluetooth& bluetooth() override;
    KeyInterceptor& keyInterceptor() override;
    KeySynth& keySynth() override;
    KeyCharacters& keyCharacters() override;
    InputAccess& inputAccess() override;
    Pasteboard& pasteboard() override;
    SpaceGestures& spaceGestures() override;
    DragProbe& dragProbe() override;
    FilePromises& filePromises() override;
    Screenshots& screenshots() override;
    ScreenshotPrefs& screenshotPrefs() override;
    LoginItem& loginItem() override;
    WindowManagerPrefs& windowManagerPrefs() override;
    Volumes& volumes() override;
    XAttr& xattr() override;
    ScreenCapture& screenCapture() override;
    TextRecognizer& textRecognizer() override;
    BarcodeReader& barcodeReader() override;
    ColorSampler& colorSampler() override;
    Thumbnails& thumbnails() override;
    InputIdle& inputIdle() override;
    SessionEvents& sessionEvents() override;
    FilePreview& filePreview() override;
    ShareService& shareService() override;
    FileManagerSelection& fileManagerSelection() override;

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};

} // namespace quillon::platform::linux_
