#include "platform/UserDefaults.h"

namespace quillon::platform {

void DefaultsStore::registerDefaults(const QMap<QString, PlistValue>& defaults)
{
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

void DefaultsStore::setValues(const QMap<QString, PlistValue>& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        set(it.key(), it.value());
}

std::optional<PlistValue> DefaultsStore::object(const QString& key) const
{
    if (auto v = storedValue(key))
        return v;
    auto it = m_registered.constFind(key);
    if (it != m_registered.constEnd())
        return *it;
    return std::nullopt;
}

bool DefaultsStore::boolForKey(const QString& key) const
{
    auto v = object(key);
    return v && v->toBool();
}

qint64 DefaultsStore::integerForKey(const QString& key) const
{
    auto v = object(key);
    return v ? v->toInt() : 0;
}

double DefaultsStore::doubleForKey(const QString& key) const
{
    auto v = object(key);
    return v ? v->toDouble() : 0.0;
}

std::optional<QString> DefaultsStore::stringForKey(const QString& key) const
{
    auto v = object(key);
    return v ? v->toString() : std::nullopt;
}

std::optional<QStringList> DefaultsStore::stringArrayForKey(const QString& key) const
{
    auto v = object(key);
    return v ? v->asStringArray() : std::nullopt;
}

std::optional<StringDictionary> DefaultsStore::dictionaryForKey(const QString& key) const
{
    auto v = object(key);
    return v ? v->asStringDictionary() : std::nullopt;
}

} // namespace quillon::platform
