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
};

} // namespace quillon::platform::linux_
