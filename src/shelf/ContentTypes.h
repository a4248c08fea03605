#pragma once

#include <QString>

#include <optional>

namespace quillon {

/// The one place that tells a file's content type (a MIME type name) and
/// whether a type is one of the kinds the shelf treats specially.
class ContentTypes {
public:
    ContentTypes() = delete;

    enum class Kind { Image, Jpeg, Png, Heif, Tiff, Pdf };

    /// The type of a file name extension, compared in lower case; none when
    /// the extension tells nothing (no extension, or only "some data").
    static std::optional<QString> ofExtension(const QString& extension);
    /// The type of a path by its extension.
    static std::optional<QString> ofPath(const QString& path);
    /// The type of a file as its content tells, whatever its name; none for
    /// data that is not recognised.
    static std::optional<QString> ofContent(const QString& path);
    /// A type by its name, where it is a known one (aliases resolved).
    static std::optional<QString> named(const QString& name);

    /// Whether `type` is of `kind` or derives from it.
    static bool conforms(const QString& type, Kind kind);
};

} // namespace quillon
