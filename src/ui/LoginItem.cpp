#include "ui/LoginItem.h"

#include "platform/Platform.h"
#include "support/Log.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QMessageBox>

namespace quillon {

using Status = platform::LoginItem::Status;

bool LoginItem::isEnabled()
{
    return platform::platform().loginItem().status() == Status::enabled;
}

void LoginItem::toggle(QWidget* parent)
{
    platform::LoginItem& item = platform::platform().loginItem();
    std::optional<QString> error;
    switch (item.status()) {
    case Status::requiresApproval:
        SystemSettingsLink::open(platform::SettingsPage::loginItems, parent);
        return;
    case Status::enabled:
        error = item.unregisterItem();
        break;
    case Status::notRegistered:
    case Status::notFound:
        error = item.registerItem();
        break;
    }
    if (!error)
        return;
    Log::error(QStringLiteral("Launch at login toggle failed: %1").arg(*error));
    // Not exec(): the settings window keeps running while the alert is up.
    auto* alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Launch at Login"),
                                  QStringLiteral("Couldn’t change Launch at Login"), QMessageBox::Ok, parent);
    alert->setInformativeText(*error +
                              QStringLiteral("\n\nCheck that the autostart folder (~/.config/autostart) "
                                             "can be written and try again."));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->open();
}

} // namespace quillon
