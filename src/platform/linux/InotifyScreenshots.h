#pragma once

#include "platform/Screenshots.h"

#include <QByteArray>

class QSocketNotifier;

namespace quillon::platform::linux_ {

/// Screenshots on Linux: the save folder set in Spectacle or Flameshot, and
/// an inotify watch on it read through a socket notifier.
class InotifyScreenshots final : public Screenshots {
public:
    InotifyScreenshots() = default;
    ~InotifyScreenshots() override;

    std::optional<QString> configuredLocation() override;
    bool watch(const QString& folder, std::function<void(const QString& path)> onFile) override;
    void unwatch() override;

    /// The save folder the tools' settings files name: Spectacle's first
    /// (`imageSaveLocation`, or `defaultSaveLocation` in older releases, a
    /// file URL), then Flameshot's (`savePath`). A file that does not parse
    /// names nothing.
    static std::optional<QString> locationOfToolSettings(const QByteArray& spectaclerc,
                                                         const QByteArray& flameshotIni);

private:
    void readEvents();
    void watchFolder();

    int m_fd = -1;
    int m_folderWatch = -1;
    int m_parentWatch = -1;
    QString m_folder;
    std::function<void(const QString&)> m_onFile;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quillon::platform::linux_
