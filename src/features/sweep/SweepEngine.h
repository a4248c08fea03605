#pragma once

#include "app/Feature.h"
#include "platform/MainQueue.h"
#include "platform/Tasks.h"
#include "platform/Workspace.h"
#include "windows/SweepStrategy.h"

#include <QIcon>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace quillon {

class Settings;
class WindowObserver;

/// Quits a regular application once its last window has closed: each
/// eligible app is watched through a WindowObserver, window changes are
/// debounced by "sweep.delay", the remaining windows are counted on a serial
/// background queue, and the decision is taken on the main thread.
class SweepEngine final : public Feature {
public:
    /// What a check decided: `stop` when the app is gone or no longer
    /// concerns the sweep, `keep` when it stays, `quit` when it was asked to quit.
    enum class Decision { stop, keep, quit };

    explicit SweepEngine(Settings& settings);
    ~SweepEngine() override;
    SweepEngine(const SweepEngine&) = delete;
    SweepEngine& operator=(const SweepEngine&) = delete;

    /// A count could not read an application's windows.
    std::function<void()> onAccessibilityFailure;
    /// The name and icon of an application the sweep quit.
    std::function<void(const QString&, const std::optional<QIcon>&)> onAppQuit;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// Re-applies the sweep settings to the watch list; nothing while inactive.
    void syncWatchList();

    /// The decision on one app from its three window counts (none = could not
    /// be read). Main thread; the counts come from the census queue.
    Decision decideQuit(int32_t pid, std::optional<int> axWindowCount, std::optional<int> otherSpaceCount,
                        std::optional<int> onScreenCount);

    bool isWatching(int32_t pid) const { return m_watched.count(pid) > 0; }

private:
    struct Watched {
        platform::RunningApp app;
        std::unique_ptr<WindowObserver> observer;
        bool hasHadWindow = false;
    };

    void subscribeToWorkspace();
    bool shouldWatch(const platform::RunningApp& app) const;
    bool passesListTest(const QString& appId) const;
    void watch(const platform::RunningApp& app);
    void unwatch(int32_t pid);
    void handleActivation(const platform::RunningApp& app);
    void scheduleQuitCheck(int32_t pid);
    void cancelPendingCheck(int32_t pid);
    void quitIfWindowless(int32_t pid);
    void dropAllWatches();
    SweepStrategy readStrategy() const;

    Settings& m_settings;
    platform::Workspace& m_workspace;
    std::map<int32_t, Watched> m_watched;
    std::map<int32_t, platform::WorkItem> m_pendingQuits;
    std::optional<int> m_workspaceToken;
    std::unique_ptr<platform::SerialQueue> m_censusQueue;
    SweepStrategy m_activeStrategy = SweepStrategy::efficient;
    bool m_active = false;
    std::shared_ptr<SweepEngine*> m_self;
};

} // namespace quillon
