#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace quillon::platform {

enum class NotificationStatus { granted, denied, notDetermined };

/// Notifications shown by the desktop's notification server.
class UserNotifications {
public:
    virtual ~UserNotifications() = default;

    /// Shows a notification now. A later post with the same identifier
    /// replaces the earlier one.
    virtual void post(const QString& identifier, const QString& title, const QString& body) = 0;
    /// Takes away the notification last posted with this identifier; nothing
    /// when there is none.
    virtual void remove(const QString& identifier) = 0;
    /// Reports whether notifications can be shown, on the main thread.
    virtual void status(std::function<void(NotificationStatus)> completion) = 0;
    /// Asks for permission to show notifications; reports on the main thread
    /// whether it was granted, or why the question could not be asked.
    virtual void request(std::function<void(bool granted, std::optional<QString> error)> completion) = 0;
};

} // namespace quillon::platform
