#include "platform/linux/LinuxPlatform.h"

#include "BuildInfoValues.h"
#include "platform/linux/JournalLog.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/PortalMotionPreference.h"
#include "platform/linux/QtDisplays.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/QtTasks.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/XdgPaths.h"

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
    std::unique_ptr<X11OverlayWindows> overlays;
    std::unique_ptr<PortalMotionPreference> motion;
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

} // namespace quillon::platform::linux_
