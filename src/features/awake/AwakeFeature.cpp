#include "features/awake/AwakeFeature.h"

#include "notch/BatteryMonitor.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/Log.h"
#include "support/Notifier.h"
#include "support/Words.h"

#include <algorithm>

namespace quillon {

namespace {
const QString kEndedId = QStringLiteral("awake-ended");
const QString kEndedTitle = QStringLiteral("Keep-awake session ended");
constexpr double kNoticeLifetime = 30;
} // namespace

AwakeFeature::AwakeFeature(Settings& settings, BatteryMonitor& battery)
    : m_settings(settings)
    , m_battery(battery)
    , m_self(std::make_shared<AwakeFeature*>(this))
{
}

AwakeFeature::~AwakeFeature()
{
    // Released quietly: whoever listened may be gone already.
    onSessionChange = nullptr;
    deactivate();
    removeTriggerObservers();
    *m_self = nullptr;
}

QString AwakeFeature::assertionReason()
{
    return Words::adapt(QStringLiteral("Quillon is keeping this Mac awake"));
}

int AwakeFeature::requestedMinutes() const
{
    if (m_forceIndefinite)
        return 0;
    // 64-bit settings, clamped to what a session can hold; 0 or less = no limit.
    const qint64 minutes = m_settings.defaults().integerForKey(SettingsKeys::awakeDurationMinutes);
    return int(std::clamp<qint64>(minutes, 0, 1000000000));
}

SleepAssertion::Kind AwakeFeature::requestedKind() const
{
    return m_settings.awakeAllowDisplaySleep() ? SleepAssertion::Kind::allowDisplaySleep
                                               : SleepAssertion::Kind::keepDisplayOn;
}

void AwakeFeature::writeEnabledLater(bool on)
{
    std::weak_ptr<AwakeFeature*> weak = m_self;
    platform::platform().mainQueue().post([weak, on] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->m_settings.setAwakeEnabled(on);
    });
}

void AwakeFeature::activate()
{
    if (m_active) {
        m_assertion.acquire(requestedKind(), assertionReason());
        applyBatteryWatch();
        const int minutes = requestedMinutes();
        if (minutes == m_sessionMinutes)
            return;
        scheduleExpiry(minutes);
        if (onSessionChange)
            onSessionChange(true, minutes);
        return;
    }
    const int minutes = requestedMinutes();
    if (!m_assertion.acquire(requestedKind(), assertionReason())) {
        Log::error(QStringLiteral("Awake: power assertion unavailable; session not started"));
        // The session never ran: what would have shaped it must not carry
        // over to the next one started from the settings.
        m_triggerStarted = false;
        m_forceIndefinite = false;
        writeEnabledLater(false);
        return;
    }
    m_active = true;
    const auto state = m_battery.currentState();
    m_batteryOverride =
        m_settings.awakeEndOnLowBattery() && state && state->isOnBattery && state->percent < 11;
    applyBatteryWatch();
    scheduleExpiry(minutes);
    platform::platform().haptics().perform();
    if (onSessionChange)
        onSessionChange(true, minutes);
    Log::debug([&] {
        return QStringLiteral("Awake session started (%1)")
            .arg(minutes == 0 ? QStringLiteral("indefinite") : QStringLiteral("%1m").arg(minutes));
    });
}

void AwakeFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    m_triggerStarted = false;
    m_forceIndefinite = false;
    if (m_expiry)
        m_expiry->cancel();
    m_expiry.reset();
    m_endsAt.reset();
    m_battery.remove(this);
    m_assertion.release();
    platform::platform().haptics().perform();
    if (onSessionChange)
        onSessionChange(false, 0);
    Log::debug("Awake session ended");
}

void AwakeFeature::toggleQuick()
{
    if (m_settings.isAwakeEnabled()) {
        m_settings.setAwakeEnabled(false);
        return;
    }
    m_forceIndefinite = true;
    m_settings.setAwakeEnabled(true);
}

void AwakeFeature::scheduleExpiry(int minutes)
{
    if (m_expiry)
        m_expiry->cancel();
    m_expiry.reset();
    m_sessionMinutes = minutes;
    if (minutes < 1) {
        m_endsAt.reset();
        return;
    }
    // On the wall clock, so that time asleep counts.
    const QDateTime deadline = platform::platform().clock().now().addSecs(qint64(minutes) * 60);
    m_endsAt = deadline;
    std::weak_ptr<AwakeFeature*> weak = m_self;
    m_expiry = platform::platform().mainQueue().at(deadline, [weak] {
        const auto self = weak.lock();
        if (!self || !*self)
            return;
        Notifier::postTransient(
            kEndedId, kEndedTitle,
            Words::adapt(QStringLiteral("The timed session finished; the Mac may sleep now.")),
            kNoticeLifetime);
        (*self)->m_settings.setAwakeEnabled(false);
    });
}

void AwakeFeature::applyBatteryWatch()
{
    if (!m_settings.awakeEndOnLowBattery()) {
        m_battery.remove(this);
        return;
    }
    std::weak_ptr<AwakeFeature*> weak = m_self;
    m_battery.add(this, [weak](BatteryMonitor::State state) {
        if (const auto self = weak.lock(); self && *self)
            (*self)->handleBattery(state.isOnBattery, state.percent);
    });
    // A new handler is not told the present state: read it here.
    if (const auto state = m_battery.currentState())
        handleBattery(state->isOnBattery, state->percent);
}

void AwakeFeature::handleBattery(bool onBattery, int percent)
{
    if (percent > 10)
        m_batteryOverride = false;
    if (!m_settings.awakeEndOnLowBattery() || m_batteryOverride || !onBattery || percent >= 11 || !m_active)
        return;
    Log::info(QStringLiteral("Awake: ending session, battery at %1%").arg(percent));
    Notifier::postTransient(
        kEndedId, kEndedTitle,
        QStringLiteral("Battery at %1% — the session was ended to save power.").arg(percent),
        kNoticeLifetime);
    writeEnabledLater(false);
}

std::optional<QString> AwakeFeature::activeTriggerReason() const
{
    const QSet<QString> apps = m_settings.awakeTriggerApps();
    if (!apps.isEmpty()) {
        for (const auto& app : platform::platform().workspace().runningApps()) {
            if (!app.appId.isEmpty() && apps.contains(app.appId))
                return (app.name.isEmpty() ? QStringLiteral("an app") : app.name) +
                       QStringLiteral(" is running");
        }
    }
    if (m_settings.awakeOnExternalDisplay()) {
        const auto screens = platform::platform().displays().screens();
        if (std::any_of(screens.begin(), screens.end(), [](const auto& screen) { return !screen.builtIn; }))
            return QStringLiteral("an external display is connected");
    }
    if (m_settings.awakeOnDriveMounted()) {
        // A volume that may belong to the computer (internal not known) is
        // not taken for an external drive.
        const auto volumes = platform::platform().volumes().mounted();
        if (std::any_of(volumes.begin(), volumes.end(),
                        [](const auto& volume) { return !volume.hidden && volume.internal == false; }))
            return QStringLiteral("an external drive is mounted");
    }
    return std::nullopt;
}

void AwakeFeature::startTriggerSession()
{
    if (m_settings.isAwakeEnabled())
        return;
    m_triggerStarted = true;
    m_forceIndefinite = true;
    m_settings.setAwakeEnabled(true);
}

void AwakeFeature::endTriggerSessionIfReasonGone()
{
    if (!m_triggerStarted || !m_settings.isAwakeEnabled() || activeTriggerReason())
        return;
    m_triggerStarted = false;
    writeEnabledLater(false);
}

void AwakeFeature::applyTriggers()
{
    const bool display = m_settings.awakeOnExternalDisplay();
    const bool drive = m_settings.awakeOnDriveMounted();
    const QSet<QString> apps = m_settings.awakeTriggerApps();
    const bool changed =
        apps != m_lastTriggerApps || display != m_lastDisplayTrigger || drive != m_lastDriveTrigger;
    const bool newlyOn = !(apps - m_lastTriggerApps).isEmpty() || (display && !m_lastDisplayTrigger) ||
                         (drive && !m_lastDriveTrigger);
    // Stored first: the session started below reconciles, which calls here again.
    m_lastTriggerApps = apps;
    m_lastDisplayTrigger = display;
    m_lastDriveTrigger = drive;
    if (changed)
        installTriggerObservers();
    if (newlyOn && !m_settings.isAwakeEnabled() && activeTriggerReason())
        startTriggerSession();
    endTriggerSessionIfReasonGone();
}

void AwakeFeature::removeTriggerObservers()
{
    if (m_workspaceToken)
        platform::platform().workspace().removeHandler(*m_workspaceToken);
    m_workspaceToken.reset();
    if (m_screenToken)
        platform::platform().displays().removeChangeHandler(*m_screenToken);
    m_screenToken.reset();
    if (m_volumeToken)
        platform::platform().volumes().removeChangeHandler(*m_volumeToken);
    m_volumeToken.reset();
}

void AwakeFeature::installTriggerObservers()
{
    removeTriggerObservers();
    std::weak_ptr<AwakeFeature*> weak = m_self;
    if (!m_lastTriggerApps.isEmpty()) {
        m_workspaceToken = platform::platform().workspace().addHandler(
            [weak](platform::AppNotice notice, const platform::RunningApp& app) {
                const auto self = weak.lock();
                if (!self || !*self || app.appId.isEmpty())
                    return;
                AwakeFeature& feature = **self;
                if (!feature.m_settings.awakeTriggerApps().contains(app.appId))
                    return;
                if (notice == platform::AppNotice::launched)
                    feature.startTriggerSession();
                else if (notice == platform::AppNotice::terminated)
                    feature.endTriggerSessionIfReasonGone();
            });
    }
    const auto follow = [weak] {
        const auto self = weak.lock();
        if (self && *self)
            (*self)->followTriggerChange();
    };
    if (m_lastDisplayTrigger)
        m_screenToken = platform::platform().displays().addChangeHandler(follow);
    if (m_lastDriveTrigger)
        m_volumeToken = platform::platform().volumes().addChangeHandler(follow);
}

void AwakeFeature::followTriggerChange()
{
    if (activeTriggerReason())
        startTriggerSession();
    else
        endTriggerSessionIfReasonGone();
}

} // namespace quillon
