#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace quillon::ShelfFiles {

/// The paths of `urls` whose files are still there, in order. A file deleted
/// behind the shelf's back is left out and logged with what it was for
/// (`action`: "open", "reveal", "preview").
QStringList existing(const QList<QUrl>& urls, const QString& action);

} // namespace quillon::ShelfFiles
