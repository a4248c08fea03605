#pragma once

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <algorithm>

namespace quillon::testing {

/// A fake desktop with two regular apps, the settings store and helpers to
/// move apps between front and back, as the sweep and auto-quit see them.
struct QuitFixture {
    QuitFixture()
    {
        fake.workspaceImpl.apps = {app(100, "org.example.Editor", "Editor", true),
                                   app(200, "org.example.Viewer", "Viewer", false)};
    }

    static platform::RunningApp app(int32_t pid, const QString& id, const QString& name, bool active)
    {
        platform::RunningApp a;
        a.pid = pid;
        a.appId = id;
        a.name = name;
        a.regular = true;
        a.active = active;
        return a;
    }
    platform::RunningApp* find(int32_t pid)
    {
        auto& apps = fake.workspaceImpl.apps;
        const auto it = std::find_if(apps.begin(), apps.end(), [&](const auto& a) { return a.pid == pid; });
        return it == apps.end() ? nullptr : &*it;
    }
    /// Makes `pid` the active app, with the notices a desktop sends.
    void bringToFront(int32_t pid)
    {
        for (auto& a : fake.workspaceImpl.apps) {
            if (a.active && a.pid != pid) {
                a.active = false;
                fake.workspaceImpl.send(platform::AppNotice::deactivated, a);
            }
        }
        if (auto* a = find(pid); a && !a->active) {
            a->active = true;
            fake.workspaceImpl.send(platform::AppNotice::activated, *a);
        }
    }
    void terminate(int32_t pid)
    {
        auto& apps = fake.workspaceImpl.apps;
        const auto it = std::find_if(apps.begin(), apps.end(), [&](const auto& a) { return a.pid == pid; });
        if (it == apps.end())
            return;
        const auto gone = *it;
        apps.erase(it);
        fake.workspaceImpl.send(platform::AppNotice::terminated, gone);
    }
    void setString(const QString& key, const QString& value)
    {
        settings.defaults().set(key, platform::PlistValue(value));
    }
    void setList(const QString& key, const QStringList& ids)
    {
        settings.defaults().set(key, platform::PlistValue(ids));
    }
    int infoLines(const QString& text) const
    {
        return int(std::count_if(fake.log.lines.begin(), fake.log.lines.end(), [&](const auto& line) {
            return line.level == platform::LogLevel::Info && line.message == text;
        }));
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
};

} // namespace quillon::testing
