#pragma once

#include "platform/AppDirectory.h"
#include "platform/Observers.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

namespace quillon::platform::linux_ {

/// Installed applications from the desktop entries in
/// $XDG_DATA_HOME/applications and each of $XDG_DATA_DIRS/applications (the
/// first entry of an id wins), read again when those folders change.
class XdgAppDirectory final : public QObject, public AppDirectory {
public:
    XdgAppDirectory();
    /// The application folders, most important first.
    static QStringList applicationDirs();

    const std::vector<AppEntry>& entries() override;
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }
    /// The "inode/directory" default of the first mimeapps.list that names an
    /// installed one, else the first installed entry that opens folders. Read
    /// on first use and again after the installed applications change.
    QString defaultFileManager() override;
    std::optional<AppEntry> entryAt(const QString& path) override;
    QString userApplicationsFolder() override { return m_dirs.value(0); }

private:
    void load();
    void watch();

    QStringList m_dirs;
    std::vector<AppEntry> m_entries;
    bool m_stale = true;
    std::optional<QString> m_fileManager;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    Observers<> m_handlers;
};

} // namespace quillon::platform::linux_
