#include "platform/linux/LinuxPlatform.h"

#include "BuildInfoValues.h"
#include "platform/linux/JournalLog.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/PortalMotionPreference.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/QtTasks.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11HotKeys.h"
#include "platform/linux/X11KeyEvents.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/FreedesktopNotifications.h"
#include "platform/linux/LinuxSystemSettings.h"
#include "platform/linux/QtAppShell.h"
#include "platform/linux/X11Permissions.h"
#include "platform/linux/QtStatusItem.h"
#include "platform/linux/XdgAppDirectory.h"
#include "platform/linux/X11Spaces.h"
#include "platform/linux/X11WindowControl.h"
#include "platform/linux/X11WindowEvents.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/BluezBluetooth.h"
#include "platform/linux/MprisNowPlaying.h"
#include "platform/linux/UPowerSources.h"
#include "platform/linux/X11SpaceGestures.h"

#include <mutex>
#include "platform/linux/X11InputAccess.h"
#include "platform/linux/X11KeyInterceptor.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/XkbKeyCharacters.h"
#include "platform/linux/QtPasteboard.h"

namespace quillon::platform::linux_ {

struct LinuxPlatform::Parts {
    BuildInfo build{QStringLiteral(QUILLON_APP_ID), QStringLiteral(QUILLON_VERSION), QStringLiteral(QUILLON_BUILD),
                    QStringLiteral(QUILLON_COMMIT), QString()};
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
    std::unique_ptr<BluezBluetooth> bluetooth;
    std::unique_ptr<X11KeyInterceptor> keyInterceptor;
    std::unique_ptr<X11KeySynth> keySynth;
    std::unique_ptr<XkbKeyCharacters> keyCharacters;
    std::unique_ptr<X11InputAccess> inputAccess;
    QtPasteboard pasteboard;
    X11SpaceGestures spaceGestures;
};

LinuxPlatform::LinuxPlatform()
    : m(std::make_unique<Parts>())
{
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

// Created on first use: loading a domain may log, which needs the platform installed.
UserDefaults& LinuxPlatform::userDefaults()
{
    if (!m->defaults)
        m->defaults = std::make_unique<JsonUserDefaults>(m->paths.configDir(), m->build.appId);
    return *m->defaults;
}

Displays& LinuxPlatform::displays()
{
    if (!m->displays)
        m->displays = std::make_unique<QtDisplays>();
    return *m->displays;
}

// Input connections open on first use: a process that never listens to keys
// or the pointer holds none.
KeyEvents& LinuxPlatform::keyEvents()
{
    if (!m->keyEvents)
        m->keyEvents = std::make_unique<X11KeyEvents>();
    return *m->keyEvents;
}

Pointer& LinuxPlatform::pointer()
{
    if (!m->pointer)
        m->pointer = std::make_unique<X11Pointer>();
    return *m->pointer;
}

HotKeys& LinuxPlatform::hotKeys()
{
    if (!m->hotKeys)
        m->hotKeys = std::make_unique<X11HotKeys>();
    return *m->hotKeys;
}

// Created on first use, like the displays: each needs the QApplication, and
// most talk to the X server or the session bus.
Permissions& LinuxPlatform::permissions()
{
    if (!m->permissions)
        m->permissions = std::make_unique<X11Permissions>();
    return *m->permissions;
}

UserNotifications& LinuxPlatform::userNotifications()
{
    if (!m->notifications)
        m->notifications = std::make_unique<FreedesktopNotifications>(m->build.appId);
    return *m->notifications;
}

SystemSettings& LinuxPlatform::systemSettings() { return m->systemSettings; }

AppShell& LinuxPlatform::appShell()
{
    if (!m->appShell)
        m->appShell = std::make_unique<QtAppShell>(m->build.appId);
    return *m->appShell;
}

OverlayWindows& LinuxPlatform::overlayWindows()
{
    if (!m->overlays)
        m->overlays = std::make_unique<X11OverlayWindows>();
    return *m->overlays;
}

// Created on first use, once the event loop's D-Bus connection can be made.
MotionPreference& LinuxPlatform::motionPreference()
{
    if (!m->motion)
        m->motion = std::make_unique<PortalMotionPreference>();
    return *m->motion;
}

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
    if (!m->windowEvents)
        m->windowEvents = std::make_unique<X11WindowEvents>(X11Connection::open());
    return *m->windowEvents;
}

AppDirectory& LinuxPlatform::appDirectory()
{
    if (!m->appDirectory)
        m->appDirectory = std::make_unique<XdgAppDirectory>();
    return *m->appDirectory;
}

Workspace& LinuxPlatform::workspace()
{
    if (!m->workspace)
        m->workspace = std::make_unique<X11Workspace>(X11Connection::open(), appDirectory());
    return *m->workspace;
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

PowerSources& LinuxPlatform::powerSources()
{
    if (!m->power)
        m->power = std::make_unique<UPowerSources>();
    return *m->power;
}

Bluetooth& LinuxPlatform::bluetooth()
{
    if (!m->bluetooth)
        m->bluetooth = std::make_unique<BluezBluetooth>();
    return *m->bluetooth;
}

// Key taps, synthetic keys and key text each open their own connection on
// first use.
KeyInterceptor& LinuxPlatform::keyInterceptor()
{
    if (!m->keyInterceptor)
        m->keyInterceptor = std::make_unique<X11KeyInterceptor>();
    return *m->keyInterceptor;
}

KeySynth& LinuxPlatform::keySynth()
{
    if (!m->keySynth)
        m->keySynth = std::make_unique<X11KeySynth>();
    return *m->keySynth;
}

KeyCharacters& LinuxPlatform::keyCharacters()
{
    if (!m->keyCharacters)
        m->keyCharacters = std::make_unique<XkbKeyCharacters>();
    return *m->keyCharacters;
}

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

Pasteboard& LinuxPlatform::pasteboard()
{
    return m->pasteboard;
}

} // namespace quillon::platform::linux_
