#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quillon {

/// Every file the system stores is written whole or not at all.
namespace AtomicFile {

/// Where `write` keeps its temporary file: this prefix and six random
/// characters. A write cut short by a crash can leave one behind; nothing
/// reads it as data.
QString temporaryPrefix(const QString& path);

/// Removes the temporary files that writes of `path` cut short by a crash
/// left behind. Call it where nothing else writes `path` yet (at start).
void removeLeftovers(const QString& path);

/// Writes data to a temporary file beside `path`, syncs it, renames it over
/// `path` and syncs the folder. Creates the folder when it is missing.
/// On failure `path` keeps its old content and `error` says why.
bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

/// Moves an unreadable file aside as "<name>.corrupt-<time>" so that it is
/// never overwritten unread. Returns the new path, or an empty string.
QString moveAside(const QString& path, const QDateTime& now);

/// Syncs a folder so that entries created or renamed in it survive a crash.
void syncFolder(const QString& folder);

} // namespace AtomicFile
} // namespace quillon
