#pragma once

#include "app/Feature.h"
#include "features/awake/SleepAssertion.h"
#include "platform/MainQueue.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class BatteryMonitor;
class Settings;

/// Keep-awake sessions: manual, timed, or held while a trigger holds (a
/// listed app runs, an external display is connected, an external drive is
/// mounted). A session runs exactly
/// while "awake.isEnabled" is on; everything that starts or ends one writes
/// that key, and reconcile calls activate() or deactivate().
class AwakeFeature final : public Feature {
public:
    AwakeFeature(Settings& settings, BatteryMonitor& battery);
    ~AwakeFeature() override;
    AwakeFeature(const AwakeFeature&) = delete;
    AwakeFeature& operator=(const AwakeFeature&) = delete;

    /// A session started, was re-timed or ended: whether one is active, its
    /// length in minutes (0 = no limit).
    std::function<void(bool, int)> onSessionChange;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// The quick switch: starts a session without a time limit, or ends the
    /// running one.
    void toggleQuick();
    /// Re-reads the trigger settings and starts or ends trigger sessions.
    void applyTriggers();

    /// The end of a timed session.
    std::optional<QDateTime> endsAt() const { return m_endsAt; }
    /// The running session was started by a trigger.
    bool startedByTrigger() const { return m_triggerStarted; }
    /// The text of the first trigger that holds.
    std::optional<QString> activeTriggerReason() const;

    /// The assertion's reason, in this platform's words.
    static QString assertionReason();

private:
    void scheduleExpiry(int minutes);
    int requestedMinutes() const;
    SleepAssertion::Kind requestedKind() const;
    void applyBatteryWatch();
    void handleBattery(bool onBattery, int percent);
    void startTriggerSession();
    void endTriggerSessionIfReasonGone();
    void installTriggerObservers();
    void removeTriggerObservers();
    void writeEnabledLater(bool on);
    void followTriggerChange();

    Settings& m_settings;
    SleepAssertion m_assertion;
    BatteryMonitor& m_battery;
    std::optional<int> m_workspaceToken;
    std::optional<int> m_screenToken;
    std::optional<int> m_volumeToken;
    bool m_triggerStarted = false;
    bool m_forceIndefinite = false;
    QSet<QString> m_lastTriggerApps;
    bool m_lastDisplayTrigger = false;
    bool m_lastDriveTrigger = false;
    std::optional<platform::WorkItem> m_expiry;
    std::optional<QDateTime> m_endsAt;
    int m_sessionMinutes = 0;
    bool m_batteryOverride = false;
    bool m_active = false;
    std::shared_ptr<AwakeFeature*> m_self;
};

} // namespace quillon
