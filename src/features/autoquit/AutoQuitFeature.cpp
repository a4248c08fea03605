#include "features/autoquit/AutoQuitFeature.h"

#include "features/sweep/QuitPolicy.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Log.h"

#include <unistd.h>

namespace quillon {

AutoQuitFeature::AutoQuitFeature(Settings& settings)
    : m_settings(settings)
    , m_workspace(platform::platform().workspace())
    , m_self(std::make_shared<AutoQuitFeature*>(this))
{
}

AutoQuitFeature::~AutoQuitFeature()
{
    deactivate();
    *m_self = nullptr;
}

void AutoQuitFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    std::weak_ptr<AutoQuitFeature*> weak = m_self;
    m_token = m_workspace.addHandler([weak](platform::AppNotice notice, const platform::RunningApp& app) {
        const auto self = weak.lock();
        if (!self || !*self)
            return;
        if (notice == platform::AppNotice::deactivated)
            (*self)->arm(app);
        else if (notice == platform::AppNotice::activated || notice == platform::AppNotice::terminated)
            (*self)->cancel(app.pid);
    });
    // What is already in the background starts its idle time now.
    armBackgrounded();
}

void AutoQuitFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_token)
        m_workspace.removeHandler(*m_token);
    m_token.reset();
    for (auto& [pid, timer] : m_timers)
        timer.cancel();
    m_timers.clear();
}

void AutoQuitFeature::applySettings()
{
    if (!m_active)
        return;
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        const auto app = m_workspace.app(it->first);
        if (app && isWatched(*app)) {
            ++it;
            continue;
        }
        it->second.cancel();
        it = m_timers.erase(it);
    }
    armBackgrounded();
}

bool AutoQuitFeature::isWatched(const platform::RunningApp& app) const
{
    return app.regular && app.pid != ::getpid() && !app.appId.isEmpty() &&
           !QuitPolicy::systemCriticalBundleIDs().contains(app.appId) &&
           QuitPolicy::passesList(QuitPolicy::autoQuitListMode(m_settings), m_settings.autoQuitApps(),
                                  app.appId);
}

void AutoQuitFeature::arm(const platform::RunningApp& app)
{
    if (!isWatched(app) || app.active)
        return;
    cancel(app.pid);
    std::weak_ptr<AutoQuitFeature*> weak = m_self;
    const double seconds = double(m_settings.autoQuitMinutes()) * 60.0;
    m_timers[app.pid] = platform::platform().mainQueue().after(seconds, [weak, pid = app.pid] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->fire(pid);
    });
}

void AutoQuitFeature::cancel(int32_t pid)
{
    const auto it = m_timers.find(pid);
    if (it == m_timers.end())
        return;
    it->second.cancel();
    m_timers.erase(it);
}

void AutoQuitFeature::armBackgrounded()
{
    for (const auto& app : m_workspace.runningApps()) {
        // A running timer keeps the deadline it was given.
        if (!isArmed(app.pid))
            arm(app);
    }
}

void AutoQuitFeature::fire(int32_t pid)
{
    m_timers.erase(pid);
    const auto app = m_workspace.app(pid);
    if (!app || !isWatched(*app) || app->active)
        return;
    const QString id = app->appId.isEmpty() ? QStringLiteral("?") : app->appId;
    Log::info(
        QStringLiteral("AutoQuit: quitting %1 after %2m idle").arg(id).arg(m_settings.autoQuitMinutes()));
    m_workspace.quit(pid);
}

} // namespace quillon
