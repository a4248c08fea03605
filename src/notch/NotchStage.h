#pragma once

#include "notch/NotchArbiter.h"

#include <functional>
#include <map>

namespace quillon {

/// The one arbitration of the notch. Every part that shows something there
/// claims a source or a takeover here, and is told through its handler when
/// its source starts or stops showing. None of them knows the others.
///
/// Handlers may claim and release again while they are told; the stage keeps
/// settling until the shown source is the winner, in at most 7 passes, so two
/// handlers that keep undoing each other cannot hang it.
class NotchStage {
public:
    using Handler = std::function<void(bool shows)>;

    /// Each mutation answers whether the winner changed.
    bool claim(NotchSource source);
    bool release(NotchSource source);
    bool claim(NotchTakeover takeover);
    bool release(NotchTakeover takeover);

    /// One handler per source; a new one replaces the old.
    void setHandler(NotchSource source, Handler handler);

    const NotchArbiter& arbiter() const { return m_arbiter; }
    /// The source last told it shows, and not yet told it stopped.
    std::optional<NotchSource> shown() const { return m_shown; }

    static constexpr int maxSettlePasses = 7;

private:
    bool settle(const std::function<void(NotchArbiter&)>& change);
    void tell(NotchSource source, bool shows);

    NotchArbiter m_arbiter;
    std::map<NotchSource, Handler> m_handlers;
    std::optional<NotchSource> m_shown;
    bool m_settling = false;
};

} // namespace quillon
