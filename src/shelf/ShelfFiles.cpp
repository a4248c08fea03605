#include "shelf/ShelfFiles.h"

#include "support/Log.h"

#include <QFileInfo>

namespace quillon::ShelfFiles {

QStringList existing(const QList<QUrl>& urls, const QString& action)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (QFileInfo::exists(path))
            paths.append(path);
        else
            Log::info(QStringLiteral("Shelf: cannot %1 %2: the file is gone").arg(action, path));
    }
    return paths;
}

} // namespace quillon::ShelfFiles
