#pragma once

#include <QString>

namespace quillon {

/// Posts the system's user notifications. Called on the main thread.
class Notifier {
public:
    Notifier() = delete;

    /// Shows a notification once the desktop allows notifications; replaces
    /// an earlier one with the same identifier.
    static void post(const QString& identifier, const QString& title, const QString& body);
    /// Posts, then takes the notification away after `lifetime` seconds.
    static void postTransient(const QString& identifier, const QString& title, const QString& body,
                              double lifetime);
};

} // namespace quillon
