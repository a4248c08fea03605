#include "shelf/ContentTypes.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace quillon {

namespace {

std::optional<QString> meaningful(const QMimeType& type)
{
    if (!type.isValid() || type.isDefault())
        return std::nullopt;
    return type.name();
}

} // namespace

std::optional<QString> ContentTypes::ofExtension(const QString& extension)
{
    if (extension.isEmpty())
        return std::nullopt;
    // A name of the extension alone, so nothing but the extension decides.
    return meaningful(QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + extension.toLower(),
                                                      QMimeDatabase::MatchExtension));
}

std::optional<QString> ContentTypes::ofPath(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return std::nullopt;
    return ofExtension(name.mid(dot + 1));
}

std::optional<QString> ContentTypes::ofContent(const QString& path)
{
    return meaningful(QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent));
}

std::optional<QString> ContentTypes::named(const QString& name)
{
    return meaningful(QMimeDatabase().mimeTypeForName(name));
}

bool ContentTypes::conforms(const QString& type, Kind kind)
{
    const QMimeType mime = QMimeDatabase().mimeTypeForName(type);
    const QString name = mime.isValid() ? mime.name() : type;
    const auto is = [&](const char* other) {
        return name == QLatin1String(other) || (mime.isValid() && mime.inherits(QLatin1String(other)));
    };
    switch (kind) {
    case Kind::Image:
        return name.startsWith(QLatin1String("image/"));
    case Kind::Jpeg:
        return is("image/jpeg");
    case Kind::Png:
        return is("image/png");
    case Kind::Heif:
        return is("image/heif") || is("image/heic") || is("image/heif-sequence") || is("image/heic-sequence");
    case Kind::Tiff:
        return is("image/tiff");
    case Kind::Pdf:
        return is("application/pdf");
    }
    return false;
}

} // namespace quillon
