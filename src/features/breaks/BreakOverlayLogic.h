#pragma once

#include "platform/KeyEvents.h"

#include <QString>
#include <functional>
#include <optional>

namespace quillon {

/// How a shown break ended.
enum class BreakOutcome { completed, skipped, snoozed };
QString rawValue(BreakOutcome outcome);

/// The timing and keys of the break screen, free of windows: the countdown,
/// the pills' state, the Esc presses and the one completion of each break.
/// Times are seconds on the monotonic clock.
class BreakOverlayLogic {
public:
    using Completion = std::function<void(BreakOutcome)>;

    static constexpr int escapeKey = 53;
    /// Two lone Esc presses this close together skip the break.
    static constexpr double escapeWindow = 0.8;
    /// Ending with no more than this left counts as a completed break.
    static constexpr double completedWithin = 5.0;
    static constexpr double dimmedAlpha = 0.4;

    /// What one tick shows on every card.
    struct Face {
        QString countdown;
        QString skipTitle;
        bool usable = false;
        double pillAlpha = 1.0;
        bool operator==(const Face&) const = default;
    };

    /// What the key tap does with an event.
    enum class KeyAction {
        /// Swallowed and nothing more.
        swallow,
        /// Swallowed, and counts as an Esc press.
        escape,
        /// The keyboard is given back for the rest of the break, and this
        /// press goes where it would have gone.
        release,
    };

    /// A new break from `now`; replaces any other without its outcome.
    void start(double now, int seconds, double skipDelay, Completion onFinished);
    bool isShowing() const { return m_showing; }

    /// Whole seconds left, rounded up.
    int remaining(double now) const;
    /// The face of a tick at `now`; none once the break is over.
    std::optional<Face> tick(double now) const;
    static QString countdownText(int remaining);

    /// Skip pressed: skipped while more than five seconds are left.
    BreakOutcome skipOutcome(double now) const;
    static KeyAction classify(int code, platform::EventFlags flags, bool isKeyUp);
    /// An Esc press: true when it is the second within the window.
    bool escapePressed(double now);

    /// Ends the break and answers its completion, once; empty when no break
    /// shows or it has ended already.
    Completion finish();
    /// Ends the break without an outcome.
    void dismiss();
    double shownAt() const { return m_shownAt; }

private:
    bool m_showing = false;
    double m_shownAt = 0;
    double m_endsAt = 0;
    double m_skipEnabledAt = 0;
    std::optional<double> m_lastEscape;
    Completion m_onFinished;
};

} // namespace quillon
