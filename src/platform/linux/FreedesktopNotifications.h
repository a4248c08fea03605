#pragma once

#include "platform/UserNotifications.h"

#include <QHash>
#include <QObject>

namespace quillon::platform::linux_ {

/// Notifications through the session's org.freedesktop.Notifications server.
/// Showing notifications needs no consent there: they are allowed while a
/// server runs or can be started on the bus. Every call is asynchronous, so a
/// stuck server never holds up the main thread. Called on the main thread.
class FreedesktopNotifications final : public QObject, public UserNotifications {
    Q_OBJECT
public:
    explicit FreedesktopNotifications(QString appId);

    void post(const QString& identifier, const QString& title, const QString& body) override;
    void remove(const QString& identifier) override;
    void status(std::function<void(NotificationStatus)> completion) override;
    void request(std::function<void(bool, std::optional<QString>)> completion) override;

private slots:
    void onNotificationClosed(uint id, uint reason);

private:
    /// Asks the server for its capabilities: that it answers is the grant.
    void ask(std::function<void(bool reachable, std::optional<QString> error)> completion);
    void send(const QString& identifier, const QString& title, const QString& body);
    void close(uint id);
    void subscribe();

    // A post whose Notify reply has not come yet: what to do with the id once
    // it comes, so that a quick second post replaces instead of doubling.
    struct InFlight {
        bool hasNext = false;
        QString nextTitle;
        QString nextBody;
        bool closeAfter = false;
    };

    QString m_appId;
    QHash<QString, uint> m_ids;
    QHash<QString, InFlight> m_inFlight;
    bool m_bodyMarkup = false;
    bool m_subscribed = false;
};

} // namespace quillon::platform::linux_
