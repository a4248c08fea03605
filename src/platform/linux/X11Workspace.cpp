#include "platform/linux/X11Workspace.h"

#include "platform/MainQueue.h"
#include "platform/Platform.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/StatusNotifierPids.h"
#include "support/Log.h"

#include <QProcess>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/syscall.h>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

int openPidfd(int32_t pid) { return int(::syscall(SYS_pidfd_open, pid, 0)); }

QString executableOf(int32_t pid)
{
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromUtf8(comm.readAll()).trimmed();
    return QString();
}

bool isAppWindow(const std::optional<WindowKind>& kind)
{
    return kind != WindowKind::dock && kind != WindowKind::desktop;
}

bool isNormal(const std::optional<WindowKind>& kind)
{
    return !kind || kind == WindowKind::standard || kind == WindowKind::dialog;
}

// Windows of a desktop shell: panels, the desktop itself, notification bubbles.
bool isShellWindow(const std::optional<WindowKind>& kind)
{
    return kind == WindowKind::dock || kind == WindowKind::desktop || kind == WindowKind::notification;
}

} // namespace

X11Workspace::X11Workspace(std::unique_ptr<X11Connection> connection, AppDirectory& directory)
    : m_x(std::move(connection))
    , m_directory(directory)
{
    if (!m_x)
        return;
    m_ewmh = std::make_unique<Ewmh>(*m_x);
    m_eventToken = m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
    m_x->selectEvents(m_x->root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    m_x->internAtoms({"_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN",
                      "WM_CHANGE_STATE"});
    // Installing or removing an application can rename what runs.
    m_directoryToken = m_directory.addChangeHandler([this] {
        for (auto& [pid, record] : m_apps)
            record.app.appId.clear();
        refresh(false);
    });
    m_statusNotifiers = std::make_unique<StatusNotifierPids>([this] { refresh(true); });
    refresh(false);
}

X11Workspace::~X11Workspace()
{
    if (!m_x)
        return;
    m_directory.removeChangeHandler(m_directoryToken);
    m_x->removeEventHandler(m_eventToken);
    for (auto& [pid, record] : m_apps) {
        delete record.exitNotifier;
        if (record.pidfd >= 0)
            ::close(record.pidfd);
    }
}

void X11Workspace::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        // Minimising changes no list on the root, only the client's state.
        if (e->window != m_x->root()) {
            if (e->atom == m_x->atom("_NET_WM_STATE"))
                refresh(true);
            return;
        }
        if (e->atom == m_x->atom("_NET_CLIENT_LIST"))
            refresh(true);
        else if (e->atom == m_x->atom("_NET_ACTIVE_WINDOW"))
            updateActive(true);
    } else if (type == XCB_MAP_NOTIFY || type == XCB_DESTROY_NOTIFY || type == XCB_REPARENT_NOTIFY) {
        // Something changed inside the tray: an icon came or went.
        const auto* e = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (m_tray != XCB_WINDOW_NONE && e->event == m_tray)
            refresh(true);
    }
}

void X11Workspace::refresh(bool announce)
{
    if (!m_ewmh || !m_x->isAlive())
        return;
    auto stacking = m_ewmh->clientList(true).value_or(std::vector<xcb_window_t>{});
    std::reverse(stacking.begin(), stacking.end());
    const auto infos = m_ewmh->clients(stacking, ClientInfo::Pid | ClientInfo::Type | ClientInfo::State |
                                                     ClientInfo::AppHints);
    const xcb_atom_t hiddenState = m_x->atom("_NET_WM_STATE_HIDDEN");
    // Our mask on a client stays until it is destroyed: each is selected once.
    for (const xcb_window_t window : stacking) {
        if (m_watchedClients.insert(window).second)
            m_x->selectEvents(window, XCB_EVENT_MASK_PROPERTY_CHANGE);
    }
    std::erase_if(m_watchedClients, [&](xcb_window_t w) {
        return std::find(stacking.begin(), stacking.end(), w) == stacking.end();
    });
    std::map<int32_t, bool> wasHidden;
    for (const auto& [pid, record] : m_apps)
        wasHidden[pid] = record.app.hidden;
    QSet<int32_t> known;
    for (const auto& [pid, record] : m_apps)
        known.insert(pid);
    std::vector<int32_t> launched;
    for (auto& [pid, record] : m_apps) {
        record.windows.clear();
        record.minimized.clear();
        record.ordinaryWindows = record.shellWindows = record.otherWindows = 0;
    }
    for (const ClientInfo& info : infos) {
        if (!info.pid)
            continue;
        const auto kind = m_ewmh->kind(info);
        if (!m_apps.count(*info.pid))
            launched.push_back(*info.pid);
        Record& record = adopt(*info.pid, &info);
        record.hadNormalWindow = record.hadNormalWindow || isNormal(kind);
        ++(isNormal(kind) ? record.ordinaryWindows : isShellWindow(kind) ? record.shellWindows : record.otherWindows);
        if (!isAppWindow(kind))
            continue;
        record.windows.push_back(info.window);
        if (info.hasState(hiddenState))
            record.minimized.push_back(info.window);
    }
    const std::vector<int32_t> inTray = trayPids();
    for (const int32_t pid : inTray) {
        if (!m_apps.count(pid))
            launched.push_back(pid);
        adopt(pid, nullptr);
    }
    for (auto& [pid, record] : m_apps) {
        // A panel or desktop shell is a background app whatever its menu
        // entry says, and so is an app that went to the tray as its last
        // ordinary window closed.
        const bool shellOnly = record.shellWindows > 0 && record.ordinaryWindows == 0 && record.otherWindows == 0;
        const bool trayOnly =
            record.ordinaryWindows == 0 && std::find(inTray.begin(), inTray.end(), pid) != inTray.end();
        record.app.regular = !shellOnly && !trayOnly && (record.shownInMenus || record.hadNormalWindow);
        record.app.hidden = !record.windows.empty() && record.minimized.size() == record.windows.size();
        // Asked to quit and now without windows: it gets a moment to end by
        // itself before it is asked by signal.
        if (record.quitting && record.windows.empty() && !record.graceArmed) {
            record.graceArmed = true;
            QTimer::singleShot(quitGraceMs, this, [this, pid = pid] {
                auto it = m_apps.find(pid);
                if (it != m_apps.end() && it->second.quitting && it->second.windows.empty())
                    terminate(it->second);
            });
        }
        // Without a pidfd an app counts as gone once its process is.
        if (record.pidfd < 0 && record.windows.empty() && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
            QTimer::singleShot(0, this, [this, pid = pid] { exited(pid); });
    }
    updateActive(announce);
    if (!announce)
        return;
    for (const auto& [pid, hidden] : wasHidden) {
        const auto it = m_apps.find(pid);
        if (it != m_apps.end() && it->second.app.hidden != hidden)
            m_handlers.notify(hidden ? AppNotice::unhidden : AppNotice::hidden, it->second.app);
    }
    for (const int32_t pid : launched) {
        if (auto it = m_apps.find(pid); it != m_apps.end() && !known.contains(pid)) {
            known.insert(pid);
            m_handlers.notify(AppNotice::launched, it->second.app);
        }
    }
}

X11Workspace::Record& X11Workspace::adopt(int32_t pid, const ClientInfo* window)
{
    auto [it, added] = m_apps.try_emplace(pid);
    Record& record = it->second;
    if (added) {
        record.app.pid = pid;
        record.pidfd = openPidfd(pid);
        if (record.pidfd >= 0) {
            record.exitNotifier = new QSocketNotifier(record.pidfd, QSocketNotifier::Read, this);
            connect(record.exitNotifier, &QSocketNotifier::activated, this, [this, pid] { exited(pid); });
        }
    }
    // Named from the first window that says who it is.
    if (record.app.appId.isEmpty() && (window || added)) {
        AppHints hints;
        if (window) {
            hints.gtkApplicationId = window->gtkApplicationId;
            hints.kdeDesktopFile = window->kdeDesktopFile;
            hints.wmInstance = window->wmInstance;
            hints.wmClass = window->wmClass;
        }
        hints.executable = executableOf(pid);
        const auto entry = m_directory.identify(hints);
        record.app.appId = entry ? entry->appId : m_directory.appId(hints);
        record.app.name = entry && !entry->name.isEmpty() ? entry->name
                          : !hints.wmClass.isEmpty()      ? hints.wmClass
                                                          : hints.executable;
        record.app.iconName = entry ? entry->icon : QString();
        record.shownInMenus = entry && entry->shownInMenus;
    }
    return record;
}

std::vector<int32_t> X11Workspace::trayPids()
{
    std::vector<int32_t> result = m_statusNotifiers ? m_statusNotifiers->pids() : std::vector<int32_t>{};
    watchTray();
    if (m_tray == XCB_WINDOW_NONE)
        return result;
    // Icons are children of the tray, or of a frame the tray puts around each.
    std::vector<xcb_window_t> windows;
    std::vector<xcb_window_t> level{m_tray};
    for (int depth = 0; depth < 2; ++depth) {
        std::vector<xcb_window_t> next;
        for (const xcb_window_t parent : level) {
            XcbReply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(m_x->get(), xcb_query_tree(m_x->get(), parent), nullptr));
            if (!tree)
                continue;
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            next.insert(next.end(), children, children + xcb_query_tree_children_length(tree.get()));
        }
        windows.insert(windows.end(), next.begin(), next.end());
        level = std::move(next);
    }
    const auto trayOwner = m_ewmh->pids({m_tray}).front();
    for (const auto& pid : m_ewmh->pids(windows)) {
        if (pid && pid != trayOwner && std::find(result.begin(), result.end(), *pid) == result.end())
            result.push_back(*pid);
    }
    return result;
}

void X11Workspace::watchTray()
{
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + QByteArray::number(0);
    auto cookie = xcb_get_selection_owner(m_x->get(), m_x->atom(selection.constData()));
    XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(m_x->get(), cookie, nullptr));
    const xcb_window_t tray = owner ? owner->owner : xcb_window_t(XCB_WINDOW_NONE);
    if (tray == m_tray)
        return;
    m_tray = tray;
    if (tray != XCB_WINDOW_NONE) {
        m_x->selectEvents(tray, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    }
}

void X11Workspace::exited(int32_t pid)
{
    auto it = m_apps.find(pid);
    if (it == m_apps.end())
        return;
    Record record = std::move(it->second);
    m_apps.erase(it);
    // This may run inside the notifier's own signal.
    if (record.exitNotifier) {
        record.exitNotifier->setEnabled(false);
        record.exitNotifier->deleteLater();
    }
    if (record.pidfd >= 0)
        ::close(record.pidfd);
    record.app.active = false;
    m_handlers.notify(AppNotice::terminated, record.app);
}

void X11Workspace::updateActive(bool announce)
{
    const auto active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW").value_or(XCB_WINDOW_NONE);
    std::optional<int32_t> owner;
    for (const auto& [pid, record] : m_apps) {
        if (std::find(record.windows.begin(), record.windows.end(), active) != record.windows.end())
            owner = pid;
    }
    std::vector<std::pair<AppNotice, RunningApp>> notices;
    for (auto& [pid, record] : m_apps) {
        const bool nowActive = owner == pid;
        if (record.app.active == nowActive)
            continue;
        record.app.active = nowActive;
        notices.emplace_back(nowActive ? AppNotice::activated : AppNotice::deactivated, record.app);
    }
    if (!announce)
        return;
    // Deactivation first, as a person sees it.
    std::stable_sort(notices.begin(), notices.end(),
                     [](const auto& a, const auto& b) { return a.first == AppNotice::deactivated && b.first != a.first; });
    for (const auto& [notice, app] : notices)
        m_handlers.notify(notice, app);
}

// Queries read the windows again: minimising changes no list the window
// manager announces on the root.
std::vector<RunningApp> X11Workspace::runningApps()
{
    refresh(true);
    std::vector<RunningApp> apps;
    for (const auto& [pid, record] : m_apps)
        apps.push_back(record.app);
    return apps;
}

std::optional<RunningApp> X11Workspace::frontmostApp()
{
    refresh(true);
    for (const auto& [pid, record] : m_apps) {
        if (record.app.active)
            return record.app;
    }
    return std::nullopt;
}

std::optional<RunningApp> X11Workspace::app(int32_t pid)
{
    refresh(true);
    const auto it = m_apps.find(pid);
    if (it == m_apps.end())
        return std::nullopt;
    return it->second.app;
}

QIcon X11Workspace::icon(const RunningApp& app)
{
    if (!app.iconName.isEmpty()) {
        QIcon icon = QFileInfo(app.iconName).isAbsolute() ? QIcon(app.iconName) : QIcon::fromTheme(app.iconName);
        if (!icon.isNull())
            return icon;
    }
    const auto it = m_apps.find(app.pid);
    if (it == m_apps.end() || !m_ewmh)
        return QIcon();
    // The window's own picture: _NET_WM_ICON holds sizes one after the other,
    // each as width, height and ARGB pixels.
    for (const xcb_window_t window : it->second.windows) {
        const auto data = m_ewmh->values32(window, "_NET_WM_ICON", XCB_ATOM_CARDINAL);
        QIcon icon;
        size_t i = 0;
        while (i + 2 <= data.size()) {
            const uint32_t w = data[i], h = data[i + 1];
            if (w == 0 || h == 0 || w > 1024 || h > 1024 || i + 2 + size_t(w) * h > data.size())
                break;
            QImage image(int(w), int(h), QImage::Format_ARGB32);
            for (uint32_t y = 0; y < h; ++y)
                std::memcpy(image.scanLine(int(y)), &data[i + 2 + size_t(y) * w], w * 4);
            icon.addPixmap(QPixmap::fromImage(image));
            i += 2 + size_t(w) * h;
        }
        if (!icon.isNull())
            return icon;
    }
    return QIcon();
}

bool X11Workspace::activate(int32_t pid)
{
    const auto it = m_apps.find(pid);
    if (it == m_apps.end() || it->second.windows.empty() || !m_ewmh)
        return false;
    const auto active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW");
    if (active && *active != XCB_WINDOW_NONE && m_ewmh->client(*active, ClientInfo::Pid).pid == pid)
        return true;
    m_ewmh->activate(it->second.windows.front());
    return true;
}

bool X11Workspace::hide(int32_t pid)
{
    const auto it = m_apps.find(pid);
    if (it == m_apps.end() || it->second.windows.empty())
        return false;
    // ICCCM's iconify request; every window manager honours it.
    for (const xcb_window_t window : it->second.windows)
        m_ewmh->sendToRoot(window, "WM_CHANGE_STATE", XCB_ICCCM_WM_STATE_ICONIC);
    return true;
}

bool X11Workspace::unhide(int32_t pid)
{
    const auto it = m_apps.find(pid);
    if (it == m_apps.end() || it->second.minimized.empty())
        return false;
    // Restored back to front, so the frontmost ends up in front again.
    for (auto w = it->second.minimized.rbegin(); w != it->second.minimized.rend(); ++w)
        m_ewmh->activate(*w);
    return true;
}

bool X11Workspace::quit(int32_t pid)
{
    refresh(true);
    const auto it = m_apps.find(pid);
    if (it == m_apps.end())
        return false;
    Record& record = it->second;
    if (record.windows.empty())
        return terminate(record);
    record.quitting = true;
    record.graceArmed = false;
    for (const xcb_window_t window : record.windows)
        m_ewmh->close(window);
    return true;
}

bool X11Workspace::terminate(Record& record)
{
    // Only through the pidfd taken when the app was first seen: a bare pid may
    // by now belong to another process.
    if (record.pidfd < 0)
        return false;
    record.quitting = false;
    return ::syscall(SYS_pidfd_send_signal, record.pidfd, SIGTERM, nullptr, 0) == 0;
}

void X11Workspace::launch(const QString& appId, std::function<void(std::optional<int32_t> pid)> done)
{
    for (const RunningApp& app : runningApps()) {
        if (app.appId == appId) {
            done(app.pid);
            return;
        }
    }
    const auto entry = m_directory.entry(appId);
    const auto arguments = entry ? DesktopEntry::arguments(entry->exec) : std::nullopt;
    if (!arguments) {
        Log::error(QStringLiteral("Workspace: %1 has no Exec line that can be started").arg(appId));
        done(std::nullopt);
        return;
    }
    if (!QProcess::startDetached(arguments->front(), arguments->mid(1))) {
        Log::error(QStringLiteral("Workspace: %1 could not be started").arg(appId));
        done(std::nullopt);
        return;
    }
    // The first of the app's windows (or tray icon) to turn up, or the time-out.
    struct Wait {
        bool fired = false;
        int token = 0;
        std::function<void(std::optional<int32_t>)> done;
    };
    auto wait = std::make_shared<Wait>();
    wait->done = std::move(done);
    auto finish = [this, wait](std::optional<int32_t> pid) {
        if (wait->fired)
            return;
        wait->fired = true;
        const int token = wait->token;
        platform().mainQueue().post([this, token] { removeHandler(token); });
        wait->done(pid);
    };
    wait->token = addHandler([finish, appId](AppNotice notice, const RunningApp& app) {
        if (notice == AppNotice::launched && app.appId == appId)
            finish(app.pid);
    });
    platform().mainQueue().after(launchTimeout, [finish] { finish(std::nullopt); });
}

bool X11Workspace::reveal(const QString& path)
{
    return reveal(QStringList{path});
}

bool X11Workspace::reveal(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    QStringList urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString());
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(paths.front()).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QDesktopServices::openUrl(folder);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << urls << QString();
    // Asynchronous: a file manager started on demand may take a while, and
    // without one the folder of the first file is opened instead.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, folder] {
        if (watcher->isError())
            QDesktopServices::openUrl(folder);
        watcher->deleteLater();
    });
    return true;
}

void X11Workspace::open(const QStringList& paths)
{
    for (const QString& path : paths)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace quillon::platform::linux_
