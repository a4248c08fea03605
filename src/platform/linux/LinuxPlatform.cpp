#include "platform/linux/LinuxPlatform.h"

#include "BuildInfoValues.h"
#include "platform/linux/JournalLog.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/QtTasks.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/XdgAppDirectory.h"
#include "platform/linux/X11Spaces.h"
#include "platform/linux/X11WindowControl.h"
#include "platform/linux/X11WindowEvents.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"

#include <mutex>

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
    // Each on an X connection of its own; the first three can be first
    // asked for from the sweep's census thread.
    std::once_flag windowServerOnce, windowControlOnce, spacesOnce;
    std::unique_ptr<X11WindowServer> windowServer;
    std::unique_ptr<X11WindowControl> windowControl;
    std::unique_ptr<X11Spaces> spaces;
    std::unique_ptr<X11WindowEvents> windowEvents;
    std::unique_ptr<XdgAppDirectory> appDirectory;
    std::unique_ptr<X11Workspace> workspace;
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

} // namespace quillon::platform::linux_
