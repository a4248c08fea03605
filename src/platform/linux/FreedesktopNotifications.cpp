#include "platform/linux/FreedesktopNotifications.h"

#include "support/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace quillon::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage methodCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

template <typename Reply, typename F>
void whenAnswered(QObject* owner, const QDBusPendingCall& call, F&& then)
{
    auto* watcher = new QDBusPendingCallWatcher(call, owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                     [then = std::forward<F>(then)](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         then(Reply(*w));
                     });
}

} // namespace

FreedesktopNotifications::FreedesktopNotifications(QString appId)
    : m_appId(std::move(appId))
{
}

void FreedesktopNotifications::ask(std::function<void(bool, std::optional<QString>)> completion)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [completion] { completion(false, QStringLiteral("no session bus")); },
            Qt::QueuedConnection);
        return;
    }
    // The call starts a server that is only activatable, as a Notify would.
    whenAnswered<QDBusPendingReply<QStringList>>(
        this, bus.asyncCall(methodCall(QStringLiteral("GetCapabilities"))),
        [this, completion](const QDBusPendingReply<QStringList>& reply) {
            if (reply.isError()) {
                Log::debug(
                    [&] { return QStringLiteral("No notification server: ") + reply.error().message(); });
                completion(false, std::nullopt);
                return;
            }
            m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
            completion(true, std::nullopt);
        });
}

void FreedesktopNotifications::status(std::function<void(NotificationStatus)> completion)
{
    ask([completion](bool reachable, const std::optional<QString>&) {
        completion(reachable ? NotificationStatus::granted : NotificationStatus::denied);
    });
}

void FreedesktopNotifications::request(std::function<void(bool, std::optional<QString>)> completion)
{
    ask(std::move(completion));
}

void FreedesktopNotifications::post(const QString& identifier, const QString& title, const QString& body)
{
    if (auto it = m_inFlight.find(identifier); it != m_inFlight.end()) {
        *it = InFlight{true, title, body, false};
        return;
    }
    send(identifier, title, body);
}

void FreedesktopNotifications::send(const QString& identifier, const QString& title, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    subscribe();
    QDBusMessage call = methodCall(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), m_appId);
    // A server that reads markup would take "<" or "&" in a plain text as tags.
    const QString text = m_bodyMarkup ? body.toHtmlEscaped() : body;
    // Never expired by the server: a lasting notice stays until the person
    // clears it, and a transient one is closed by us after its own lifetime.
    call << QStringLiteral("Quillon") << m_ids.value(identifier, 0u) << QString() << title << text
         << QStringList() << hints << qint32(0);
    m_inFlight.insert(identifier, InFlight{});
    whenAnswered<QDBusPendingReply<uint>>(
        this, bus.asyncCall(call), [this, identifier](const QDBusPendingReply<uint>& reply) {
            const InFlight next = m_inFlight.take(identifier);
            if (reply.isError()) {
                Log::error(QStringLiteral("Notification not shown: ") + reply.error().message());
                m_ids.remove(identifier);
            } else {
                m_ids.insert(identifier, reply.value());
            }
            if (next.closeAfter)
                remove(identifier);
            else if (next.hasNext)
                send(identifier, next.nextTitle, next.nextBody);
        });
}

void FreedesktopNotifications::remove(const QString& identifier)
{
    if (auto it = m_inFlight.find(identifier); it != m_inFlight.end()) {
        *it = InFlight{false, QString(), QString(), true};
        return;
    }
    if (const auto it = m_ids.find(identifier); it != m_ids.end()) {
        close(*it);
        m_ids.erase(it);
    }
}

void FreedesktopNotifications::close(uint id)
{
    QDBusMessage call = methodCall(QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call);
}

// Forget ids the person or the server closed, so a later post shows anew.
void FreedesktopNotifications::subscribe()
{
    if (m_subscribed)
        return;
    // No service name: with one, Qt looks up its owner with a blocking call.
    // Ids are the server's own, and one server owns the path at a time.
    m_subscribed = QDBusConnection::sessionBus().connect(QString(), kPath, kInterface,
                                                         QStringLiteral("NotificationClosed"), this,
                                                         SLOT(onNotificationClosed(uint, uint)));
}

void FreedesktopNotifications::onNotificationClosed(uint id, uint)
{
    for (auto it = m_ids.begin(); it != m_ids.end();) {
        if (*it == id && !m_inFlight.contains(it.key()))
            it = m_ids.erase(it);
        else
            ++it;
    }
}

} // namespace quillon::platform::linux_
