#include "settings/SettingsDocument.h"

#include "support/Log.h"

#include <QJsonDocument>

namespace quillon {

using platform::PlistValue;

namespace {

const QString kApp = QStringLiteral("Quillon");

int kindOf(const PlistValue& value)
{
    switch (value.kind()) {
    case PlistValue::Kind::Bool:
    case PlistValue::Kind::Int:
    case PlistValue::Kind::Double: return 1;
    case PlistValue::Kind::String: return 2;
    case PlistValue::Kind::StringArray: return 3;
    case PlistValue::Kind::StringDictionary: return 4;
    }
    return 0;
}

} // namespace

QString SettingsDocument::write(const QJsonObject& values, const QJsonObject& extras)
{
    QJsonObject top{
        {QStringLiteral("app"), kApp}, {QStringLiteral("schema"), 1}, {QStringLiteral("values"), values}};
    for (auto it = extras.begin(); it != extras.end(); ++it)
        top.insert(it.key(), it.value());
    // QJsonObject keeps its keys sorted, so the text comes out sorted at every level.
    const QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
    if (bytes.isEmpty())
        return QStringLiteral("{}");
    return QString::fromUtf8(bytes);
}

std::optional<QJsonObject> SettingsDocument::accept(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > maxBytes) {
        const QString message =
            QStringLiteral("Settings document refused: %1 bytes, more than a settings backup can be")
                .arg(bytes.size());
        Log::error(message);
        Log::debug([&] { return message; });
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    QJsonObject top = doc.object();
    const QJsonValue app = top.value(QStringLiteral("app"));
    if (!app.isString() || app.toString() != kApp)
        return std::nullopt;
    return top;
}

std::optional<PlistValue> SettingsDocument::plistValue(const QJsonValue& value,
                                                       const std::optional<PlistValue>& current)
{
    std::optional<PlistValue> result = PlistValue::fromJson(value);
    // The writer prints a whole double without its fraction; a double setting stays a double.
    if (result && result->kind() == PlistValue::Kind::Int && current &&
        current->kind() == PlistValue::Kind::Double)
        return PlistValue(value.toDouble());
    return result;
}

bool SettingsDocument::sameType(const PlistValue& imported, const std::optional<PlistValue>& current)
{
    return current && kindOf(imported) == kindOf(*current);
}

} // namespace quillon
