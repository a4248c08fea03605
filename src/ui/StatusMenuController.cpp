#include "ui/StatusMenuController.h"

#include "platform/Platform.h"
#include "ui/MenuBarIcon.h"

namespace quillon {

StatusMenuController::StatusMenuController()
{
    QObject::connect(&m_menu, &QMenu::aboutToShow, [this] { rebuild(); });
    rebuild();
}

void StatusMenuController::rebuild()
{
    m_menu.clear();
    QAction* settings = m_menu.addAction(QStringLiteral("Settings\u2026"), [this] {
        if (onOpenSettings)
            onOpenSettings();
    });
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    if (onCheckForUpdates)
        m_menu.addAction(QStringLiteral("Check for Updates\u2026"), [this] { onCheckForUpdates(); });
    m_menu.addSeparator();
    QAction* quit =
        m_menu.addAction(QStringLiteral("Quit Quillon"), [] { platform::platform().appShell().terminate(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void StatusMenuController::statusItemClicked()
{
    if (statusItem)
        statusItem->popUpMenu();
}

void StatusMenuController::updateIcon(bool awakeActive)
{
    if (statusItem)
        statusItem->setIcon(MenuBarIcon::make(awakeActive));
}

} // namespace quillon
