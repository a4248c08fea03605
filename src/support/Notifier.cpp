#include "support/Notifier.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

void Notifier::post(const QString& identifier, const QString& title, const QString& body)
{
    // Notifications are addressed by the application id; a build without one
    // has nothing to post as.
    if (platform::platform().buildInfo().appId.isEmpty())
        return;
    platform::platform().userNotifications().request(
        [identifier, title, body](bool granted, const std::optional<QString>& error) {
            if (error) {
                Log::error(QStringLiteral("Notification authorization failed: ") + *error);
                return;
            }
            if (granted)
                platform::platform().userNotifications().post(identifier, title, body);
        });
}

void Notifier::postTransient(const QString& identifier, const QString& title, const QString& body,
                             double lifetime)
{
    post(identifier, title, body);
    platform::platform().mainQueue().after(
        lifetime, [identifier] { platform::platform().userNotifications().remove(identifier); });
}

} // namespace quillon
