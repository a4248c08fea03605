#include "platform/PlistValue.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace quillon::platform {

namespace {

template <typename T, typename V>
std::optional<T> valueIf(const V& v)
{
    if (const T* p = std::get_if<T>(&v))
        return *p;
    return std::nullopt;
}

// The numeric value of a number, or of a string that is entirely a number.
std::optional<double> numericValue(const PlistValue& value)
{
    if (auto b = value.asBool())
        return *b ? 1.0 : 0.0;
    if (auto i = value.asInt())
        return double(*i);
    if (auto d = value.asDouble())
        return *d;
    if (auto s = value.asString()) {
        bool ok = false;
        const double d = s->trimmed().toDouble(&ok);
        if (ok)
            return d;
    }
    return std::nullopt;
}

const char* kindName(PlistValue::Kind kind)
{
    switch (kind) {
    case PlistValue::Kind::Bool: return "bool";
    case PlistValue::Kind::Int: return "int";
    case PlistValue::Kind::Double: return "double";
    case PlistValue::Kind::String: return "string";
    case PlistValue::Kind::StringArray: return "strings";
    case PlistValue::Kind::StringDictionary: return "dictionary";
    }
    return "";
}

} // namespace

std::optional<bool> PlistValue::asBool() const { return valueIf<bool>(m_value); }
std::optional<qint64> PlistValue::asInt() const { return valueIf<qint64>(m_value); }
std::optional<double> PlistValue::asDouble() const { return valueIf<double>(m_value); }
std::optional<QString> PlistValue::asString() const { return valueIf<QString>(m_value); }
std::optional<QStringList> PlistValue::asStringArray() const { return valueIf<QStringList>(m_value); }
std::optional<StringDictionary> PlistValue::asStringDictionary() const
{
    return valueIf<StringDictionary>(m_value);
}

bool PlistValue::toBool() const
{
    if (auto s = asString()) {
        const QString t = s->trimmed();
        if (t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
    }
    const auto n = numericValue(*this);
    return n && *n != 0.0 && !std::isnan(*n);
}

qint64 PlistValue::toInt() const
{
    if (auto i = asInt())
        return *i;
    const auto n = numericValue(*this);
    if (!n || !std::isfinite(*n))
        return 0;
    // Out-of-range doubles clamp rather than invoke undefined behaviour.
    if (*n >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (*n <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return qint64(std::trunc(*n));
}

double PlistValue::toDouble() const { return numericValue(*this).value_or(0.0); }

std::optional<QString> PlistValue::toString() const
{
    if (auto s = asString())
        return s;
    if (auto b = asBool())
        return QString::number(*b ? 1 : 0);
    if (auto i = asInt())
        return QString::number(*i);
    if (auto d = asDouble())
        return QString::number(*d, 'g', 17);
    return std::nullopt;
}

bool PlistValue::isEqualAsObject(const PlistValue& other) const
{
    if (isNumber() && other.isNumber()) {
        if (auto a = asInt(), b = other.asInt(); a && b)
            return *a == *b;
        return numericValue(*this) == numericValue(other);
    }
    return *this == other;
}

QJsonValue PlistValue::toJson() const
{
    switch (kind()) {
    case Kind::Bool: return *asBool();
    case Kind::Int: return QJsonValue(*asInt());
    case Kind::Double: return *asDouble();
    case Kind::String: return *asString();
    case Kind::StringArray: return QJsonArray::fromStringList(*asStringArray());
    case Kind::StringDictionary: {
        QJsonObject o;
        const auto dict = *asStringDictionary();
        for (auto it = dict.begin(); it != dict.end(); ++it)
            o.insert(it.key(), it.value());
        return o;
    }
    }
    return {};
}

std::optional<PlistValue> PlistValue::fromJson(const QJsonValue& json)
{
    switch (json.type()) {
    case QJsonValue::Bool: return PlistValue(json.toBool());
    case QJsonValue::Double: {
        const double d = json.toDouble();
        if (std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < 9.2e18)
            return PlistValue(json.toInteger());
        return PlistValue(d);
    }
    case QJsonValue::String: return PlistValue(json.toString());
    case QJsonValue::Array: {
        QStringList list;
        for (const QJsonValue& item : json.toArray()) {
            if (!item.isString())
                return std::nullopt;
            list << item.toString();
        }
        return PlistValue(list);
    }
    case QJsonValue::Object: {
        StringDictionary dict;
        const QJsonObject obj = json.toObject();
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            if (!it.value().isString())
                return std::nullopt;
            dict.insert(it.key(), it.value().toString());
        }
        return PlistValue(dict);
    }
    default: return std::nullopt;
    }
}

QJsonValue PlistValue::toTaggedJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("type"), QLatin1String(kindName(kind())));
    // Integers are written as text: a JSON number is a double and loses
    // precision past 2^53.
    if (auto i = asInt())
        o.insert(QStringLiteral("value"), QString::number(*i));
    else
        o.insert(QStringLiteral("value"), toJson());
    return o;
}

std::optional<PlistValue> PlistValue::fromTaggedJson(const QJsonValue& json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject o = json.toObject();
    const QString type = o.value(QStringLiteral("type")).toString();
    const QJsonValue v = o.value(QStringLiteral("value"));
    if (type == QLatin1String("bool") && v.isBool())
        return PlistValue(v.toBool());
    if (type == QLatin1String("int")) {
        bool ok = false;
        const qint64 i = v.isString() ? v.toString().toLongLong(&ok) : 0;
        if (ok)
            return PlistValue(i);
        if (v.isDouble())
            return PlistValue(PlistValue(v.toDouble()).toInt());
        return std::nullopt;
    }
    if (type == QLatin1String("double") && v.isDouble())
        return PlistValue(v.toDouble());
    if (type == QLatin1String("string") && v.isString())
        return PlistValue(v.toString());
    if ((type == QLatin1String("strings") && v.isArray()) || (type == QLatin1String("dictionary") && v.isObject()))
        return fromJson(v);
    return std::nullopt;
}

QString PlistValue::debugDescription() const
{
    switch (kind()) {
    case Kind::Bool: return *asBool() ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::String: return QLatin1Char('"') + *asString() + QLatin1Char('"');
    case Kind::StringArray: return QLatin1Char('[') + asStringArray()->join(QLatin1String(", ")) + QLatin1Char(']');
    case Kind::StringDictionary: return QStringLiteral("{%1 entries}").arg(asStringDictionary()->size());
    default: return *toString();
    }
}

} // namespace quillon::platform
