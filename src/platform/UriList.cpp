#include "platform/UriList.h"

#include <QDir>

namespace quillon::platform {

QList<QUrl> localFilesOfUriList(const QByteArray& data)
{
    QList<QUrl> files;
    for (const QByteArray& rawLine : data.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        if (!url.isValid() || !url.isLocalFile())
            continue;
        // file://host/ names another machine's file; only our own count.
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
            continue;
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !path.startsWith(QLatin1Char('/')) || path.contains(QChar(u'\0')))
            continue;
        files.push_back(QUrl::fromLocalFile(QDir::cleanPath(path)));
    }
    return files;
}

} // namespace quillon::platform
