#include "platform/linux/PortalMotionPreference.h"

#include "platform/linux/DBusValues.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace quillon::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.gnome.desktop.interface");
const QString kKey = QStringLiteral("enable-animations");

} // namespace

PortalMotionPreference::PortalMotionPreference()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // No service name: with one, Qt would look up its owner with a blocking call.
    bus.connect(QString(), kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: the portal may first have to be started.
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << kGroup << kKey;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            apply(reply.arguments().constFirst());
    });
}

void PortalMotionPreference::settingChanged(const QString& group, const QString& key,
                                            const QDBusVariant& value)
{
    if (group == kGroup && key == kKey)
        apply(value.variant());
}

void PortalMotionPreference::apply(const QVariant& value)
{
    // Read answers a variant inside a variant.
    const QVariant plain = DBusValues::plain(value);
    if (plain.metaType().id() == QMetaType::Bool)
        m_reduce = !plain.toBool();
}

} // namespace quillon::platform::linux_
