#include "support/FileLog.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

const QString FileLog::sessionMarker = QStringLiteral("\u2550\u2550\u2550");
const QString FileLog::carriedOverSuffix = QStringLiteral("   (carried over by a log roll)");

namespace {

QByteArray encodePath(const QString& path) { return QFile::encodeName(path); }

void writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n <= 0)
            break;
        data += n;
        left -= n;
    }
}

// Rewrites the file in place (same inode): the crash reporter's descriptor
// keeps appending to what is written here.
void rewriteInPlace(const QString& path, const QByteArray& content)
{
    const int fd = ::open(encodePath(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return;
    writeAll(fd, content);
    ::close(fd);
}

qint64 byteLength(const QStringList& lines, int from)
{
    qint64 total = 0;
    for (int i = from; i < lines.size(); ++i)
        total += lines[i].toUtf8().size() + 1;
    return total;
}

} // namespace

QString FileLog::directory() { return platform::platform().paths().logDir(); }
QString FileLog::filePath() { return directory() + QStringLiteral("/debug.log"); }
QString FileLog::previousPath() { return directory() + QStringLiteral("/debug-previous.log"); }

QString FileLog::timestamp(const QDateTime& time) { return time.toUTC().toString(Qt::ISODateWithMs); }

std::optional<QDateTime> FileLog::parseTimestamp(const QString& word)
{
    // Only full stamps count: a date alone or a number is not a line's time.
    if (word.size() < 20 || word[4] != QLatin1Char('-') || word[10] != QLatin1Char('T'))
        return std::nullopt;
    const QDateTime t = QDateTime::fromString(word, Qt::ISODateWithMs);
    if (!t.isValid())
        return std::nullopt;
    return t;
}

void FileLog::append(const QString& message)
{
    appendRaw(timestamp(platform::platform().clock().now()) + QLatin1Char(' ') + message + QLatin1Char('\n'));
}

void FileLog::appendSession(const QString& text)
{
    appendRaw(timestamp(platform::platform().clock().now()) + QLatin1Char(' ') + sessionMarker + QLatin1Char(' ') + text
              + QLatin1Char(' ') + sessionMarker + QLatin1Char('\n'));
}

void FileLog::appendRaw(const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return;
    QDir().mkpath(directory());
    // Append and create in one call: an existing file is never replaced.
    const int fd = ::open(encodePath(filePath()).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    struct stat st{};
    const qint64 before = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : 0;
    writeAll(fd, bytes);
    ::close(fd);
    // A write into an empty or new file never rolls, however long it is.
    if (before > 0 && before + bytes.size() > rollSize)
        rotate();
}

void FileLog::rotate()
{
    const QString path = filePath();
    QFile::remove(previousPath());
    QFile::copy(path, previousPath());

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray raw = file.readAll();
    file.close();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(raw);
    if (decoder.hasError()) {
        rewriteInPlace(path, QByteArray());
        return;
    }

    const QStringList lines = text.split(QLatin1Char('\n'));
    const QDateTime now = platform::platform().clock().now();
    int cut = cutIndex(lines, now, retention);
    // A roll must always shrink the file: when what the 24-hour cut keeps is
    // still over the roll size, drop at least the older half, or every later
    // line would roll again.
    if (lines.size() >= 2 && byteLength(lines, std::max(cut, 0)) > rollSize)
        cut = std::max(cut, int(lines.size() / 2));
    if (cut <= 0)
        return;

    QStringList out;
    if (auto header = sessionLine(cut, lines))
        out << *header + carriedOverSuffix;
    out << timestamp(now) + QStringLiteral(" \u2014 rolled: ") + QString::number(cut)
               + QStringLiteral(" older line(s) dropped, keeping the last 24h \u2014");
    out << lines.mid(cut);
    rewriteInPlace(path, (out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

int FileLog::cutIndex(const QStringList& lines, const QDateTime& now, double retaining)
{
    const QDateTime cutoff = now.addMSecs(-qint64(retaining * 1000.0));
    int cut = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList words = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const auto time = parseTimestamp(words.first());
        if (!time)
            continue;
        if (*time < cutoff)
            cut = i + 1;
        else
            break;
    }
    if (cut == 0 && lines.size() >= 2)
        return int(lines.size() / 2);
    return cut;
}

std::optional<QString> FileLog::sessionLine(int index, const QStringList& lines)
{
    if (index < 1 || index > lines.size())
        return std::nullopt;
    for (int i = index; i < lines.size(); ++i) {
        if (lines[i].contains(sessionMarker)) {
            bool allEmpty = true;
            for (int j = index; j < i; ++j)
                allEmpty = allEmpty && lines[j].isEmpty();
            if (allEmpty)
                return std::nullopt;
            break;
        }
    }
    for (int i = index - 1; i >= 0; --i) {
        if (lines[i].contains(sessionMarker))
            return lines[i];
    }
    return std::nullopt;
}

int FileLog::openForCrashWriting()
{
    QDir().mkpath(directory());
    const QByteArray path = encodePath(filePath());
    const int create = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (create >= 0)
        ::close(create);
    // Close-on-exec: a process started from here (a relaunch) must not
    // inherit a descriptor on this file.
    return ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
}

QString FileLog::byteCountText(qint64 bytes)
{
    // Decimal units, as file sizes are shown to people.
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1000)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1000 * 1000)
        return QStringLiteral("%1 KB").arg(qRound64(double(bytes) / 1e3));
    if (bytes < qint64(1000) * 1000 * 1000)
        return QStringLiteral("%1 MB").arg(QString::number(double(bytes) / 1e6, 'f', 1));
    return QStringLiteral("%1 GB").arg(QString::number(double(bytes) / 1e9, 'f', 2));
}

std::optional<QString> FileLog::sizeDescription()
{
    const QFileInfo info(filePath());
    if (!info.exists() || info.size() < 1)
        return std::nullopt;
    return byteCountText(info.size());
}

void FileLog::reveal()
{
    if (!QFileInfo::exists(filePath())) {
        QDir().mkpath(directory());
        QFile file(filePath());
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    platform::platform().workspace().reveal(filePath());
}

void FileLog::clear()
{
    if (QFileInfo::exists(filePath()))
        rewriteInPlace(filePath(), QByteArray());
    QFile::remove(previousPath());
}

} // namespace quillon
