#pragma once

#include "platform/UserNotifications.h"

#include <functional>

namespace quillon {

/// Whether the system may show user notifications.
class NotificationPermission {
public:
    NotificationPermission() = delete;

    using Status = platform::NotificationStatus;

    /// Reports the current authorisation on the main queue.
    static void status(std::function<void(Status)> completion);
    /// Asks for authorisation; reports on the main queue whether it was granted.
    static void request(std::function<void(bool)> completion);
    static void openSystemSettings();
};

} // namespace quillon
