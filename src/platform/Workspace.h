#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// A running application: a process with a window or a tray icon.
struct RunningApp {
    int32_t pid = 0;
    /// The desktop application id (see AppDirectory).
    QString appId;
    QString name;
    /// A theme icon name or an absolute path; empty when none.
    QString iconName;
    /// Shown in menus or has had an ordinary window; otherwise a background
    /// app. Windows only of a shell (docks, desktops, notifications), or a
    /// tray icon and no ordinary window left, also make a background app.
    bool regular = false;
    /// Owns the focused window.
    bool active = false;
    /// Every window minimised.
    bool hidden = false;

    bool operator==(const RunningApp&) const = default;
};

/// `hidden`: every window of the app is minimised now; `unhidden`: one of
/// them is restored.
enum class AppNotice { launched, terminated, activated, deactivated, hidden, unhidden };

/// Running applications and what can be done with them. Main thread.
class Workspace {
public:
    using Handler = std::function<void(AppNotice notice, const RunningApp& app)>;

    virtual ~Workspace() = default;

    virtual std::vector<RunningApp> runningApps() = 0;
    virtual std::optional<RunningApp> frontmostApp() = 0;
    virtual std::optional<RunningApp> app(int32_t pid) = 0;
    virtual QIcon icon(const RunningApp& app) = 0;

    /// Brings the application's front window forward.
    virtual bool activate(int32_t pid) = 0;
    /// Minimises every window of it, or restores them.
    virtual bool hide(int32_t pid) = 0;
    virtual bool unhide(int32_t pid) = 0;
    /// Asks the application to quit, politely: each of its windows is asked
    /// to close, and a process left without windows is sent SIGTERM. Never
    /// forced. False when there is no such application.
    virtual bool quit(int32_t pid) = 0;

    /// Starts the application of a desktop entry, without a shell, and
    /// answers the pid of the first running app of that id to appear within
    /// `launchTimeout` seconds, else none (also when the entry cannot be
    /// started). An app of that id already running answers at once.
    virtual void launch(const QString& appId, std::function<void(std::optional<int32_t> pid)> done) = 0;
    static constexpr double launchTimeout = 10.0;

    /// Shows a file selected in the file manager.
    virtual bool reveal(const QString& path) = 0;
    /// Shows several files selected in one file manager window.
    virtual bool reveal(const QStringList& paths) = 0;
    /// Opens each file with its default application.
    virtual void open(const QStringList& paths) = 0;

    /// Launched, terminated, activated and deactivated notices.
    virtual int addHandler(Handler handler) = 0;
    virtual void removeHandler(int token) = 0;
};

} // namespace quillon::platform
