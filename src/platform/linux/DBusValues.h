#pragma once

#include <QVariant>
#include <QVariantMap>

namespace quillon::platform::linux_ {

/// Values as D-Bus hands them over: variants inside variants, and
/// dictionaries still in their wire form.
class DBusValues {
public:
    DBusValues() = delete;

    /// The value inside however many variants wrap it.
    static QVariant plain(QVariant value);
    /// A dictionary of strings to variants (a{sv}); empty for anything else.
    static QVariantMap map(const QVariant& value);
    /// A dictionary of interfaces to their properties (a{sa{sv}}).
    static QMap<QString, QVariantMap> interfaces(const QVariant& value);
    /// An object manager's objects (a{oa{sa{sv}}}): each path with its
    /// interfaces and their properties.
    static QMap<QString, QMap<QString, QVariantMap>> objects(const QVariant& value);
    /// An object path, or a string standing for one.
    static QString path(const QVariant& value);
    /// A list of byte strings (aay), each without the NUL that may end it;
    /// empty for anything else.
    static QList<QByteArray> byteStrings(const QVariant& value);
};

} // namespace quillon::platform::linux_
