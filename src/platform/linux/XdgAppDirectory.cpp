#include "platform/linux/XdgAppDirectory.h"

#include "platform/linux/DesktopEntry.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace quillon::platform::linux_ {

XdgAppDirectory::XdgAppDirectory()
    : m_dirs(applicationDirs())
{
    // Package managers write several files in a row: read once they settle.
    m_settle.setSingleShot(true);
    m_settle.setInterval(300);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        m_stale = true;
        m_fileManager.reset();
        watch();
        m_handlers.notify();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
    watch();
}

QStringList XdgAppDirectory::applicationDirs()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    QStringList dirs{home + QStringLiteral("/applications")};
    for (const QString& dir : system.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs << dir + QStringLiteral("/applications");
    dirs.removeDuplicates();
    return dirs;
}

QString XdgAppDirectory::defaultFileManager()
{
    if (m_fileManager)
        return *m_fileManager;
    const QString folders = QStringLiteral("inode/directory");
    const auto& installed = entries();
    const auto isInstalled = [&](const QString& appId) {
        return std::any_of(installed.begin(), installed.end(), [&](const AppEntry& e) { return e.appId == appId; });
    };
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    QString configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (configDirs.isEmpty())
        configDirs = QStringLiteral("/etc/xdg");
    QStringList lists{configHome + QStringLiteral("/mimeapps.list")};
    for (const QString& dir : configDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : m_dirs)
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& path : lists) {
        const auto group = DesktopEntry::read(path, QStringLiteral("Default Applications"));
        if (!group)
            continue;
        for (QString id : group->value(folders).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            id = id.trimmed();
            if (id.endsWith(QLatin1String(".desktop")))
                id.chop(8);
            if (isInstalled(id)) {
                m_fileManager = id;
                return id;
            }
        }
    }
    const auto opener = std::find_if(installed.begin(), installed.end(),
                                     [&](const AppEntry& e) { return e.mimeTypes.contains(folders); });
    m_fileManager = opener == installed.end() ? QString() : opener->appId;
    return *m_fileManager;
}

const std::vector<AppEntry>& XdgAppDirectory::entries()
{
    if (m_stale)
        load();
    return m_entries;
}

namespace {

// The desktop file id: the path below the folder, '/' made '-'.
QString desktopFileId(const QString& dir, const QString& path)
{
    QString appId = QDir(dir).relativeFilePath(path);
    appId.chop(8);
    appId.replace(QLatin1Char('/'), QLatin1Char('-'));
    return appId;
}

} // namespace

std::optional<AppEntry> XdgAppDirectory::entryAt(const QString& path)
{
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!file.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    QString appId = QFileInfo(file).completeBaseName();
    for (const QString& dir : m_dirs) {
        if (file.startsWith(QDir::cleanPath(dir) + QLatin1Char('/'))) {
            appId = desktopFileId(dir, file);
            break;
        }
    }
    const auto entry = DesktopEntry::read(file);
    return entry ? entry->application(appId, file) : std::nullopt;
}

void XdgAppDirectory::load()
{
    m_stale = false;
    m_entries.clear();
    QSet<QString> seen;
    for (const QString& dir : m_dirs) {
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString appId = desktopFileId(dir, path);
            if (seen.contains(appId))
                continue;
            seen.insert(appId); // also a Hidden entry hides the ones below it
            if (const auto entry = DesktopEntry::read(path)) {
                if (auto app = entry->application(appId, path))
                    m_entries.push_back(std::move(*app));
            }
        }
    }
}

void XdgAppDirectory::watch()
{
    QStringList wanted;
    for (const QString& dir : m_dirs) {
        // A folder that does not exist yet is noticed through its parent.
        const QString watched = QDir(dir).exists() ? dir : QFileInfo(dir).path();
        if (QDir(watched).exists())
            wanted << watched;
        QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            wanted << it.next();
    }
    wanted.removeDuplicates();
    const QStringList current = m_watcher.directories();
    QStringList added;
    for (const QString& dir : wanted) {
        if (!current.contains(dir))
            added << dir;
    }
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

} // namespace quillon::platform::linux_
