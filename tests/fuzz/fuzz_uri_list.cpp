// Feeds arbitrary bytes to the `text/uri-list` reader that takes in drops and
// the drag selection's answers. Every URL it keeps must be a local file at an
// absolute, clean path.

#include "platform/UriList.h"

#include <QDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QUrl& url : quillon::platform::localFilesOfUriList(text)) {
        const QString path = url.toLocalFile();
        if (!url.isLocalFile() || !path.startsWith(QLatin1Char('/')) || QDir::cleanPath(path) != path ||
            path.contains(QChar(u'\0')))
            std::abort();
    }
    return 0;
}
