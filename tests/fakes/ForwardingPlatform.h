#pragma once

#include "fakes/FakePlatform.h"

namespace quillon::fakes {

/// A platform that answers from a FakePlatform for everything a test does not
/// replace: a desktop test derives from it and overrides only the facilities
/// whose real Linux implementation it checks. Installs itself while it lives.
class ForwardingPlatform : public platform::Platform {
public:
    ForwardingPlatform() { platform::setPlatform(this); }
    ~ForwardingPlatform() override { platform::setPlatform(&fake); }

    platform::MainQueue& mainQueue() override { return fake.mainQueue(); }
    platform::Clock& clock() override { return fake.clock(); }
    platform::Tasks& tasks() override { return fake.tasks(); }
    platform::Paths& paths() override { return fake.paths(); }
    platform::UserDefaults& userDefaults() override { return fake.userDefaults(); }
    platform::SystemLog& systemLog() override { return fake.systemLog(); }
    const platform::BuildInfo& buildInfo() override { return fake.buildInfo(); }
    const platform::MachineFacts& machineFacts() override { return fake.machineFacts(); }
    platform::Displays& displays() override { return fake.displays(); }
    platform::KeyEvents& keyEvents() override { return fake.keyEvents(); }
    platform::Pointer& pointer() override { return fake.pointer(); }
    platform::HotKeys& hotKeys() override { return fake.hotKeys(); }
    platform::Permissions& permissions() override { return fake.permissions(); }
    platform::UserNotifications& userNotifications() override { return fake.userNotifications(); }
    platform::SystemSettings& systemSettings() override { return fake.systemSettings(); }
    platform::AppShell& appShell() override { return fake.appShell(); }
    platform::OverlayWindows& overlayWindows() override { return fake.overlayWindows(); }
    platform::MotionPreference& motionPreference() override { return fake.motionPreference(); }
    platform::StatusBar& statusBar() override { return fake.statusBar(); }
    platform::WindowServer& windowServer() override { return fake.windowServer(); }
    platform::WindowControl& windowControl() override { return fake.windowControl(); }
    platform::WindowEvents& windowEvents() override { return fake.windowEvents(); }
    platform::Spaces& spaces() override { return fake.spaces(); }
    platform::Workspace& workspace() override { return fake.workspace(); }
    platform::AppDirectory& appDirectory() override { return fake.appDirectory(); }
    platform::NowPlaying& nowPlaying() override { return fake.nowPlaying(); }
    platform::MediaKeys& mediaKeys() override { return fake.mediaKeys(); }
    platform::PowerSources& powerSources() override { return fake.powerSources(); }
    platform::Bluetooth& bluetooth() override { return fake.bluetooth(); }
    platform::KeyInterceptor& keyInterceptor() override { return fake.keyInterceptor(); }
    platform::KeySynth& keySynth() override { return fake.keySynth(); }
    platform::KeyCharacters& keyCharacters() override { return fake.keyCharacters(); }
    platform::InputAccess& inputAccess() override { return fake.inputAccess(); }
    platform::Pasteboard& pasteboard() override { return fake.pasteboard(); }
    platform::SpaceGestures& spaceGestures() override { return fake.spaceGestures(); }
    platform::PowerAssertions& powerAssertions() override { return fake.powerAssertions(); }
    platform::Haptics& haptics() override { return fake.haptics(); }
    platform::DragProbe& dragProbe() override { return fake.dragProbe(); }
    platform::FilePromises& filePromises() override { return fake.filePromises(); }
    platform::Screenshots& screenshots() override { return fake.screenshots(); }
    platform::ScreenshotPrefs& screenshotPrefs() override { return fake.screenshotPrefs(); }
    platform::LoginItem& loginItem() override { return fake.loginItem(); }
    platform::WindowManagerPrefs& windowManagerPrefs() override { return fake.windowManagerPrefs(); }
    platform::Volumes& volumes() override { return fake.volumes(); }
    platform::XAttr& xattr() override { return fake.xattr(); }
    platform::ScreenCapture& screenCapture() override { return fake.screenCapture(); }
    platform::TextRecognizer& textRecognizer() override { return fake.textRecognizer(); }
    platform::BarcodeReader& barcodeReader() override { return fake.barcodeReader(); }
    platform::ColorSampler& colorSampler() override { return fake.colorSampler(); }
    platform::Thumbnails& thumbnails() override { return fake.thumbnails(); }
    platform::InputIdle& inputIdle() override { return fake.inputIdle(); }
    platform::SessionEvents& sessionEvents() override { return fake.sessionEvents(); }
    platform::FilePreview& filePreview() override { return fake.filePreview(); }
    platform::ShareService& shareService() override { return fake.shareService(); }
    platform::FileManagerSelection& fileManagerSelection() override { return fake.fileManagerSelection(); }

    FakePlatform fake;
};

} // namespace quillon::fakes
