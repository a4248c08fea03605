#include "features/breaks/BreakPolicy.h"

#include <cmath>

namespace quillon::BreakPolicy {

QString rawValue(Decision decision)
{
    switch (decision) {
    case Decision::start:
        return QStringLiteral("start");
    case Decision::creditNatural:
        return QStringLiteral("creditNatural");
    case Decision::postponeTyping:
        return QStringLiteral("postponeTyping");
    case Decision::postponeBusy:
        return QStringLiteral("postponeBusy");
    }
    return QString();
}

Outcome decide(const Readings& r)
{
    // Without smart deferral nothing of the person's activity is read.
    const double idle = r.smart ? r.idle : 0;
    const double key = r.smart ? r.key : 0;
    const bool busy = r.smart && r.busy;
    Outcome out;
    if (r.smart && idle >= r.breakSeconds)
        out.decision = Decision::creditNatural;
    else if (r.front && r.excluded.contains(*r.front))
        out.decision = Decision::postponeBusy;
    else if (busy)
        out.decision = Decision::postponeBusy;
    else if (r.smart && r.typingDefers < maxTypingDefers && key < typingIdle)
        out.decision = Decision::postponeTyping;
    else
        out.decision = Decision::start;
    out.summary =
        QStringLiteral("%1 — smart %2, idle %3s, key %4s, busy %5, front %6, excluded %7, defers %8")
            .arg(rawValue(out.decision), r.smart ? QStringLiteral("on") : QStringLiteral("OFF"))
            .arg(idle, 0, 'f', 0)
            .arg(key, 0, 'f', 0)
            .arg(busy ? QStringLiteral("YES") : QStringLiteral("no"),
                 r.front ? *r.front : QStringLiteral("—"))
            .arg(r.excluded.size())
            .arg(r.typingDefers);
    return out;
}

} // namespace quillon::BreakPolicy
