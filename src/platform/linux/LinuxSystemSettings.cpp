#include "platform/linux/LinuxSystemSettings.h"

#include "support/Log.h"

namespace quillon::platform::linux_ {

namespace {

const char* pageName(SettingsPage page)
{
    switch (page) {
    case SettingsPage::accessibility:
        return "Accessibility";
    case SettingsPage::automation:
        return "Automation";
    case SettingsPage::notifications:
        return "Notifications";
    case SettingsPage::screenCapture:
        return "Screen Recording";
    case SettingsPage::filesAndFolders:
        return "Files and Folders";
    case SettingsPage::loginItems:
        return "Login Items";
    }
    return "unknown";
}

} // namespace

bool LinuxSystemSettings::open(SettingsPage page)
{
    Log::debug([&] {
        return QStringLiteral("No settings page for %1 on Linux").arg(QLatin1String(pageName(page)));
    });
    return false;
}

} // namespace quillon::platform::linux_
