#include "features/sweep/SweepEngine.h"

#include "features/sweep/QuitPolicy.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/Log.h"
#include "windows/WindowCensus.h"
#include "windows/WindowObserver.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace quillon {

namespace {

QString orNil(const std::optional<int>& count)
{
    return count ? QString::number(*count) : QStringLiteral("nil");
}

QString nameOr(const platform::RunningApp& app, const QString& fallback)
{
    return app.name.isEmpty() ? fallback : app.name;
}

} // namespace

SweepEngine::SweepEngine(Settings& settings)
    : m_settings(settings)
    , m_workspace(platform::platform().workspace())
    , m_censusQueue(platform::platform().tasks().makeSerial())
    , m_self(std::make_shared<SweepEngine*>(this))
{
}

SweepEngine::~SweepEngine()
{
    deactivate();
    *m_self = nullptr;
}

SweepStrategy SweepEngine::readStrategy() const
{
    return m_settings.defaults().stringForKey(SettingsKeys::sweepStrategy) == QLatin1String("thorough")
               ? SweepStrategy::thorough
               : SweepStrategy::efficient;
}

void SweepEngine::activate()
{
    if (m_active)
        return;
    m_active = true;
    m_activeStrategy = readStrategy();
    subscribeToWorkspace();
    for (const auto& app : m_workspace.runningApps()) {
        if (shouldWatch(app) && !isWatching(app.pid))
            watch(app);
    }
    Log::debug([&] {
        return QStringLiteral("Sweep activated (%1), watching %2 apps")
            .arg(rawValue(m_activeStrategy))
            .arg(m_watched.size());
    });
}

void SweepEngine::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_workspaceToken)
        m_workspace.removeHandler(*m_workspaceToken);
    m_workspaceToken.reset();
    dropAllWatches();
    Log::debug("Sweep deactivated");
}

void SweepEngine::dropAllWatches()
{
    for (auto& [pid, item] : m_pendingQuits)
        item.cancel();
    m_pendingQuits.clear();
    for (auto& [pid, entry] : m_watched)
        entry.observer->invalidate();
    m_watched.clear();
}

void SweepEngine::subscribeToWorkspace()
{
    std::weak_ptr<SweepEngine*> weak = m_self;
    m_workspaceToken =
        m_workspace.addHandler([weak](platform::AppNotice notice, const platform::RunningApp& app) {
            const auto self = weak.lock();
            if (!self || !*self)
                return;
            SweepEngine& engine = **self;
            switch (notice) {
            case platform::AppNotice::launched:
                if (engine.shouldWatch(app))
                    engine.watch(app);
                break;
            case platform::AppNotice::terminated:
                engine.unwatch(app.pid);
                break;
            case platform::AppNotice::activated:
                engine.handleActivation(app);
                break;
            case platform::AppNotice::deactivated:
            case platform::AppNotice::hidden:
            case platform::AppNotice::unhidden:
                break;
            }
        });
}

bool SweepEngine::passesListTest(const QString& appId) const
{
    return QuitPolicy::passesList(QuitPolicy::sweepListMode(m_settings), m_settings.listedApps(), appId);
}

bool SweepEngine::shouldWatch(const platform::RunningApp& app) const
{
    return app.regular && app.pid != ::getpid() && !app.appId.isEmpty() &&
           !QuitPolicy::systemCriticalBundleIDs().contains(app.appId) && passesListTest(app.appId);
}

void SweepEngine::watch(const platform::RunningApp& app)
{
    if (isWatching(app.pid))
        return;
    auto observer = std::make_unique<WindowObserver>(app.pid, m_activeStrategy);
    std::weak_ptr<SweepEngine*> weak = m_self;
    observer->onWindowsChanged = [weak, pid = app.pid] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->scheduleQuitCheck(pid);
    };
    WindowObserver& started = *observer;
    m_watched.emplace(app.pid, Watched{app, std::move(observer), false});
    Log::debug([&] {
        return QStringLiteral("Watching %1 (pid %2)").arg(nameOr(app, QStringLiteral("?"))).arg(app.pid);
    });
    // A successful start reports once at once, so every new app gets a first
    // check after the delay; that check records an app that already has windows.
    started.start();
}

void SweepEngine::unwatch(int32_t pid)
{
    cancelPendingCheck(pid);
    const auto it = m_watched.find(pid);
    if (it == m_watched.end())
        return;
    it->second.observer->invalidate();
    m_watched.erase(it);
}

void SweepEngine::handleActivation(const platform::RunningApp& app)
{
    // Coming to the front within the delay calls off the check.
    cancelPendingCheck(app.pid);
    if (const auto it = m_watched.find(app.pid); it != m_watched.end()) {
        it->second.observer->refresh();
        // A new app comes to the front as its first window maps, which would
        // call off the first count; without that count its windows would
        // never be recorded, and closing them would never quit it. A count
        // that has seen no window yet cannot quit, so it is safe to take.
        if (!it->second.hasHadWindow && it->second.observer->isObserving())
            scheduleQuitCheck(app.pid);
    } else if (shouldWatch(app)) {
        watch(app);
    }
}

void SweepEngine::cancelPendingCheck(int32_t pid)
{
    const auto it = m_pendingQuits.find(pid);
    if (it == m_pendingQuits.end())
        return;
    it->second.cancel();
    m_pendingQuits.erase(it);
}

void SweepEngine::scheduleQuitCheck(int32_t pid)
{
    cancelPendingCheck(pid);
    // Edited settings may hold anything: a negative delay checks at once, and
    // one that is not a number counts as none.
    double delay = m_settings.quitDelay();
    if (!std::isfinite(delay))
        delay = 0;
    std::weak_ptr<SweepEngine*> weak = m_self;
    m_pendingQuits[pid] = platform::platform().mainQueue().after(delay, [weak, pid] {
        const auto self = weak.lock();
        if (!self || !*self)
            return;
        (*self)->m_pendingQuits.erase(pid);
        (*self)->quitIfWindowless(pid);
    });
}

void SweepEngine::quitIfWindowless(int32_t pid)
{
    const auto app = m_workspace.app(pid);
    // A hidden app is never quit; its next window change brings a new check.
    if (!app || !isWatching(pid) || app->hidden)
        return;
    struct Counts {
        std::optional<int> ax, other, onScreen;
    };
    auto counts = std::make_shared<Counts>();
    std::weak_ptr<SweepEngine*> weak = m_self;
    m_censusQueue->run(
        [counts, pid] {
            counts->ax = WindowCensus::keepAliveWindowCount(pid);
            if (counts->ax == 0) {
                counts->other = WindowCensus::otherSpaceWindowCount(pid);
                counts->onScreen = WindowCensus::onScreenWindowCount(pid);
            }
        },
        [weak, counts, pid] {
            if (const auto self = weak.lock(); self && *self)
                (*self)->decideQuit(pid, counts->ax, counts->other, counts->onScreen);
        });
}

SweepEngine::Decision SweepEngine::decideQuit(int32_t pid, std::optional<int> axWindowCount,
                                              std::optional<int> otherSpaceCount,
                                              std::optional<int> onScreenCount)
{
    // The state may have changed while the count ran.
    if (!m_active)
        return Decision::stop;
    const auto app = m_workspace.app(pid);
    if (!app)
        return Decision::stop;
    const auto it = m_watched.find(pid);
    if (it == m_watched.end() || app->hidden)
        return Decision::stop;
    Watched& entry = it->second;
    if (!axWindowCount) {
        if (onAccessibilityFailure)
            onAccessibilityFailure();
    } else if (*axWindowCount >= 1) {
        entry.hasHadWindow = true;
    }
    Log::debug([&] {
        return QStringLiteral("Check %1: ax=%2 other=%3 onscreen=%4")
            .arg(nameOr(*app, QStringLiteral("?")), orNil(axWindowCount), orNil(otherSpaceCount),
                 orNil(onScreenCount));
    });
    if (app->appId.isEmpty() || QuitPolicy::systemCriticalBundleIDs().contains(app->appId))
        return Decision::keep;
    // An app that never showed a window since it was watched is left alone.
    if (!entry.hasHadWindow || axWindowCount != 0)
        return Decision::keep;
    // A window on another workspace (a full-screen one, say) keeps the app.
    if (otherSpaceCount && *otherSpaceCount > 0)
        return Decision::keep;
    if (onScreenCount && *onScreenCount >= 1)
        return Decision::keep;
    // It turned itself into a background app (a tray icon) as its last window closed.
    if (!app->regular && m_settings.keepSelfBackgroundedApps())
        return Decision::keep;
    if (!passesListTest(app->appId))
        return Decision::keep;

    const QString name = nameOr(*app, QStringLiteral("unknown"));
    const QString message = QStringLiteral("Quitting %1 (%2)").arg(name, app->appId);
    Log::info(message);
    Log::debug([&] { return message; });
    const QIcon icon = m_workspace.icon(*app);
    // A normal request; its answer is not examined, and the entry stays until
    // the app's termination is reported.
    m_workspace.quit(pid);
    if (onAppQuit)
        onAppQuit(name, icon.isNull() ? std::nullopt : std::optional<QIcon>(icon));
    return Decision::quit;
}

void SweepEngine::syncWatchList()
{
    if (!m_active)
        return;
    const SweepStrategy strategy = readStrategy();
    if (strategy != m_activeStrategy) {
        m_activeStrategy = strategy;
        dropAllWatches();
        Log::debug([&] {
            return QStringLiteral("Sweep strategy → %1, rebuilding observers").arg(rawValue(strategy));
        });
    }
    const auto running = m_workspace.runningApps();
    std::vector<int32_t> dropped;
    for (auto& [pid, entry] : m_watched) {
        // The rule applies to the app as it is now (it may have gone to the tray).
        const auto live =
            std::find_if(running.begin(), running.end(), [pid = pid](const auto& a) { return a.pid == pid; });
        if (live != running.end())
            entry.app = *live;
        if (!shouldWatch(entry.app))
            dropped.push_back(pid);
    }
    for (const int32_t pid : dropped)
        unwatch(pid);
    for (const auto& app : running) {
        if (shouldWatch(app) && !isWatching(app.pid))
            watch(app);
    }
}

} // namespace quillon
