#include "shelf/ScreenshotWatcher.h"

#include "platform/Platform.h"
#include "shelf/ContentTypes.h"
#include "support/AppFiles.h"
#include "support/CrashReporter.h"
#include "support/Log.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

/// Captures and recordings; not the hidden file a tool writes before it
/// renames it into place.
bool isCapture(const QString& path)
{
    if (QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
        return false;
    const auto type = ContentTypes::ofPath(path);
    return type && (type->startsWith(QLatin1String("image/")) || type->startsWith(QLatin1String("video/")));
}

} // namespace

QString ScreenshotWatcher::saveDirectory()
{
    return saveDirectory(platform::platform().screenshots().configuredLocation());
}

QString ScreenshotWatcher::saveDirectory(const std::optional<QString>& location)
{
    const platform::Paths& paths = platform::platform().paths();
    const QString pictures = QDir::cleanPath(paths.picturesDir());
    const QString screenshots = pictures + QStringLiteral("/Screenshots");
    QString fallback = QFileInfo(screenshots).isDir() ? screenshots : pictures;
    if (!location || location->isEmpty())
        return fallback;
    QString path = *location;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = paths.home() + path.mid(1);
    if (!path.startsWith(QLatin1Char('/')))
        path = paths.home() + QLatin1Char('/') + path;
    const QFileInfo info(QDir::cleanPath(path));
    const QString resolved = info.canonicalFilePath();
    if (resolved.isEmpty() || !QFileInfo(resolved).isDir())
        return fallback;
    return resolved;
}

bool ScreenshotWatcher::isFolderReadable()
{
    QDir folder(saveDirectory());
    return folder.exists() && folder.isReadable() && QFileInfo(folder.path()).isDir();
}

void ScreenshotWatcher::start()
{
    if (m_running)
        return;
    const QString folder = saveDirectory();
    isFolderReadable();
    const bool watching =
        platform::platform().screenshots().watch(folder, [this](const QString& path) { arrived(path); });
    if (!watching) {
        Log::debug([&] { return QStringLiteral("ScreenshotWatcher: cannot watch ") + folder; });
        stop();
        return;
    }
    m_running = true;
    baseline(folder);
    Log::debug(
        [&] { return QStringLiteral("ScreenshotWatcher: watching for captures (folder: %1)").arg(folder); });
}

void ScreenshotWatcher::stop()
{
    if (m_running)
        platform::platform().screenshots().unwatch();
    m_running = false;
    m_batch.cancel();
    m_waiting.clear();
    m_seen.clear();
}

void ScreenshotWatcher::baseline(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        m_seen.insert(folder + QLatin1Char('/') + name);
    Log::debug([&] {
        return QStringLiteral("ScreenshotWatcher: baseline %1 existing capture(s)").arg(m_seen.size());
    });
}

void ScreenshotWatcher::arrived(const QString& path)
{
    // The shelf's own copies live in the application folder; its name
    // followed by a slash, so that a folder "Quillon-old" is not taken for it.
    const QString ours = QDir::cleanPath(AppFiles::root()) + QLatin1Char('/');
    if (!m_running || !isCapture(path) || path.startsWith(ours) || m_seen.contains(path))
        return;
    m_seen.insert(path);
    m_waiting.push_back(path);
    if (!m_batch.isPending())
        m_batch = platform::platform().mainQueue().after(batchSeconds, [this] { sendBatch(); });
}

void ScreenshotWatcher::sendBatch()
{
    QList<QUrl> files;
    for (const QString& path : std::as_const(m_waiting))
        if (QFileInfo::exists(path)) // deleted meanwhile: nothing to collect
            files.push_back(QUrl::fromLocalFile(path));
    m_waiting.clear();
    if (files.isEmpty())
        return;
    Log::debug([&] { return QStringLiteral("ScreenshotWatcher: %1 new capture(s)").arg(files.size()); });
    CrashReporter::breadcrumb(QStringLiteral("screenshot: %1 capture(s) detected").arg(files.size()));
    if (onScreenshot)
        onScreenshot(files);
}

} // namespace quillon
