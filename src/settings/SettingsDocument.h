#pragma once

#include "platform/PlistValue.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

namespace quillon {

/// The settings backup file: one JSON object with "app" ("Quillon"),
/// "schema" (1), "values" (key → value) and any extra sections a caller adds.
class SettingsDocument {
public:
    /// Backups are a few kilobytes; anything past this is not one of ours and
    /// is refused before it is parsed.
    static constexpr qsizetype maxBytes = 1024 * 1024;

    /// The document text, keys sorted at every level, indented; "{}" when it
    /// cannot be written.
    static QString write(const QJsonObject& values, const QJsonObject& extras);

    /// The top-level object of a document we accept: JSON that parses, an
    /// object, and "app" exactly "Quillon". None otherwise.
    static std::optional<QJsonObject> accept(const QString& text);

    /// The imported value in the shape the store keeps it. None when it is not
    /// safe to store: a null anywhere inside it, or an array or object whose
    /// members are not all strings (the store holds string arrays and
    /// string-to-string dictionaries only). A JSON number becomes a double where
    /// the current value is a double (the writer prints 2.0 as 2), otherwise
    /// an integer when it is whole.
    static std::optional<platform::PlistValue> plistValue(const QJsonValue& value,
                                                          const std::optional<platform::PlistValue>& current);

    /// Both values are of the same kind: numbers (Booleans included), strings,
    /// arrays or dictionaries. False when there is no current value.
    static bool sameType(const platform::PlistValue& imported,
                         const std::optional<platform::PlistValue>& current);
};

} // namespace quillon
