#pragma once

#include "fakes/FakeInput.h"
#include "fakes/FakeKeyTaps.h"
#include "fakes/FakeMainQueue.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FakePermissions.h"
#include "fakes/FakeSystemSettings.h"
#include "fakes/FakeUserNotifications.h"
#include "fakes/FakeOverlayWindows.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeUserDefaults.h"
#include "fakes/FakeStatusItem.h"
#include "fakes/FakeAppDirectory.h"
#include "fakes/FakeSpaces.h"
#include "fakes/FakeWindowControl.h"
#include "fakes/FakeWindowEvents.h"
#include "fakes/FakeWindowServer.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/FakeBluetooth.h"
#include "fakes/FakeNowPlaying.h"
#include "fakes/FakePowerSources.h"
#include "fakes/FakeSpaceGestures.h"
#include "fakes/FakePowerAssertions.h"
#include "fakes/FakeDragProbe.h"
#include "fakes/FakeFilePromises.h"
#include "fakes/FakeScreenshots.h"
#include "fakes/FakeScreenshotPrefs.h"
#include "fakes/FakeLoginItem.h"
#include "fakes/FakeWindowManagerPrefs.h"
#include "fakes/FakeVolumes.h"
#include "fakes/FakeXAttr.h"
#include "fakes/FakeScreenCapture.h"
#include "fakes/FakeRecognition.h"
#include "fakes/FakeThumbnails.h"
#include "fakes/FakeInputIdle.h"
#include "fakes/FakeSessionEvents.h"
#include "fakes/FakeFilePreview.h"
#include "fakes/FakeShareService.h"
#include "fakes/FakeFileManagerSelection.h"
#include "platform/Observers.h"
#include "platform/Platform.h"

#include <QTemporaryDir>
#include <deque>

namespace quillon::fakes {

/// Background work runs inline, at once. With `holdSerialJobs` set, jobs of
/// serial queues made afterwards wait until the test runs them, so that state
/// can change while a job "runs".
class InlineTasks final : public platform::Tasks {
public:
    InlineTasks() = default;
    void run(std::function<void()> work, std::function<void()> then) override;
    std::unique_ptr<platform::SerialQueue> makeSerial() override;

    /// Runs the oldest held job, then its follow-up; false when none waits.
    bool runHeldJob();
    /// Runs held jobs until none waits (jobs queued meanwhile included).
    int runHeldJobs();
    int heldJobCount() const { return int(held.size()); }

    bool holdSerialJobs = false;
    std::deque<std::pair<std::function<void()>, std::function<void()>>> held;
};

/// Every folder lives in one temporary folder that goes with the fake.
class FakePaths final : public platform::Paths {
public:
    FakePaths();
    QString home() const override { return m_root.path() + QStringLiteral("/home"); }
    QString configDir() const override { return m_root.path() + QStringLiteral("/config/Quillon"); }
    QString dataDir() const override { return m_root.path() + QStringLiteral("/data/Quillon"); }
    QString logDir() const override { return m_root.path() + QStringLiteral("/state/Quillon"); }
    QString desktopDir() const override { return m_root.path() + QStringLiteral("/home/Desktop"); }
    QString picturesDir() const override { return m_root.path() + QStringLiteral("/home/Pictures"); }
    QString tempDir() const override { return m_root.path() + QStringLiteral("/tmp"); }
    QString root() const { return m_root.path(); }

private:
    QTemporaryDir m_root;
};

/// Captures what would go to the system log.
class FakeSystemLog final : public platform::SystemLog {
public:
    struct Line {
        platform::LogLevel level;
        QString category;
        QString message;
    };
    void write(platform::LogLevel level, const QString& category, const QString& message) override
    {
        lines.push_back({level, category, message});
    }
    bool contains(const QString& text) const;
    std::vector<Line> lines;
};

/// Scripted screens (frames in the y-up global space).
class FakeDisplays final : public platform::Displays {
public:
    std::vector<platform::Screen> screens() const override { return screenList; }
    std::optional<platform::Screen> mainScreen() const override;
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

    /// Replaces the screens and tells the handlers.
    void setScreens(std::vector<platform::Screen> screens);
    std::vector<platform::Screen> screenList;
    std::optional<int> mainIndex;

private:
    platform::Observers<> m_handlers;
};

/// The platform of the tests. Installs itself on construction and removes
/// itself when destroyed.
class FakePlatform final : public platform::Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    platform::MainQueue& mainQueue() override { return queue; }
    platform::Clock& clock() override { return queue; }
    platform::Tasks& tasks() override { return tasksImpl; }
    platform::Paths& paths() override { return pathsImpl; }
    platform::UserDefaults& userDefaults() override { return defaults; }
    platform::SystemLog& systemLog() override { return log; }
    const platform::BuildInfo& buildInfo() override { return build; }
    const platform::MachineFacts& machineFacts() override { return machine; }
    platform::Displays& displays() override { return displaysImpl; }
    platform::KeyEvents& keyEvents() override { return keyEventsImpl; }
    platform::Pointer& pointer() override { return pointerImpl; }
    platform::HotKeys& hotKeys() override { return hotKeysImpl; }
    platform::Permissions& permissions() override { return permissionsImpl; }
    platform::UserNotifications& userNotifications() override { return notifications; }
    platform::SystemSettings& systemSettings() override { return systemSettingsImpl; }
    platform::AppShell& appShell() override { return appShellImpl; }
    platform::OverlayWindows& overlayWindows() override { return overlays; }
    platform::MotionPreference& motionPreference() override { return motion; }
    platform::StatusBar& statusBar() override { return statusBarImpl; }
    platform::WindowServer& windowServer() override { return windowServerImpl; }
    platform::WindowControl& windowControl() override { return windowControlImpl; }
    platform::WindowEvents& windowEvents() override { return windowEventsImpl; }
    platform::Spaces& spaces() override { return spacesImpl; }
    platform::Workspace& workspace() override { return workspaceImpl; }
    platform::AppDirectory& appDirectory() override { return appDirectoryImpl; }
    platform::NowPlaying& nowPlaying() override { return nowPlayingImpl; }
    platform::MediaKeys& mediaKeys() override { return mediaKeysImpl; }
    platform::PowerSources& powerSources() override { return powerSourcesImpl; }
    platform::Bluetooth& bluetooth() override { return bluetoothImpl; }
    platform::KeyInterceptor& keyInterceptor() override { return interceptorImpl; }
    platform::KeySynth& keySynth() override { return keySynthImpl; }
    platform::KeyCharacters& keyCharacters() override { return keyCharactersImpl; }
    platform::InputAccess& inputAccess() override { return inputAccessImpl; }
    platform::Pasteboard& pasteboard() override { return pasteboardImpl; }
    platform::SpaceGestures& spaceGestures() override { return spaceGesturesImpl; }
    platform::PowerAssertions& powerAssertions() override { return powerAssertionsImpl; }
    platform::Haptics& haptics() override { return hapticsImpl; }
    platform::DragProbe& dragProbe() override { return dragProbeImpl; }
    platform::FilePromises& filePromises() override { return filePromisesImpl; }
    platform::Screenshots& screenshots() override { return screenshotsImpl; }
    platform::ScreenshotPrefs& screenshotPrefs() override { return screenshotPrefsImpl; }
    platform::LoginItem& loginItem() override { return loginItemImpl; }
    platform::WindowManagerPrefs& windowManagerPrefs() override { return windowManagerPrefsImpl; }
    platform::Volumes& volumes() override { return volumesImpl; }
    platform::XAttr& xattr() override { return xattrImpl; }
    platform::ScreenCapture& screenCapture() override { return screenCaptureImpl; }
    platform::TextRecognizer& textRecognizer() override { return textRecognizerImpl; }
    platform::BarcodeReader& barcodeReader() override { return barcodeReaderImpl; }
    platform::ColorSampler& colorSampler() override { return colorSamplerImpl; }
    platform::Thumbnails& thumbnails() override { return thumbnailsImpl; }
    platform::InputIdle& inputIdle() override { return inputIdleImpl; }
    platform::SessionEvents& sessionEvents() override { return sessionEventsImpl; }
    platform::FilePreview& filePreview() override { return filePreviewImpl; }
    platform::ShareService& shareService() override { return shareServiceImpl; }
    platform::FileManagerSelection& fileManagerSelection() override { return fileManagerSelectionImpl; }

    FakeMainQueue queue;
    InlineTasks tasksImpl;
    FakePaths pathsImpl;
    FakeUserDefaults defaults;
    FakeSystemLog log;
    platform::BuildInfo build{QStringLiteral("app.quillon.Quillon"), QStringLiteral("1.4.2"), QStringLiteral("87"),
                              QStringLiteral("3fa9c1e"), QString(), QString()};
    platform::MachineFacts machine{QStringLiteral("Framework Laptop 13"), QStringLiteral("x86_64"), 8,
                                   qint64(16) << 30};
    FakeDisplays displaysImpl;
    FakeKeyEvents keyEventsImpl;
    FakePointer pointerImpl;
    FakeHotKeys hotKeysImpl;
    FakePermissions permissionsImpl;
    FakeUserNotifications notifications{queue};
    FakeSystemSettings systemSettingsImpl;
    FakeAppShell appShellImpl;
    FakeOverlayWindows overlays;
    FakeMotionPreference motion;
    FakeStatusBar statusBarImpl;
    FakeWindowServer windowServerImpl;
    FakeWindowControl windowControlImpl;
    FakeWindowEvents windowEventsImpl;
    FakeSpaces spacesImpl;
    FakeWorkspace workspaceImpl;
    FakeAppDirectory appDirectoryImpl;
    FakeNowPlaying nowPlayingImpl;
    FakeMediaKeys mediaKeysImpl;
    FakePowerSources powerSourcesImpl;
    FakeBluetooth bluetoothImpl;
    FakeKeyInterceptor interceptorImpl;
    FakeKeySynth keySynthImpl;
    FakeKeyCharacters keyCharactersImpl;
    FakeInputAccess inputAccessImpl;
    FakePasteboard pasteboardImpl;
    FakeSpaceGestures spaceGesturesImpl;
    FakePowerAssertions powerAssertionsImpl;
    FakeHaptics hapticsImpl;
    FakeDragProbe dragProbeImpl;
    FakeFilePromises filePromisesImpl;
    FakeScreenshots screenshotsImpl;
    FakeScreenshotPrefs screenshotPrefsImpl;
    FakeLoginItem loginItemImpl;
    FakeWindowManagerPrefs windowManagerPrefsImpl;
    FakeVolumes volumesImpl;
    FakeXAttr xattrImpl;
    FakeScreenCapture screenCaptureImpl;
    FakeTextRecognizer textRecognizerImpl;
    FakeBarcodeReader barcodeReaderImpl;
    FakeColorSampler colorSamplerImpl;
    FakeThumbnails thumbnailsImpl;
    FakeInputIdle inputIdleImpl;
    FakeSessionEvents sessionEventsImpl;
    FakeFilePreview filePreviewImpl;
    FakeShareService shareServiceImpl;
    FakeFileManagerSelection fileManagerSelectionImpl;

private:
    platform::Platform* m_previous = nullptr;
};

/// A 1440×900 display at the origin with a 25-point top panel.
platform::Screen makeScreen(const QRectF& frame, double menuBar = 25.0, const QString& id = QStringLiteral("screen"));

} // namespace quillon::fakes
