#include "features/breaks/BreaksFeature.h"

#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Log.h"

#include <algorithm>

namespace quillon {

BreaksFeature::BreaksFeature(Settings& settings)
    : m_settings(settings)
    , m_self(std::make_shared<BreaksFeature*>(this))
{
}

BreaksFeature::~BreaksFeature()
{
    deactivate();
    *m_self = nullptr;
}

void BreaksFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    platform::platform().inputIdle().listen(true);
    std::weak_ptr<BreaksFeature*> weak = m_self;
    m_sessionToken = platform::platform().sessionEvents().addHandler([weak](platform::SessionNotice) {
        if (const auto self = weak.lock(); self && *self)
            (*self)->sessionResumed();
    });
    startCycle();
    Log::debug("Breaks activated");
}

void BreaksFeature::deactivate()
{
    m_overlay.dismiss();
    if (!m_active)
        return;
    m_active = false;
    cancelTimers();
    platform::platform().inputIdle().listen(false);
    if (m_sessionToken)
        platform::platform().sessionEvents().removeHandler(*m_sessionToken);
    m_sessionToken.reset();
    if (onOverlayVisible)
        onOverlayVisible(false);
    if (onCountdownEnd)
        onCountdownEnd();
    Log::debug("Breaks deactivated");
}

// The countdown's tick work stays set until the next cycle, so a change made
// once the countdown has begun waits for the cycle after the break.
void BreaksFeature::applySettings()
{
    if (!m_active || m_snoozing || m_scheduledInterval == workInterval())
        return;
    if (m_overlay.panels().empty() && !m_tickWork.isValid())
        startCycle();
}

void BreaksFeature::preview()
{
    if (!m_overlay.panels().empty())
        return;
    if (onOverlayVisible)
        onOverlayVisible(true);
    std::weak_ptr<BreaksFeature*> weak = m_self;
    m_overlay.show(previewSeconds, BreakOverlay::prompts[size_t(m_copyIndex)], 0, [weak](BreakOutcome) {
        if (const auto self = weak.lock(); self && *self && (*self)->onOverlayVisible)
            (*self)->onOverlayVisible(false);
    });
}

// A value below 1 from an edited or imported file would mean a break every
// minute, or every break credited: it reads as the default instead.
double BreaksFeature::workInterval()
{
    qint64 minutes = m_settings.breaksWorkIntervalMinutes();
    if (minutes < 1) {
        if (!m_toldBadInterval)
            Log::info(QStringLiteral("Breaks: work interval %1 min is not usable; using %2 min")
                          .arg(minutes)
                          .arg(defaultWorkMinutes));
        m_toldBadInterval = true;
        minutes = defaultWorkMinutes;
    }
    return double(minutes) * 60.0;
}

int BreaksFeature::breakSeconds()
{
    qint64 seconds = m_settings.breaksBreakSeconds();
    if (seconds < 1) {
        if (!m_toldBadBreak)
            Log::info(QStringLiteral("Breaks: break length %1 s is not usable; using %2 s")
                          .arg(seconds)
                          .arg(defaultBreakSeconds));
        m_toldBadBreak = true;
        seconds = defaultBreakSeconds;
    }
    return int(std::min<qint64>(seconds, 24 * 3600));
}

void BreaksFeature::startCycle(std::optional<double> interval)
{
    m_typingDefers = 0;
    cancelTimers();
    m_snoozing = interval.has_value();
    m_scheduledInterval = interval ? *interval : workInterval();
    schedulePhase(std::max(m_scheduledInterval - preWarnLead, 1.0), QStringLiteral("pre-warning"),
                  &BreaksFeature::preWarnPhase);
}

void BreaksFeature::schedulePhase(double delay, const QString& label, Phase phase)
{
    m_phaseWork.cancel();
    m_nextPhaseLabel = label;
    // The decision reads the last answer: asked a little ahead, it is at
    // most a few seconds old and the phase never waits for the bus.
    m_refreshWork.cancel();
    m_refreshWork = platform::platform().mainQueue().after(
        std::max(delay - refreshLead, 0.0), [] { platform::platform().powerAssertions().refreshOthers(); });
    std::weak_ptr<BreaksFeature*> weak = m_self;
    m_phaseWork = platform::platform().mainQueue().after(delay, [weak, phase] {
        const auto self = weak.lock();
        if (self && *self && (*self)->m_active)
            ((**self).*phase)();
    });
}

void BreaksFeature::cancelTimers()
{
    m_phaseWork.cancel();
    m_phaseWork = {};
    m_refreshWork.cancel();
    m_tickWork.cancel();
    m_tickWork = {};
    for (auto& work : m_blinkWork)
        work.cancel();
    m_blinkWork.clear();
    m_nextPhaseLabel = QStringLiteral("—");
}

std::optional<QString> BreaksFeature::frontApp(const QSet<QString>& excluded) const
{
    if (excluded.isEmpty())
        return std::nullopt;
    const auto front = platform::platform().workspace().frontmostApp();
    if (!front || front->appId.isEmpty())
        return std::nullopt;
    return front->appId;
}

BreakPolicy::Decision BreaksFeature::decide()
{
    auto& p = platform::platform();
    BreakPolicy::Readings r;
    r.smart = m_settings.breaksSmartDefer();
    if (r.smart) {
        r.idle = p.inputIdle().secondsSinceInput();
        r.key = p.inputIdle().secondsSinceKeyDown();
        r.busy = p.powerAssertions().othersPreventDisplaySleep();
    }
    r.excluded = m_settings.breaksExcludedApps();
    r.front = frontApp(r.excluded);
    r.typingDefers = m_typingDefers;
    r.breakSeconds = breakSeconds();
    const auto outcome = BreakPolicy::decide(r);
    m_lastDecisionSummary = outcome.summary;
    Log::debug([&] { return QStringLiteral("Breaks decision: ") + outcome.summary; });
    return outcome.decision;
}

void BreaksFeature::preWarnPhase()
{
    using BreakPolicy::Decision;
    switch (decide()) {
    case Decision::start:
        if (m_settings.breaksPreWarn() && onPreWarn)
            onPreWarn();
        schedulePhase(countdownLead, QStringLiteral("countdown"), &BreaksFeature::countdownPhase);
        break;
    case Decision::creditNatural:
        startCycle();
        break;
    case Decision::postponeTyping:
        ++m_typingDefers;
        schedulePhase(retryDelay, QStringLiteral("pre-warning"), &BreaksFeature::preWarnPhase);
        break;
    case Decision::postponeBusy:
        schedulePhase(retryDelay, QStringLiteral("pre-warning"), &BreaksFeature::preWarnPhase);
        break;
    }
}

void BreaksFeature::countdownPhase()
{
    using BreakPolicy::Decision;
    switch (decide()) {
    case Decision::start:
        m_nextPhaseLabel = QStringLiteral("—");
        countdown(countdownTicks);
        break;
    case Decision::creditNatural:
        startCycle();
        break;
    case Decision::postponeTyping:
        ++m_typingDefers;
        schedulePhase(retryDelay, QStringLiteral("countdown"), &BreaksFeature::countdownPhase);
        break;
    case Decision::postponeBusy:
        schedulePhase(retryDelay, QStringLiteral("countdown"), &BreaksFeature::countdownPhase);
        break;
    }
}

void BreaksFeature::countdown(int remaining)
{
    if (remaining < 1) {
        if (onCountdownEnd)
            onCountdownEnd();
        startBreak();
        return;
    }
    if (onCountdownTick)
        onCountdownTick(remaining, true);
    auto& queue = platform::platform().mainQueue();
    std::weak_ptr<BreaksFeature*> weak = m_self;
    if (remaining % 2 == 0) {
        for (auto& work : m_blinkWork)
            work.cancel();
        m_blinkWork.clear();
        for (const auto& [offset, open] : blinkFrames) {
            const bool eyeOpen = open;
            m_blinkWork.push_back(queue.after(offset, [weak, remaining, eyeOpen] {
                const auto self = weak.lock();
                if (self && *self && (*self)->m_active && (*self)->onCountdownTick)
                    (*self)->onCountdownTick(remaining, eyeOpen);
            }));
        }
    }
    m_tickWork.cancel();
    m_tickWork = queue.after(1.0, [weak, remaining] {
        const auto self = weak.lock();
        if (self && *self && (*self)->m_active)
            (*self)->countdown(remaining - 1);
    });
}

void BreaksFeature::startBreak()
{
    const QSet<QString> excluded = m_settings.breaksExcludedApps();
    if (const auto front = frontApp(excluded); front && excluded.contains(*front)) {
        Log::debug("Breaks: excluded app frontmost at start — deferring");
        if (onCountdownEnd)
            onCountdownEnd();
        schedulePhase(retryDelay, QStringLiteral("countdown"), &BreaksFeature::countdownPhase);
        return;
    }
    if (onOverlayVisible)
        onOverlayVisible(true);
    m_copyIndex = (m_copyIndex + 1) % int(BreakOverlay::prompts.size());
    m_nextPhaseLabel = QStringLiteral("break");
    std::weak_ptr<BreaksFeature*> weak = m_self;
    m_overlay.show(breakSeconds(), BreakOverlay::prompts[size_t(m_copyIndex)],
                   m_settings.breaksDelayedSkip() ? delayedSkipSeconds : 0.0, [weak](BreakOutcome outcome) {
                       if (const auto self = weak.lock(); self && *self)
                           (*self)->finished(outcome);
                   });
}

// A break that showed when the computer went to sleep is dropped without an
// outcome, and the work period starts over.
void BreaksFeature::sessionResumed()
{
    if (!m_active)
        return;
    m_overlay.dismiss();
    if (onOverlayVisible)
        onOverlayVisible(false);
    if (onCountdownEnd)
        onCountdownEnd();
    startCycle();
}

void BreaksFeature::finished(BreakOutcome outcome)
{
    if (onOverlayVisible)
        onOverlayVisible(false);
    if (!m_active)
        return;
    if (outcome == BreakOutcome::completed && onBreakDone)
        onBreakDone();
    if (outcome == BreakOutcome::snoozed)
        startCycle(snoozeSeconds);
    else
        startCycle();
}

} // namespace quillon
