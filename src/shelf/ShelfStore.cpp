#include "shelf/ShelfStore.h"

#include "support/AppFiles.h"
#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quillon {

namespace {

constexpr const char* metadataNames[] = {".DS_Store", ShelfStore::originsName};

fs::path native(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromNative(const fs::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

bool isMetadata(const std::string& name)
{
    return std::any_of(std::begin(metadataNames), std::end(metadataNames),
                       [&](const char* meta) { return name == meta; });
}

/// Seconds and nanoseconds; the earliest value stands for "no date".
using Stamp = std::pair<long long, long long>;
constexpr Stamp noDate{LLONG_MIN, 0};

std::optional<Stamp> statStamp(const fs::path& path, bool birth)
{
    struct statx info {};
    const unsigned mask = birth ? STATX_BTIME : STATX_MTIME;
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, mask, &info) != 0 || !(info.stx_mask & mask))
        return std::nullopt;
    const statx_timestamp& t = birth ? info.stx_btime : info.stx_mtime;
    return Stamp{t.tv_sec, t.tv_nsec};
}

/// The order of adding: the folder's birth; where the filesystem keeps none,
/// the time ".origins" was written (it never is again), else the folder's
/// last change.
Stamp itemDate(const fs::path& folder, bool readsBirthTimes)
{
    if (readsBirthTimes)
        if (auto born = statStamp(folder, true))
            return *born;
    if (auto written = statStamp(folder / ShelfStore::originsName, false))
        return *written;
    return statStamp(folder, false).value_or(noDate);
}

bool occupied(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

/// The file's bytes only: no mode beyond the default, no times, no extended
/// attributes.
std::error_code copyData(const fs::path& source, const fs::path& target)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return {errno, std::generic_category()};
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return {error, std::generic_category()};
    }
    std::error_code result;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result = {errno, std::generic_category()};
            break;
        }
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                result = {errno, std::generic_category()};
                break;
            }
            done += put;
        }
        if (result)
            break;
    }
    ::close(in);
    if (::close(out) != 0 && !result)
        result = {errno, std::generic_category()};
    if (result)
        ::unlink(target.c_str());
    return result;
}

/// Copies a file, a link (as a link) or a whole folder (its links as links).
std::error_code copyEntry(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (!ec)
        return {};
    std::error_code ignored;
    fs::remove_all(target, ignored);
    // Data alone, for a file only: a folder is copied whole or not at all,
    // and a pipe or device has no end to copy up to.
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return ec;
    const std::error_code fallback = copyData(source, target);
    return fallback ? ec : std::error_code();
}

void logFailedStash(const QString& name, const QString& error)
{
    Log::debug([&] { return QStringLiteral("ShelfStore: failed to stash %1: %2").arg(name, error); });
}

} // namespace

QString ShelfItem::displayName() const
{
    if (urls.size() == 1)
        return QFileInfo(urls.first().toLocalFile()).fileName();
    return QStringLiteral("%1 files").arg(urls.size());
}

ShelfStore::ShelfStore(QString directory)
    : m_directory(QDir::cleanPath(QDir(directory).absolutePath()))
{
}

QString ShelfStore::numberedName(const QString& name, int counter)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name + QLatin1Char(' ') + QString::number(counter);
    return name.left(dot) + QLatin1Char(' ') + QString::number(counter) + name.mid(dot);
}

std::optional<QUuid> ShelfStore::idOfFolderName(const QString& name)
{
    static const QRegularExpression form(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    if (!form.match(name).hasMatch())
        return std::nullopt;
    return QUuid::fromString(name);
}

QStringList ShelfStore::parseOrigins(const QByteArray& text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString ShelfStore::standardPath(const QUrl& url)
{
    return QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
}

void ShelfStore::load()
{
    m_items.clear();
    const fs::path root = native(m_directory);
    std::error_code ec;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->path().filename().native().starts_with('.'))
            entries.push_back(it->path());
    }
    if (ec)
        return;

    std::vector<std::pair<Stamp, ShelfItem>> found;
    for (const fs::path& entry : entries) {
        std::error_code ignored;
        const auto id = idOfFolderName(fromNative(entry.filename()));
        // Strays (a leftover ".partial" or ".removing" folder among them) go;
        // a link goes as a link, whatever it points at.
        if (!id || !fs::is_directory(fs::symlink_status(entry, ignored))) {
            fs::remove_all(entry, ignored);
            continue;
        }
        std::vector<std::string> names;
        std::error_code listing;
        for (fs::directory_iterator it(entry, listing), end; !listing && it != end; it.increment(listing)) {
            std::string name = it->path().filename().native();
            if (!isMetadata(name))
                names.push_back(std::move(name));
        }
        if (listing) {
            // Unreadable for now, perhaps not for good: its files stay.
            Log::debug([&] {
                return QStringLiteral("ShelfStore: cannot list %1: %2")
                    .arg(fromNative(entry), QString::fromStdString(listing.message()));
            });
            continue;
        }
        if (names.empty()) {
            fs::remove_all(entry, ignored);
            continue;
        }
        // Byte order of UTF-8 names is code-point order.
        std::stable_sort(names.begin(), names.end());
        ShelfItem item{*id, {}, {}};
        for (const std::string& name : names)
            item.urls.push_back(QUrl::fromLocalFile(fromNative(entry / name)));
        QFile origins(fromNative(entry / originsName));
        if (origins.open(QIODevice::ReadOnly))
            item.origins = parseOrigins(origins.readAll());
        found.emplace_back(itemDate(entry, readsBirthTimes), std::move(item));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& pair : found)
        m_items.push_back(std::move(pair.second));
}

ShelfStore::AddResult ShelfStore::add(const QList<QUrl>& urls)
{
    AddResult result;
    if (urls.isEmpty())
        return result;

    QHash<QString, QUuid> owners;
    for (const ShelfItem& item : std::as_const(m_items))
        for (const QString& origin : item.origins)
            owners.insert(origin, item.id);

    QStringList fresh;
    for (const QUrl& url : urls) {
        const QString path = standardPath(url);
        if (auto owner = owners.constFind(path); owner != owners.constEnd())
            result.duplicates.insert(*owner);
        else
            fresh.push_back(path);
    }
    if (fresh.isEmpty())
        return result;

    if (m_directory.startsWith(AppFiles::root() + QLatin1Char('/')))
        AppFiles::makeRoot();
    std::error_code ignored;
    const fs::path shelf = native(m_directory);
    fs::create_directories(shelf, ignored);

    // The item takes shape under a name no load takes for an item, so a stash
    // cut short is cleared away instead of showing as a whole item.
    const QUuid id = QUuid::createUuid();
    const QString idText = id.toString(QUuid::WithoutBraces).toUpper();
    const fs::path building = shelf / native(idText + QStringLiteral(".partial"));
    fs::create_directory(building, ignored);

    QStringList names;
    QStringList origins;
    const QString shelfPrefix = m_directory + QLatin1Char('/');
    for (const QString& source : std::as_const(fresh)) {
        const QString name = QFileInfo(source).fileName();
        const QString sourcePrefix = source.endsWith(QLatin1Char('/')) ? source : source + QLatin1Char('/');
        if (m_directory == source || shelfPrefix.startsWith(sourcePrefix)) {
            logFailedStash(name, QStringLiteral("it holds the shelf itself"));
            continue;
        }
        QString target = name;
        for (int counter = 2; occupied(building / native(target)); ++counter)
            target = numberedName(name, counter);
        if (const std::error_code error = copyEntry(native(source), building / native(target))) {
            logFailedStash(name, QString::fromStdString(error.message()));
            continue;
        }
        names.push_back(target);
        origins.push_back(source);
    }

    const fs::path finished = shelf / native(idText);
    bool placed = false;
    if (!names.isEmpty()) {
        AtomicFile::write(fromNative(building / originsName), origins.join(QLatin1Char('\n')).toUtf8());
        // The copies reach the disk before the name that makes them an item:
        // each file by itself, a copied folder with the whole filesystem.
        bool copiedFolder = false;
        for (const QString& name : std::as_const(names)) {
            const fs::path copy = building / native(name);
            std::error_code ec;
            if (fs::is_directory(fs::symlink_status(copy, ec)))
                copiedFolder = true;
            else if (const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
                     fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
        }
        if (const int fd = ::open(building.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
            copiedFolder ? ::syncfs(fd) : ::fsync(fd);
            ::close(fd);
        }
        placed = ::rename(building.c_str(), finished.c_str()) == 0;
        if (!placed)
            Log::debug([&] { return QStringLiteral("ShelfStore: cannot place item %1").arg(idText); });
    }
    if (!placed) {
        fs::remove_all(building, ignored);
        return result;
    }
    AtomicFile::syncFolder(m_directory);

    ShelfItem item{id, {}, origins};
    for (const QString& name : std::as_const(names))
        item.urls.push_back(QUrl::fromLocalFile(fromNative(finished / native(name))));
    m_items.push_back(item);
    result.added.push_back(std::move(item));
    if (onChange)
        onChange();
    return result;
}

void ShelfStore::remove(const QSet<QUuid>& ids)
{
    if (ids.isEmpty())
        return;
    QList<ShelfItem> going;
    for (const ShelfItem& item : std::as_const(m_items))
        if (ids.contains(item.id))
            going.push_back(item);
    if (going.isEmpty())
        return;
    for (const ShelfItem& item : std::as_const(going)) {
        const fs::path folder = native(QFileInfo(item.urls.first().toLocalFile()).path());
        fs::path doomed = folder;
        doomed += ".removing";
        // Renamed first, so a deletion cut short is finished by the next load
        // rather than bringing back part of the item.
        std::error_code ignored;
        if (::rename(folder.c_str(), doomed.c_str()) == 0)
            fs::remove_all(doomed, ignored);
        else
            fs::remove_all(folder, ignored);
    }
    m_items.removeIf([&](const ShelfItem& item) { return ids.contains(item.id); });
    if (onChange)
        onChange();
}

} // namespace quillon
