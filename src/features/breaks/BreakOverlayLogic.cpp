#include "features/breaks/BreakOverlayLogic.h"

#include "platform/KeyFlags.h"

#include <cmath>

namespace quillon {

QString rawValue(BreakOutcome outcome)
{
    switch (outcome) {
    case BreakOutcome::completed:
        return QStringLiteral("completed");
    case BreakOutcome::skipped:
        return QStringLiteral("skipped");
    case BreakOutcome::snoozed:
        return QStringLiteral("snoozed");
    }
    return QString();
}

void BreakOverlayLogic::start(double now, int seconds, double skipDelay, Completion onFinished)
{
    m_showing = true;
    m_shownAt = now;
    m_endsAt = now + seconds;
    m_skipEnabledAt = now + skipDelay;
    m_lastEscape.reset();
    m_onFinished = std::move(onFinished);
}

int BreakOverlayLogic::remaining(double now) const
{
    // A hair of clock noise must not add a whole second.
    return int(std::ceil(m_endsAt - now - 1e-9));
}

std::optional<BreakOverlayLogic::Face> BreakOverlayLogic::tick(double now) const
{
    const int left = remaining(now);
    if (left < 1)
        return std::nullopt;
    Face face;
    face.countdown = countdownText(left);
    face.skipTitle = left < 6 ? QStringLiteral("End Break") : QStringLiteral("Skip Break");
    face.usable = now >= m_skipEnabledAt;
    face.pillAlpha = face.usable ? 1.0 : dimmedAlpha;
    return face;
}

QString BreakOverlayLogic::countdownText(int remaining)
{
    return QStringLiteral("%1:%2")
        .arg(remaining / 60, 2, 10, QLatin1Char('0'))
        .arg(remaining % 60, 2, 10, QLatin1Char('0'));
}

BreakOutcome BreakOverlayLogic::skipOutcome(double now) const
{
    return m_endsAt - now > completedWithin ? BreakOutcome::skipped : BreakOutcome::completed;
}

// Linux has no force-quit chord; Ctrl+Alt+Esc stands in for it as the one
// way to get the keyboard back during a break.
BreakOverlayLogic::KeyAction BreakOverlayLogic::classify(int code, platform::EventFlags flags, bool isKeyUp)
{
    using namespace platform::KeyFlags;
    if (code != escapeKey)
        return KeyAction::swallow;
    if ((flags & control) && (flags & option))
        return isKeyUp ? KeyAction::swallow : KeyAction::release;
    if (isKeyUp || (flags & (control | option | command)))
        return KeyAction::swallow;
    return KeyAction::escape;
}

bool BreakOverlayLogic::escapePressed(double now)
{
    if (m_lastEscape && now - *m_lastEscape < escapeWindow)
        return true;
    m_lastEscape = now;
    return false;
}

BreakOverlayLogic::Completion BreakOverlayLogic::finish()
{
    m_showing = false;
    Completion taken = std::move(m_onFinished);
    m_onFinished = nullptr;
    return taken;
}

void BreakOverlayLogic::dismiss()
{
    m_showing = false;
    m_onFinished = nullptr;
}

} // namespace quillon
