#pragma once

// Keys held through XTest for a desktop test, and the stored settings of a
// quillon run.

#include "common/Typist.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>
#include <vector>

namespace quillon::testing {

/// Lets go of the held keys however the test ends, so no later test starts
/// with a leader held.
struct HeldKeys {
    Typist& typist;
    std::vector<uint8_t> keys;
    HeldKeys(Typist& t, std::vector<uint8_t> codes)
        : typist(t)
        , keys(std::move(codes))
    {
        for (const uint8_t key : keys)
            typist.key(key, true);
    }
    ~HeldKeys()
    {
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            typist.key(*it, false);
    }
};

/// The "value" of a stored setting; none when the file or the key is missing.
inline std::optional<QJsonValue> storedValue(const QString& settingsFile, const QString& key)
{
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonValue value = QJsonDocument::fromJson(file.readAll()).object().value(key);
    if (!value.isObject())
        return std::nullopt;
    return value.toObject().value("value");
}

inline std::optional<bool> storedBool(const QString& settingsFile, const QString& key)
{
    const auto value = storedValue(settingsFile, key);
    return value ? std::optional<bool>(value->toBool()) : std::nullopt;
}

/// The store writes integers as decimal text, so that 64 bits stay exact.
inline std::optional<qint64> storedInt(const QString& settingsFile, const QString& key)
{
    const auto value = storedValue(settingsFile, key);
    bool ok = false;
    const qint64 number = value ? value->toVariant().toLongLong(&ok) : 0;
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

} // namespace quillon::testing
