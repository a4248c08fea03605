#include "platform/linux/InotifyScreenshots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringDecoder>
#include <QUrl>

#include <sys/inotify.h>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

/// The value of the first of `keys` in an INI text of KConfig's or Qt's
/// kind, whatever its group; none when the text does not parse.
std::optional<std::optional<QString>> iniValue(const QByteArray& bytes,
                                               std::initializer_list<const char*> keys)
{
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError())
        return std::nullopt;
    QHash<QString, QString> values;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        // KConfig marks keys with options, as in "key[$e]=".
        QString key = line.left(equals).trimmed();
        if (const qsizetype options = key.indexOf(QLatin1Char('[')); options > 0)
            key = key.left(options);
        values.insert(key, line.mid(equals + 1).trimmed());
    }
    for (const char* key : keys)
        if (const auto found = values.constFind(QLatin1String(key)); found != values.constEnd())
            return std::optional<QString>(*found);
    return std::optional<QString>();
}

QByteArray readConfig(const QString& relative)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    QFile file(config + QLatin1Char('/') + relative);
    // Settings files are small; anything larger is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return {};
    return file.readAll();
}

} // namespace

InotifyScreenshots::~InotifyScreenshots()
{
    unwatch();
}

std::optional<QString> InotifyScreenshots::locationOfToolSettings(const QByteArray& spectaclerc,
                                                                  const QByteArray& flameshotIni)
{
    if (const auto spectacle = iniValue(spectaclerc, {"imageSaveLocation", "defaultSaveLocation"});
        spectacle && *spectacle && !(*spectacle)->isEmpty()) {
        const QString value = **spectacle;
        const QUrl url(value);
        if (url.isLocalFile())
            return url.toLocalFile();
        if (url.scheme().isEmpty())
            return value;
    }
    if (const auto flameshot = iniValue(flameshotIni, {"savePath"});
        flameshot && *flameshot && !(*flameshot)->isEmpty())
        return **flameshot;
    return std::nullopt;
}

std::optional<QString> InotifyScreenshots::configuredLocation()
{
    return locationOfToolSettings(readConfig(QStringLiteral("spectaclerc")),
                                  readConfig(QStringLiteral("flameshot/flameshot.ini")));
}

bool InotifyScreenshots::watch(const QString& folder, std::function<void(const QString&)> onFile)
{
    unwatch();
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return false;
    m_folder = QDir::cleanPath(folder);
    m_onFile = std::move(onFile);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier, &QSocketNotifier::activated, m_notifier, [this] { readEvents(); });
    watchFolder();
    if (m_folderWatch < 0) {
        // Desktops create the folder on the first capture: wait for it.
        const QString parent = QFileInfo(m_folder).path();
        m_parentWatch = ::inotify_add_watch(m_fd, QFile::encodeName(parent).constData(),
                                            IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
    }
    if (m_folderWatch < 0 && m_parentWatch < 0) {
        unwatch();
        return false;
    }
    return true;
}

void InotifyScreenshots::watchFolder()
{
    m_folderWatch = ::inotify_add_watch(m_fd, QFile::encodeName(m_folder).constData(),
                                        IN_CLOSE_WRITE | IN_MOVED_TO | IN_ONLYDIR);
}

void InotifyScreenshots::unwatch()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_folderWatch = m_parentWatch = -1;
    m_onFile = nullptr;
}

void InotifyScreenshots::readEvents()
{
    alignas(inotify_event) char buffer[16 * 1024];
    QStringList files;
    bool folderAppeared = false;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            if (event->wd == m_folderWatch && !(event->mask & IN_ISDIR) && !name.isEmpty())
                files.push_back(m_folder + QLatin1Char('/') + name);
            else if (event->wd == m_parentWatch && (event->mask & IN_ISDIR) &&
                     name == QFileInfo(m_folder).fileName() && m_folderWatch < 0)
                folderAppeared = true;
        }
    }
    if (folderAppeared) {
        watchFolder();
        if (m_folderWatch >= 0) {
            ::inotify_rm_watch(m_fd, m_parentWatch);
            m_parentWatch = -1;
            // Whatever the new folder already holds arrived after the watch began.
            for (const QString& name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden))
                files.push_back(m_folder + QLatin1Char('/') + name);
        }
    }
    const auto onFile = m_onFile;
    for (const QString& file : std::as_const(files))
        if (onFile)
            onFile(file);
}

} // namespace quillon::platform::linux_
