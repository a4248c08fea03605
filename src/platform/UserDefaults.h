#pragma once

#include "platform/PlistValue.h"

#include <QMap>
#include <QString>
#include <optional>

namespace quillon::platform {

/// One defaults domain: stored values, plus registered defaults that live in
/// memory only and answer for keys that hold no stored value.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual QString domain() const = 0;
    /// The stored value, ignoring registered defaults.
    virtual std::optional<PlistValue> storedValue(const QString& key) const = 0;
    virtual void set(const QString& key, const PlistValue& value) = 0;
    /// Stores several values as one change: a store that persists writes them
    /// together, so a crash never leaves half of them on disk.
    virtual void setValues(const QMap<QString, PlistValue>& values);
    virtual void remove(const QString& key) = 0;
    /// Keys that hold a stored value.
    virtual QStringList storedKeys() const = 0;

    /// Registers defaults for this store object (never written to disk).
    void registerDefaults(const QMap<QString, PlistValue>& defaults);
    const QMap<QString, PlistValue>& registeredDefaults() const { return m_registered; }

    /// The stored value, else the registered default, else none.
    std::optional<PlistValue> object(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    std::optional<QString> stringForKey(const QString& key) const;
    std::optional<QStringList> stringArrayForKey(const QString& key) const;
    std::optional<StringDictionary> dictionaryForKey(const QString& key) const;

private:
    QMap<QString, PlistValue> m_registered;
};

/// The user-defaults database: the standard domain (named by the application
/// id) and named suites.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;
    virtual DefaultsStore& standard() = 0;
    /// The store of a named suite, created on first use and kept; none when
    /// the suite cannot be used.
    virtual DefaultsStore* suite(const QString& name) = 0;
};

} // namespace quillon::platform
