#include "permissions/NotificationPermission.h"

#include "platform/Platform.h"

namespace quillon {

void NotificationPermission::status(std::function<void(Status)> completion)
{
    platform::platform().userNotifications().status(std::move(completion));
}

void NotificationPermission::request(std::function<void(bool)> completion)
{
    platform::platform().userNotifications().request(
        [completion = std::move(completion)](bool granted, const std::optional<QString>&) {
            if (completion)
                completion(granted);
        });
}

void NotificationPermission::openSystemSettings()
{
    platform::platform().systemSettings().open(platform::SettingsPage::notifications);
}

} // namespace quillon
