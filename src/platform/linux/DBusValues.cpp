#include "platform/linux/DBusValues.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace quillon::platform::linux_ {

QVariant DBusValues::plain(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

QVariantMap DBusValues::map(const QVariant& value)
{
    const QVariant inner = plain(value);
    if (inner.userType() == qMetaTypeId<QDBusArgument>()) {
        const auto argument = inner.value<QDBusArgument>();
        // Unpacking a dictionary as a{sv} when it is another kind crashes
        // inside the D-Bus library: any sender on the bus could do that.
        if (argument.currentSignature() != QLatin1String("a{sv}"))
            return {};
        QVariantMap result;
        argument >> result;
        return result;
    }
    return inner.toMap();
}

QMap<QString, QVariantMap> DBusValues::interfaces(const QVariant& value)
{
    QMap<QString, QVariantMap> result;
    const QVariant inner = plain(value);
    if (inner.userType() != qMetaTypeId<QDBusArgument>())
        return result;
    const auto argument = inner.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sa{sv}}"))
        return result;
    argument.beginMap();
    while (!argument.atEnd()) {
        QString name;
        QVariantMap properties;
        argument.beginMapEntry();
        argument >> name >> properties;
        argument.endMapEntry();
        result.insert(name, properties);
    }
    argument.endMap();
    return result;
}

} // namespace quillon::platform::linux_
