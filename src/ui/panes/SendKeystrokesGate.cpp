#include "ui/panes/SendKeystrokesGate.h"

#include "platform/Permissions.h"
#include "platform/Platform.h"
#include "ui/SettingsModel.h"
#include "ui/controls/PermissionRows.h"

#include <QPointer>

namespace quillon {

bool sendKeystrokesGranted()
{
    return platform::platform().permissions().postEventsAllowed();
}

PermissionGate* sendKeystrokesGate(SettingsModel& model, const QString& sub)
{
    QPointer<SettingsModel> weakModel(&model);
    return new PermissionGate(QStringLiteral("Send Keystrokes"), sub, sendKeystrokesGranted(), [weakModel] {
        platform::platform().permissions().requestPostEvents();
        if (weakModel)
            weakModel->refresh();
    });
}

} // namespace quillon
