#pragma once

#include "app/Feature.h"
#include "features/breaks/BreakOverlay.h"
#include "features/breaks/BreakPolicy.h"
#include "platform/MainQueue.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quillon {

class Settings;

/// Break reminders: after each work interval a warning, a ten-second
/// countdown in the notch, then the break screen; postponed while the person
/// types or an excluded application is in front, and skipped when the person
/// has already paused as long as a break.
class BreaksFeature final : public Feature {
public:
    static constexpr double preWarnLead = 60;
    static constexpr double countdownLead = 50;
    static constexpr int countdownTicks = 10;
    static constexpr double retryDelay = 60;
    static constexpr double snoozeSeconds = 300;
    static constexpr double delayedSkipSeconds = 5;
    static constexpr int previewSeconds = 8;
    /// How long before a phase the display assertions are read anew.
    static constexpr double refreshLead = 2;
    /// The eye's frames within an even countdown second: (offset, open).
    static constexpr std::array<std::pair<double, bool>, 4> blinkFrames{
        {{0.0625, false}, {0.125, true}, {0.1875, false}, {0.25, true}}};
    /// Used in place of a work interval or break length below 1.
    static constexpr int defaultWorkMinutes = 20;
    static constexpr int defaultBreakSeconds = 20;

    explicit BreaksFeature(Settings& settings);
    ~BreaksFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// The warning before a break falls due.
    std::function<void()> onPreWarn;
    /// Seconds left before a break, and whether the eye is drawn open.
    std::function<void(int, bool)> onCountdownTick;
    /// The countdown is over or cancelled.
    std::function<void()> onCountdownEnd;
    /// The break overlay appears (true) or disappears.
    std::function<void(bool)> onOverlayVisible;
    /// A break was completed.
    std::function<void()> onBreakDone;

    /// Starts a new cycle when the work interval changed, unless the
    /// countdown or a break is under way (or a snooze runs).
    void applySettings();
    /// A short break to show what one looks like; leaves the cycle alone.
    void preview();

    const BreakOverlay& overlay() const { return m_overlay; }
    /// For inspection only.
    QString nextPhaseLabel() const { return m_nextPhaseLabel; }
    QString lastDecisionSummary() const { return m_lastDecisionSummary; }
    double scheduledInterval() const { return m_scheduledInterval; }

private:
    using Phase = void (BreaksFeature::*)();
    void startCycle(std::optional<double> interval = std::nullopt);
    void schedulePhase(double delay, const QString& label, Phase phase);
    void cancelTimers();
    BreakPolicy::Decision decide();
    void preWarnPhase();
    void countdownPhase();
    void countdown(int remaining);
    void startBreak();
    void finished(BreakOutcome outcome);
    void sessionResumed();
    std::optional<QString> frontApp(const QSet<QString>& excluded) const;
    double workInterval();
    int breakSeconds();

    Settings& m_settings;
    BreakOverlay m_overlay;
    bool m_active = false;
    platform::WorkItem m_phaseWork;
    /// Reads who else keeps the display awake shortly before the phase.
    platform::WorkItem m_refreshWork;
    platform::WorkItem m_tickWork;
    std::vector<platform::WorkItem> m_blinkWork;
    int m_typingDefers = 0;
    int m_copyIndex = 0;
    bool m_snoozing = false;
    double m_scheduledInterval = 0;
    QString m_nextPhaseLabel = QStringLiteral("—");
    QString m_lastDecisionSummary = QStringLiteral("none yet");
    std::optional<int> m_sessionToken;
    bool m_toldBadInterval = false;
    bool m_toldBadBreak = false;
    std::shared_ptr<BreaksFeature*> m_self;
};

} // namespace quillon
