#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

/// Writes ZIP archives with libzip: no tool is launched.
class ZipArchive {
public:
    ZipArchive() = delete;

    /// Writes `archive` holding every input at its top level (folders whole).
    /// Links are stored as links and never followed; a second input of a name
    /// already taken is stored as "name 2.ext"; an input that cannot be read
    /// is left out. False with `error` set when the archive cannot be written.
    static bool create(const QString& archive, const QStringList& inputs, QString& error);
};

} // namespace quillon
