#pragma once

#include "platform/Observers.h"
#include "platform/Workspace.h"

#include <algorithm>

namespace quillon::fakes {

/// An editable list of running apps; every action is recorded.
class FakeWorkspace final : public platform::Workspace {
public:
    std::vector<platform::RunningApp> runningApps() override { return apps; }
    std::optional<platform::RunningApp> frontmostApp() override
    {
        const auto it = std::find_if(apps.begin(), apps.end(), [](const auto& a) { return a.active; });
        return it == apps.end() ? std::nullopt : std::optional<platform::RunningApp>(*it);
    }
    std::optional<platform::RunningApp> app(int32_t pid) override
    {
        const auto it = std::find_if(apps.begin(), apps.end(), [&](const auto& a) { return a.pid == pid; });
        return it == apps.end() ? std::nullopt : std::optional<platform::RunningApp>(*it);
    }
    QIcon icon(const platform::RunningApp&) override { return QIcon(); }
    bool activate(int32_t pid) override { return record(activated, pid); }
    bool hide(int32_t pid) override { return record(hidden, pid); }
    bool unhide(int32_t pid) override { return record(unhidden, pid); }
    bool quit(int32_t pid) override { return record(quitted, pid); }
    bool reveal(const QString& path) override
    {
        revealed.push_back(path);
        return true;
    }
    bool reveal(const QStringList& paths) override
    {
        revealedTogether.push_back(paths);
        return true;
    }
    void open(const QStringList& paths) override { opened.push_back(paths); }
    /// Recorded; completed by the test through `launchDone`.
    void launch(const QString& appId, std::function<void(std::optional<int32_t>)> done) override
    {
        launched.push_back(appId);
        launchDone.push_back(std::move(done));
    }
    int addHandler(Handler handler) override { return m_handlers.add(std::move(handler)); }
    void removeHandler(int token) override { m_handlers.remove(token); }

    void send(platform::AppNotice notice, const platform::RunningApp& app) { m_handlers.notify(notice, app); }

    std::vector<platform::RunningApp> apps;
    std::vector<int32_t> activated, hidden, unhidden, quitted;
    std::vector<QString> revealed;
    /// One entry per call.
    std::vector<QStringList> revealedTogether;
    std::vector<QStringList> opened;
    std::vector<QString> launched;
    std::vector<std::function<void(std::optional<int32_t>)>> launchDone;

private:
    bool record(std::vector<int32_t>& calls, int32_t pid)
    {
        calls.push_back(pid);
        return app(pid).has_value();
    }
    platform::Observers<platform::AppNotice, const platform::RunningApp&> m_handlers;
};

} // namespace quillon::fakes
