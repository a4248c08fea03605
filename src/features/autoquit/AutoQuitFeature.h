#pragma once

#include "app/Feature.h"
#include "platform/MainQueue.h"
#include "platform/Workspace.h"

#include <map>
#include <memory>
#include <optional>

namespace quillon {

class Settings;

/// Quits applications left in the background for "autoQuit.minutes": an app
/// is armed when it stops being the active one and disarmed when it comes
/// back, ends or stops qualifying. Works from the workspace's notices alone;
/// the deadlines run on the monotonic clock, so time asleep does not count.
class AutoQuitFeature final : public Feature {
public:
    explicit AutoQuitFeature(Settings& settings);
    ~AutoQuitFeature() override;
    AutoQuitFeature(const AutoQuitFeature&) = delete;
    AutoQuitFeature& operator=(const AutoQuitFeature&) = delete;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// Drops the timers of applications that no longer qualify and arms the
    /// newly qualifying background ones; running timers keep their deadline.
    void applySettings();

    bool isArmed(int32_t pid) const { return m_timers.count(pid) > 0; }

private:
    bool isWatched(const platform::RunningApp& app) const;
    void arm(const platform::RunningApp& app);
    void cancel(int32_t pid);
    void armBackgrounded();
    void fire(int32_t pid);

    Settings& m_settings;
    platform::Workspace& m_workspace;
    std::optional<int> m_token;
    std::map<int32_t, platform::WorkItem> m_timers;
    bool m_active = false;
    std::shared_ptr<AutoQuitFeature*> m_self;
};

} // namespace quillon
