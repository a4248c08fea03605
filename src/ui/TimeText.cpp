#include "ui/TimeText.h"

#include <cmath>

namespace quillon {

namespace {

// A value that is not a number reads as none at all.
double finite(double seconds)
{
    return std::isfinite(seconds) ? seconds : 0;
}

QString wholeSeconds(double seconds)
{
    // Far past any delay a person sets, but kept from overflowing the integer.
    const double whole = std::trunc(std::min(seconds, 1e15));
    return QString::number(qint64(whole)) +
           (seconds == 1 ? QStringLiteral(" second") : QStringLiteral(" seconds"));
}

} // namespace

QString TimeText::minutes(int minutes)
{
    if (minutes == 60)
        return QStringLiteral("1 hour");
    if (minutes > 59 && minutes % 60 == 0)
        return QStringLiteral("%1 hours").arg(minutes / 60);
    return QStringLiteral("%1 minutes").arg(minutes);
}

QString TimeText::delay(double seconds)
{
    seconds = finite(seconds);
    if (seconds < 1)
        return QString::number(seconds) + QStringLiteral(" seconds");
    return wholeSeconds(seconds);
}

QString TimeText::holdDelay(double seconds)
{
    seconds = finite(seconds);
    if (seconds <= 0)
        return QStringLiteral("Instant");
    if (seconds >= 1)
        return wholeSeconds(seconds);
    return QStringLiteral("%1 ms").arg(qint64(std::lround(seconds * 1000)));
}

QString TimeText::holdDelayPhrase(double seconds)
{
    seconds = finite(seconds);
    if (seconds <= 0)
        return QStringLiteral("as soon as you hold it");
    return QStringLiteral("after ") + holdDelay(seconds) + QStringLiteral(" of holding");
}

} // namespace quillon
