#include "platform/linux/LogindSessionEvents.h"

#include "support/Log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

const QString service = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");

} // namespace

LogindSessionEvents::LogindSessionEvents() = default;

LogindSessionEvents::~LogindSessionEvents() = default;

int LogindSessionEvents::addHandler(std::function<void(SessionNotice)> handler)
{
    const int token = m_handlers.add(std::move(handler));
    connectBus();
    return token;
}

void LogindSessionEvents::removeHandler(int token)
{
    m_handlers.remove(token);
}

void LogindSessionEvents::connectBus()
{
    if (m_connected)
        return;
    m_connected = true;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        Log::info(QStringLiteral("Session: no system bus; no wake or session notices"));
        return;
    }
    bus.connect(service, managerPath, managerInterface, QStringLiteral("PrepareForSleep"), this,
                SLOT(prepareForSleep(bool)));
    // Our session's path, without waiting for it.
    QDBusMessage call = QDBusMessage::createMethodCall(service, managerPath, managerInterface,
                                                       QStringLiteral("GetSessionByPID"));
    call << uint32_t(::getpid());
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            Log::info(QStringLiteral("Session: logind does not know our session; no session notices"));
            return;
        }
        const QString path = reply.arguments().first().value<QDBusObjectPath>().path();
        if (path.isEmpty())
            return;
        QDBusConnection::systemBus().connect(
            service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"), this,
            SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    });
}

void LogindSessionEvents::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        m_handlers.notify(SessionNotice::woke);
}

void LogindSessionEvents::sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                                   const QStringList&)
{
    if (interface != sessionInterface || !changed.contains(QStringLiteral("Active")))
        return;
    const bool active = changed.value(QStringLiteral("Active")).toBool();
    const bool became = active && !m_active;
    m_active = active;
    if (became)
        m_handlers.notify(SessionNotice::becameActive);
}

} // namespace quillon::platform::linux_
