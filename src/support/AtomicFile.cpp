#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::AtomicFile {

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString temporaryPrefix(const QString& path) { return path + QStringLiteral(".tmp-"); }

void removeLeftovers(const QString& path)
{
    const QFileInfo target(path);
    QDir folder = target.absoluteDir();
    const QString pattern = QFileInfo(temporaryPrefix(path)).fileName() + QStringLiteral("??????");
    for (const QString& name : folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
        folder.remove(name);
}

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool writeAll(int fd, const QByteArray& data)
{
    const char* next = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        next += n;
        left -= n;
    }
    return true;
}

} // namespace

bool write(const QString& path, const QByteArray& data, QString* error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create folder %1").arg(folder));
    // A named temporary file beside the target: a write cut short leaves it
    // under a name no reader takes for the file itself, and the rename below
    // replaces the old content in one step.
    QByteArray temporary = QFile::encodeName(temporaryPrefix(path)) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, QStringLiteral("cannot create a temporary file beside %1: %2").arg(path, errnoText()));
    struct stat existing{};
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, data) || ::fsync(fd) != 0) {
        const QString reason = errnoText();
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, reason));
    }
    if (::close(fd) != 0 || ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = errnoText();
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("cannot replace %1: %2").arg(path, reason));
    }
    syncFolder(folder);
    return true;
}

QString moveAside(const QString& path, const QDateTime& now)
{
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFile::exists(target); ++n)
        target = path + QStringLiteral(".corrupt-") + stamp + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(path, target))
        return {};
    syncFolder(QFileInfo(path).absolutePath());
    return target;
}

} // namespace quillon::AtomicFile
