#include "notch/NotchStage.h"

namespace quillon {

bool NotchStage::claim(NotchSource source)
{
    return settle([source](NotchArbiter& a) { a.claims.insert(source); });
}

bool NotchStage::release(NotchSource source)
{
    return settle([source](NotchArbiter& a) { a.claims.erase(source); });
}

bool NotchStage::claim(NotchTakeover takeover)
{
    return settle([takeover](NotchArbiter& a) { a.takeovers.insert(takeover); });
}

bool NotchStage::release(NotchTakeover takeover)
{
    return settle([takeover](NotchArbiter& a) { a.takeovers.erase(takeover); });
}

void NotchStage::setHandler(NotchSource source, Handler handler) { m_handlers[source] = std::move(handler); }

bool NotchStage::settle(const std::function<void(NotchArbiter&)>& change)
{
    const auto before = m_arbiter.winner();
    change(m_arbiter);
    // A claim or release from inside a handler only changes the sets; the
    // running loop below picks it up on its next pass.
    if (m_settling)
        return m_arbiter.winner() != before;

    m_settling = true;
    for (int pass = 0; pass < maxSettlePasses; ++pass) {
        const auto winner = m_arbiter.winner();
        if (m_shown == winner)
            break;
        const auto old = m_shown;
        m_shown = winner;
        // The loser always hears first, so it has let go before the winner draws.
        if (old)
            tell(*old, false);
        if (winner)
            tell(*winner, true);
    }
    m_settling = false;
    return m_arbiter.winner() != before;
}

void NotchStage::tell(NotchSource source, bool shows)
{
    const auto it = m_handlers.find(source);
    if (it == m_handlers.end() || !it->second)
        return;
    // A copy: the handler may replace itself while it runs.
    const Handler handler = it->second;
    handler(shows);
}

} // namespace quillon
