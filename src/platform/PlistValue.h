#pragma once

#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace quillon::platform {

using StringDictionary = QMap<QString, QString>;

/// One stored setting: the six shapes the settings store uses. Each keeps its
/// kind across a save and a reload (a Boolean, an integer and a double stay
/// what they were).
class PlistValue {
public:
    enum class Kind { Bool, Int, Double, String, StringArray, StringDictionary };

    PlistValue(bool v) : m_value(v) {}
    PlistValue(int v) : m_value(qint64(v)) {}
    PlistValue(qint64 v) : m_value(v) {}
    PlistValue(double v) : m_value(v) {}
    PlistValue(const QString& v) : m_value(v) {}
    PlistValue(const char* v) : m_value(QString::fromUtf8(v)) {}
    PlistValue(const QStringList& v) : m_value(v) {}
    PlistValue(const StringDictionary& v) : m_value(v) {}

    Kind kind() const { return Kind(m_value.index()); }
    bool isNumber() const { return kind() == Kind::Bool || kind() == Kind::Int || kind() == Kind::Double; }

    /// The value as stored, only when it has that kind.
    std::optional<bool> asBool() const;
    std::optional<qint64> asInt() const;
    std::optional<double> asDouble() const;
    std::optional<QString> asString() const;
    std::optional<QStringList> asStringArray() const;
    std::optional<StringDictionary> asStringDictionary() const;

    /// The typed reads of the user-defaults database: a Boolean read of a
    /// number is "non-zero", of a string "YES"/"true"/a non-zero number
    /// (case-insensitive); integer and double reads convert numbers (true = 1,
    /// false = 0; an integer read truncates) and parse numeric strings;
    /// anything else reads as zero.
    bool toBool() const;
    qint64 toInt() const;
    double toDouble() const;
    /// Strings as they are, numbers as their decimal text; none otherwise.
    std::optional<QString> toString() const;

    /// Kind and value equal.
    bool operator==(const PlistValue& other) const { return m_value == other.m_value; }
    bool operator!=(const PlistValue& other) const { return !(*this == other); }
    /// Equality as the defaults database's objects compare: numbers (Booleans
    /// included) by numeric value, so 2 equals 2.0 and true equals 1; a number
    /// never equals a string.
    bool isEqualAsObject(const PlistValue& other) const;

    /// {"type": ..., "value": ...}: the stored form that keeps the kind.
    QJsonValue toTaggedJson() const;
    static std::optional<PlistValue> fromTaggedJson(const QJsonValue& json);

    /// Plain JSON (for documents such as a settings export).
    QJsonValue toJson() const;
    /// Plain JSON back into a value: true/false, a whole number as an integer,
    /// any other number as a double, a string, an array of strings, an object
    /// of strings. None for anything else (null, arrays or objects holding
    /// anything but strings).
    static std::optional<PlistValue> fromJson(const QJsonValue& json);

    QString debugDescription() const;

private:
    std::variant<bool, qint64, double, QString, QStringList, StringDictionary> m_value;
};

} // namespace quillon::platform
