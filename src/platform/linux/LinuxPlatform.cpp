#include "platform/linux/LinuxPlatform.h"

#include "BuildInfoValues.h"
#include "platform/linux/BluezBluetooth.h"
#include "platform/linux/DevicePixels.h"
#include "platform/linux/FreedesktopNotifications.h"
#include "platform/linux/JournalLog.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/LinuxMachineFacts.h"
#include "platform/linux/LinuxSystemSettings.h"
#include "platform/linux/MprisNowPlaying.h"
#include "platform/linux/PortalMotionPreference.h"
#include "platform/linux/QtAppShell.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/QtPasteboard.h"
#include "platform/linux/LinuxFilePromises.h"
#include "platform/linux/X11DragProbe.h"
#include "platform/linux/InotifyScreenshots.h"
#include "platform/linux/LinuxXAttr.h"
#include "platform/linux/LinuxThumbnails.h"
#include "platform/linux/NoScreenshotPrefs.h"
#include "platform/linux/UDisksVolumes.h"
#include "platform/linux/QtStatusItem.h"
#include "platform/linux/QtTasks.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/UPowerSources.h"
#include "platform/linux/LogindPowerAssertions.h"
#include "platform/linux/LogindSessionEvents.h"
#include "platform/linux/KdeConnectShare.h"
#include "platform/linux/ClipboardFileManagerSelection.h"
#include "platform/linux/WindowFilePreview.h"
#include "platform/linux/X11HotKeys.h"
#include "platform/linux/X11InputAccess.h"
#include "platform/linux/X11InputIdle.h"
#include "platform/linux/X11KeyEvents.h"
#include "platform/linux/X11KeyInterceptor.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11ScreenCapture.h"
#include "platform/linux/TesseractTextRecognizer.h"
#include "platform/linux/ZbarBarcodeReader.h"
#include "platform/linux/LoupeColorSampler.h"
#include "platform/linux/X11Permissions.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/X11SpaceGestures.h"
#include "platform/linux/AutostartLoginItem.h"
#include "platform/linux/X11WindowManagerPrefs.h"
#include "platform/linux/X11Spaces.h"
#include "platform/linux/X11WindowControl.h"
#include "platform/linux/X11WindowEvents.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAppDirectory.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/XkbKeyCharacters.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <mutex>

namespace quillon::platform::linux_ {

namespace {

// Facilities are created on first use: each needs the QApplication, and most
// open an X connection or reach a bus that a process may never need.
template <typename T, typename Make>
T& lazy(std::unique_ptr<T>& slot, Make make)
{
    if (!slot)
        slot = make();
    return *slot;
}

template <typename T>
T& lazy(std::unique_ptr<T>& slot)
{
    return lazy(slot, [] { return std::make_unique<T>(); });
}

} // namespace

struct LinuxPlatform::Parts {
    BuildInfo build{QStringLiteral(QUILLON_APP_ID), QStringLiteral(QUILLON_VERSION), QStringLiteral(QUILLON_BUILD),
                    QStringLiteral(QUILLON_COMMIT), QString(), QStringLiteral(QUILLON_HOMEPAGE)};
    MachineFacts machine = readMachineFacts();
    QtMainQueue queue;
    SystemClock clock;
    QtTasks tasks{queue};
    XdgPaths paths;
    JournalLog log;
    std::unique_ptr<JsonUserDefaults> defaults;
    std::unique_ptr<QtDisplays> displays;
    std::unique_ptr<X11KeyEvents> keyEvents;
    std::unique_ptr<X11Pointer> pointer;
    std::unique_ptr<X11HotKeys> hotKeys;
    std::unique_ptr<X11Permissions> permissions;
    std::unique_ptr<FreedesktopNotifications> notifications;
    LinuxSystemSettings systemSettings;
    std::unique_ptr<QtAppShell> appShell;
    std::unique_ptr<X11OverlayWindows> overlays;
    std::unique_ptr<PortalMotionPreference> motion;
    QtStatusBar statusBar;
    // Each on an X connection of its own; the first three can be first
    // asked for from the sweep's census thread.
    std::once_flag windowServerOnce, windowControlOnce, spacesOnce;
    std::unique_ptr<X11WindowServer> windowServer;
    std::unique_ptr<X11WindowControl> windowControl;
    std::unique_ptr<X11Spaces> spaces;
    std::unique_ptr<X11WindowEvents> windowEvents;
    std::unique_ptr<XdgAppDirectory> appDirectory;
    std::unique_ptr<X11Workspace> workspace;
    std::unique_ptr<MprisNowPlaying> mpris;
    std::unique_ptr<UPowerSources> power;
    std::unique_ptr<LogindPowerAssertions> powerAssertions;
    std::unique_ptr<BluezBluetooth> bluetooth;
    std::unique_ptr<X11KeyInterceptor> keyInterceptor;
    std::unique_ptr<X11KeySynth> keySynth;
    std::unique_ptr<XkbKeyCharacters> keyCharacters;
    std::unique_ptr<X11InputAccess> inputAccess;
    QtPasteboard pasteboard;
    X11SpaceGestures spaceGestures;
    std::unique_ptr<X11DragProbe> dragProbe;
    LinuxFilePromises filePromises;
    std::unique_ptr<InotifyScreenshots> screenshots;
    NoScreenshotPrefs screenshotPrefs;
    std::unique_ptr<AutostartLoginItem> loginItem;
    std::unique_ptr<X11WindowManagerPrefs> windowManagerPrefs;
    std::unique_ptr<UDisksVolumes> volumes;
    LinuxXAttr xattr;
    X11ScreenCapture screenCapture;
    TesseractTextRecognizer textRecognizer;
    ZbarBarcodeReader barcodeReader;
    std::unique_ptr<LoupeColorSampler> colorSampler;
    LinuxThumbnails thumbnails;
    std::unique_ptr<X11InputIdle> inputIdle;
    std::unique_ptr<LogindSessionEvents> sessionEvents;
    std::unique_ptr<WindowFilePreview> filePreview;
    std::unique_ptr<KdeConnectShare> share;
    ClipboardFileManagerSelection fileManagerSelection;
};

LinuxPlatform::LinuxPlatform()
    : m(std::make_unique<Parts>())
{
    // The window list may be read first on a background thread, which cannot
    // ask Qt for the screens' scale itself.
    DevicePixels::follow();
}

LinuxPlatform::~LinuxPlatform()
{
    if (hasPlatform() && &platform() == this)
        setPlatform(nullptr);
}

MainQueue& LinuxPlatform::mainQueue() { return m->queue; }
Clock& LinuxPlatform::clock() { return m->clock; }
Tasks& LinuxPlatform::tasks() { return m->tasks; }
Paths& LinuxPlatform::paths() { return m->paths; }
SystemLog& LinuxPlatform::systemLog() { return m->log; }
const BuildInfo& LinuxPlatform::buildInfo() { return m->build; }
const MachineFacts& LinuxPlatform::machineFacts() { return m->machine; }

// Created on first use: loading a domain may log, which needs the platform installed.
UserDefaults& LinuxPlatform::userDefaults()
{
    return lazy(m->defaults, [&] { return std::make_unique<JsonUserDefaults>(m->paths.configDir(), m->build.appId); });
}

Displays& LinuxPlatform::displays() { return lazy(m->displays); }

KeyEvents& LinuxPlatform::keyEvents() { return lazy(m->keyEvents); }

Pointer& LinuxPlatform::pointer() { return lazy(m->pointer); }

HotKeys& LinuxPlatform::hotKeys() { return lazy(m->hotKeys); }

Permissions& LinuxPlatform::permissions() { return lazy(m->permissions); }

UserNotifications& LinuxPlatform::userNotifications()
{
    return lazy(m->notifications, [&] { return std::make_unique<FreedesktopNotifications>(m->build.appId); });
}

SystemSettings& LinuxPlatform::systemSettings() { return m->systemSettings; }

AppShell& LinuxPlatform::appShell()
{
    return lazy(m->appShell, [&] { return std::make_unique<QtAppShell>(m->build.appId); });
}

OverlayWindows& LinuxPlatform::overlayWindows() { return lazy(m->overlays); }

MotionPreference& LinuxPlatform::motionPreference() { return lazy(m->motion); }

StatusBar& LinuxPlatform::statusBar() { return m->statusBar; }

WindowServer& LinuxPlatform::windowServer()
{
    std::call_once(m->windowServerOnce,
                   [this] { m->windowServer = std::make_unique<X11WindowServer>(X11Connection::open()); });
    return *m->windowServer;
}

WindowControl& LinuxPlatform::windowControl()
{
    std::call_once(m->windowControlOnce,
                   [this] { m->windowControl = std::make_unique<X11WindowControl>(X11Connection::open()); });
    return *m->windowControl;
}

Spaces& LinuxPlatform::spaces()
{
    std::call_once(m->spacesOnce, [this] { m->spaces = std::make_unique<X11Spaces>(X11Connection::open()); });
    return *m->spaces;
}

WindowEvents& LinuxPlatform::windowEvents()
{
    return lazy(m->windowEvents, [&] { return std::make_unique<X11WindowEvents>(X11Connection::open()); });
}

AppDirectory& LinuxPlatform::appDirectory() { return lazy(m->appDirectory); }

Workspace& LinuxPlatform::workspace()
{
    return lazy(m->workspace, [&] { return std::make_unique<X11Workspace>(X11Connection::open(), appDirectory()); });
}

// D-Bus services, reached on first use. Now playing and the media keys are
// one MPRIS client: the keys go to the player the music follows, and to the
// keyboard's media keys where no player takes them.
NowPlaying& LinuxPlatform::nowPlaying()
{
    if (!m->mpris) {
        m->mpris = std::make_unique<MprisNowPlaying>([this](MediaKeys::Key key) {
            keySynth();
            return m->keySynth->postMediaKey(key);
        });
    }
    return *m->mpris;
}

MediaKeys& LinuxPlatform::mediaKeys()
{
    nowPlaying();
    return *m->mpris;
}

PowerSources& LinuxPlatform::powerSources() { return lazy(m->power); }
PowerAssertions& LinuxPlatform::powerAssertions() { return lazy(m->powerAssertions); }

Haptics& LinuxPlatform::haptics()
{
    // No pointing device here gives touch feedback.
    class NoHaptics final : public Haptics {
    public:
        void perform() override {}
    };
    static NoHaptics none;
    return none;
}

Bluetooth& LinuxPlatform::bluetooth() { return lazy(m->bluetooth); }

KeyInterceptor& LinuxPlatform::keyInterceptor() { return lazy(m->keyInterceptor); }

KeySynth& LinuxPlatform::keySynth() { return lazy(m->keySynth); }

KeyCharacters& LinuxPlatform::keyCharacters() { return lazy(m->keyCharacters); }

InputAccess& LinuxPlatform::inputAccess()
{
    if (!m->inputAccess) {
        m->inputAccess = std::make_unique<X11InputAccess>(
            [this] { return m->keyInterceptor && m->keyInterceptor->holdsKeyboard(); });
    }
    return *m->inputAccess;
}

// Connects only when started.
SpaceGestures& LinuxPlatform::spaceGestures() { return m->spaceGestures; }

WindowManagerPrefs& LinuxPlatform::windowManagerPrefs()
{
    return lazy(m->windowManagerPrefs,
                [&] { return std::make_unique<X11WindowManagerPrefs>(QFileInfo(m->paths.configDir()).path()); });
}

LoginItem& LinuxPlatform::loginItem()
{
    // The autostart folder sits beside our own configuration folder.
    return lazy(m->loginItem, [&] {
        return std::make_unique<AutostartLoginItem>(QFileInfo(m->paths.configDir()).path() + QStringLiteral("/autostart"),
                                                    m->build.appId, QCoreApplication::applicationFilePath());
    });
}

Pasteboard& LinuxPlatform::pasteboard() { return m->pasteboard; }

// Opens its connection on first use, on the main thread.
DragProbe& LinuxPlatform::dragProbe() { return lazy(m->dragProbe); }

FilePromises& LinuxPlatform::filePromises() { return m->filePromises; }

Screenshots& LinuxPlatform::screenshots() { return lazy(m->screenshots); }

ScreenshotPrefs& LinuxPlatform::screenshotPrefs() { return m->screenshotPrefs; }
Volumes& LinuxPlatform::volumes() { return lazy(m->volumes); }
XAttr& LinuxPlatform::xattr() { return m->xattr; }
// Opens its connection on first use.
ScreenCapture& LinuxPlatform::screenCapture() { return m->screenCapture; }
TextRecognizer& LinuxPlatform::textRecognizer() { return m->textRecognizer; }
BarcodeReader& LinuxPlatform::barcodeReader() { return m->barcodeReader; }
// Its windows are made when it first opens, on the main thread.
ColorSampler& LinuxPlatform::colorSampler() { return lazy(m->colorSampler); }
Thumbnails& LinuxPlatform::thumbnails() { return m->thumbnails; }

InputIdle& LinuxPlatform::inputIdle() { return lazy(m->inputIdle); }

SessionEvents& LinuxPlatform::sessionEvents() { return lazy(m->sessionEvents); }

FilePreview& LinuxPlatform::filePreview() { return lazy(m->filePreview); }

ShareService& LinuxPlatform::shareService() { return lazy(m->share); }

FileManagerSelection& LinuxPlatform::fileManagerSelection() { return m->fileManagerSelection; }

} // namespace quillon::platform::linux_
