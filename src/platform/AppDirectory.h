#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// An installed application: one desktop entry.
struct AppEntry {
    /// The desktop file id without ".desktop" ("org.gnome.Nautilus", "debian-xterm").
    QString appId;
    QString name;
    /// A theme icon name or an absolute path; empty when none.
    QString icon;
    /// The program of its Exec line, without folder ("xterm").
    QString executable;
    /// The whole Exec line, escapes of the file format resolved.
    QString exec;
    QString startupWMClass;
    /// Listed in application menus (not NoDisplay, not Hidden).
    bool shownInMenus = true;
    QStringList mimeTypes;
    QString path;
};

/// What a running program's windows and process say about which application
/// it is.
struct AppHints {
    QString gtkApplicationId;
    QString kdeDesktopFile;
    QString wmInstance;
    QString wmClass;
    /// The file name of the process's executable.
    QString executable;
};

/// The installed applications. Main thread.
class AppDirectory {
public:
    virtual ~AppDirectory() = default;

    /// Every installed application, one per app id.
    virtual const std::vector<AppEntry>& entries() = 0;
    /// Called on the main thread after the installed applications changed.
    virtual int addChangeHandler(std::function<void()> handler) = 0;
    virtual void removeChangeHandler(int token) = 0;
    /// The app id of the default file manager (the handler of folders); empty
    /// when none is installed.
    virtual QString defaultFileManager() = 0;
    /// The application entry of a desktop file a person picked, wherever it
    /// lies: its id is the path below an applications folder with '/' made
    /// '-', else the file name without ".desktop". None when the file is not
    /// an application entry (or is marked Hidden).
    virtual std::optional<AppEntry> entryAt(const QString& path) = 0;
    /// The person's own applications folder, where a file chooser starts.
    virtual QString userApplicationsFolder() = 0;

    std::optional<AppEntry> entry(const QString& appId);
    /// The application a program belongs to: its GTK application id, its KDE
    /// desktop file, WM_CLASS against StartupWMClass and then against the
    /// entries' names, and last its executable against the entries' Exec
    /// programs. None when nothing matches.
    std::optional<AppEntry> identify(const AppHints& hints);
    /// The app id of a program: the identified entry's, else the name of its
    /// executable (else its WM_CLASS).
    QString appId(const AppHints& hints);
};

} // namespace quillon::platform
