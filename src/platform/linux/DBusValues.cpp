#include "platform/linux/DBusValues.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <optional>

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

namespace {

/// The argument inside `value` when it has the signature, else none.
std::optional<QDBusArgument> argumentOf(const QVariant& value, QLatin1String signature)
{
    const QVariant inner = DBusValues::plain(value);
    if (inner.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    auto argument = inner.value<QDBusArgument>();
    if (argument.currentSignature() != signature)
        return std::nullopt;
    return argument;
}

/// Reads an a{sa{sv}} the argument stands at.
QMap<QString, QVariantMap> readInterfaces(const QDBusArgument& argument)
{
    QMap<QString, QVariantMap> result;
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

} // namespace

QMap<QString, QVariantMap> DBusValues::interfaces(const QVariant& value)
{
    const auto argument = argumentOf(value, QLatin1String("a{sa{sv}}"));
    return argument ? readInterfaces(*argument) : QMap<QString, QVariantMap>();
}

QMap<QString, QMap<QString, QVariantMap>> DBusValues::objects(const QVariant& value)
{
    QMap<QString, QMap<QString, QVariantMap>> result;
    const auto argument = argumentOf(value, QLatin1String("a{oa{sa{sv}}}"));
    if (!argument)
        return result;
    argument->beginMap();
    while (!argument->atEnd()) {
        QDBusObjectPath path;
        argument->beginMapEntry();
        *argument >> path;
        result.insert(path.path(), readInterfaces(*argument));
        argument->endMapEntry();
    }
    argument->endMap();
    return result;
}

QString DBusValues::path(const QVariant& value)
{
    const QVariant inner = plain(value);
    if (inner.userType() == qMetaTypeId<QDBusObjectPath>())
        return inner.value<QDBusObjectPath>().path();
    return inner.toString();
}

QList<QByteArray> DBusValues::byteStrings(const QVariant& value)
{
    QList<QByteArray> result;
    const QVariant inner = plain(value);
    if (inner.userType() == qMetaTypeId<QList<QByteArray>>()) {
        result = inner.value<QList<QByteArray>>();
    } else if (const auto argument = argumentOf(inner, QLatin1String("aay"))) {
        argument->beginArray();
        while (!argument->atEnd()) {
            QByteArray bytes;
            *argument >> bytes;
            result << bytes;
        }
        argument->endArray();
    }
    for (QByteArray& bytes : result) {
        if (bytes.endsWith('\0'))
            bytes.chop(1);
    }
    return result;
}

} // namespace quillon::platform::linux_
