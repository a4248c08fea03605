#include "ui/controls/SystemSettingsLink.h"

#include "platform/Platform.h"

#include <QMessageBox>

namespace quillon {

QString SystemSettingsLink::explanation(platform::SettingsPage page)
{
    using platform::SettingsPage;
    switch (page) {
    case SettingsPage::accessibility:
    case SettingsPage::screenCapture:
        return QStringLiteral(
            "There is nothing to grant in the settings. Log in to an X11 (Xorg) session: it "
            "has the XTEST and XInput extensions that reading keys, typing, moving windows "
            "and capturing the screen need.");
    case SettingsPage::notifications:
        return QStringLiteral("Notifications are shown by your desktop's notification service. Start it "
                              "(most desktops start one at login) and try again.");
    case SettingsPage::filesAndFolders:
        return QStringLiteral("Make your screenshot folder readable by your account, for example with your "
                              "file manager's Properties → Permissions.");
    case SettingsPage::automation:
        return QStringLiteral("Nothing needs granting on Linux: no consent is asked before Quillon talks to "
                              "your file manager.");
    case SettingsPage::loginItems:
        return QStringLiteral("Nothing needs granting on Linux: launch at login takes effect at once and "
                              "never waits for approval.");
    }
    return {};
}

void SystemSettingsLink::open(platform::SettingsPage page, QWidget* parent)
{
    if (platform::platform().systemSettings().open(page))
        return;
    // Not exec(): the settings window keeps running while the note is up.
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("No settings page to open"),
                                explanation(page), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace quillon
