#include "platform/linux/LinuxXAttr.h"

#include <QFile>

#include <sys/xattr.h>

#include <vector>

namespace quillon::platform::linux_ {

QStringList LinuxXAttr::names(const QString& path) const
{
    const QByteArray native = QFile::encodeName(path);
    // The list may grow between the two calls; a second short read is
    // taken as "cannot be read" rather than retried forever.
    const ssize_t size = ::llistxattr(native.constData(), nullptr, 0);
    if (size <= 0)
        return {};
    std::vector<char> buffer(static_cast<size_t>(size));
    const ssize_t got = ::llistxattr(native.constData(), buffer.data(), buffer.size());
    if (got <= 0)
        return {};
    QStringList result;
    const char* at = buffer.data();
    const char* end = at + got;
    while (at < end) {
        const size_t length = ::strnlen(at, static_cast<size_t>(end - at));
        if (length > 0)
            result.append(QString::fromUtf8(at, static_cast<qsizetype>(length)));
        at += length + 1;
    }
    return result;
}

bool LinuxXAttr::remove(const QString& path, const QString& name)
{
    return ::lremovexattr(QFile::encodeName(path).constData(), name.toUtf8().constData()) == 0;
}

} // namespace quillon::platform::linux_
