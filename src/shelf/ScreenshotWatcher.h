#pragma once

#include "platform/MainQueue.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace quillon {

/// Reports new screenshots and screen recordings as they are saved into the
/// screenshot folder, in batches of 0.2 s.
class ScreenshotWatcher {
public:
    ScreenshotWatcher() = default;
    ~ScreenshotWatcher() { stop(); }
    ScreenshotWatcher(const ScreenshotWatcher&) = delete;
    ScreenshotWatcher& operator=(const ScreenshotWatcher&) = delete;

    /// Called with the files of new captures.
    std::function<void(const QList<QUrl>&)> onScreenshot;

    /// Takes the folder's present files as the baseline and watches for new
    /// ones. Does nothing while watching.
    void start();
    void stop();
    bool isRunning() const { return m_running; }

    /// Where captures are saved: the screenshot tool's folder, where its
    /// settings name an existing one, else Pictures/Screenshots, else
    /// Pictures.
    static QString saveDirectory();
    /// The same for a given "location" as the tool's settings name it.
    static QString saveDirectory(const std::optional<QString>& location);
    /// Whether the save folder can be listed.
    static bool isFolderReadable();

    static constexpr double batchSeconds = 0.2;

private:
    void baseline(const QString& folder);
    void arrived(const QString& path);
    void sendBatch();

    bool m_running = false;
    QSet<QString> m_seen;
    QStringList m_waiting;
    platform::WorkItem m_batch;
};

} // namespace quillon
