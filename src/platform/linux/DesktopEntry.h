#pragma once

#include "platform/AppDirectory.h"

#include <QHash>
#include <QString>
#include <optional>

namespace quillon::platform::linux_ {

/// The one reader of freedesktop desktop entries (.desktop files).
class DesktopEntry {
public:
    /// Parses one group of a file's text ("[Desktop Entry]" unless told);
    /// none when the group is missing. mimeapps.list files share the format.
    static std::optional<DesktopEntry> parse(const QByteArray& text,
                                             const QString& group = QStringLiteral("Desktop Entry"));
    static std::optional<DesktopEntry> read(const QString& path,
                                            const QString& group = QStringLiteral("Desktop Entry"));

    /// A value with its escapes resolved; empty when missing.
    QString value(const QString& key) const;
    /// The value for the person's language ("Name[de_DE]", "Name[de]", "Name").
    QString localized(const QString& key) const;
    bool boolean(const QString& key) const;

    /// The program an Exec line runs, without folder: the first word that is
    /// not `env` or a variable assignment.
    static QString program(const QString& exec);
    /// The program and arguments an Exec line starts, its field codes
    /// dropped ("%%" is a percent sign); none for unbalanced quotes or a line
    /// with no program.
    static std::optional<QStringList> arguments(const QString& exec);

    /// An application entry with `appId`; none for other types and for
    /// entries marked Hidden (which hide the ones of the same id below them).
    std::optional<AppEntry> application(const QString& appId, const QString& path) const;

private:
    QHash<QString, QString> m_values;
};

} // namespace quillon::platform::linux_
