#pragma once

#include "platform/AppDirectory.h"
#include "platform/Observers.h"
#include "platform/Workspace.h"
#include "platform/linux/Ewmh.h"

#include <QObject>
#include <map>
#include <memory>
#include <set>

class QSocketNotifier;

namespace quillon::platform::linux_ {

class StatusNotifierPids;

/// Running applications of an X11 session: every process that owns a client
/// window or a tray icon, named through the installed desktop entries. A
/// process is held by a pidfd from the moment it is seen, so its exit is
/// noticed at once and a signal can never reach a later process that reused
/// its pid. Main thread.
class X11Workspace final : public QObject, public Workspace {
public:
    /// Works without an X server too: no application is then seen.
    X11Workspace(std::unique_ptr<X11Connection> connection, AppDirectory& directory);
    ~X11Workspace() override;

    std::vector<RunningApp> runningApps() override;
    std::optional<RunningApp> frontmostApp() override;
    std::optional<RunningApp> app(int32_t pid) override;
    QIcon icon(const RunningApp& app) override;
    bool activate(int32_t pid) override;
    bool hide(int32_t pid) override;
    bool unhide(int32_t pid) override;
    bool quit(int32_t pid) override;
    bool reveal(const QString& path) override;
    bool reveal(const QStringList& paths) override;
    void open(const QStringList& paths) override;
    void launch(const QString& appId, std::function<void(std::optional<int32_t> pid)> done) override;
    int addHandler(Handler handler) override { return m_handlers.add(std::move(handler)); }
    void removeHandler(int token) override { m_handlers.remove(token); }

    /// How long an app asked to quit may stay without windows before it is
    /// sent SIGTERM.
    static constexpr int quitGraceMs = 2000;

private:
    struct Record {
        RunningApp app;
        int pidfd = -1;
        QSocketNotifier* exitNotifier = nullptr;
        std::vector<xcb_window_t> windows; // front to back
        std::vector<xcb_window_t> minimized;
        bool hadNormalWindow = false;
        // This refresh's windows by sort: ordinary (normal, dialog or
        // undeclared), shell (dock, desktop, notification) and the rest.
        int ordinaryWindows = 0;
        int shellWindows = 0;
        int otherWindows = 0;
        bool shownInMenus = false;
        bool quitting = false;
        bool graceArmed = false;
    };

    void handle(const xcb_generic_event_t* event);
    /// Reads the client list, the tray and the active window again.
    void refresh(bool announce);
    /// The XEmbed tray's icons and the StatusNotifierItems.
    std::vector<int32_t> trayPids();
    Record& adopt(int32_t pid, const ClientInfo* window);
    void exited(int32_t pid);
    void updateActive(bool announce);
    bool terminate(Record& record);
    void watchTray();

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    AppDirectory& m_directory;
    int m_eventToken = 0;
    int m_directoryToken = 0;
    xcb_window_t m_tray = XCB_WINDOW_NONE;
    std::map<int32_t, Record> m_apps;
    /// Clients whose state changes we receive (to see them minimised).
    std::set<uint32_t> m_watchedClients;
    Observers<AppNotice, const RunningApp&> m_handlers;
    std::unique_ptr<StatusNotifierPids> m_statusNotifiers;
};

} // namespace quillon::platform::linux_
