#pragma once

#include "platform/PowerAssertions.h"
#include "platform/linux/DesktopInhibitors.h"
#include "platform/linux/X11Connection.h"

#include <QVariantList>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace quillon::platform::linux_ {

/// Keep-awake on Linux: both kinds take logind's "idle" inhibitor in "block"
/// mode (its file descriptor is the assertion; closing it releases it), and
/// the display kind also suspends the X server's screen saver and DPMS
/// (MIT-SCREEN-SAVER), which holds off blanking but does not end a saver
/// already on. A "sleep" inhibitor is never taken: it would also refuse a
/// suspend the person asks for. Where the desktop runs inhibit services of its
/// own, they are asked too (DesktopInhibitors), without waiting: their
/// answers come later, and a refusal there is logged.
///
/// logind's Inhibit call is the one blocking bus call here, bounded to
/// 250 ms: the feature makes the new assertion before it breaks the old one,
/// at once. A call that takes longer counts as refused.
class LogindPowerAssertions final : public PowerAssertions {
public:
    /// The Inhibit call's bound.
    static constexpr int inhibitTimeoutMs = 250;
    /// Codes of a refusal.
    static constexpr int refusedByLogind = 1;
    static constexpr int nothingToTake = 2;

    LogindPowerAssertions();
    ~LogindPowerAssertions() override;

    std::variant<Handle, Refusal> create(PowerAssertionKind kind, const QString& reason) override;
    void release(Handle handle) override;
    bool othersPreventDisplaySleep() override { return m_others || m_gnomeOthers; }
    /// A pending ListInhibitors call: true for an "idle" inhibitor in block
    /// mode of a process other than ours.
    void refreshOthers() override;
    /// Reads a ListInhibitors reply; a malformed one holds none.
    static bool othersIn(const QVariantList& reply, uint32_t ownPid);
    /// GNOME's session inhibitors as (flags, app id): true for one that
    /// holds off idle (flag 8) and is not ours.
    static bool gnomeOthersIn(const std::vector<std::pair<uint32_t, QString>>& inhibitors,
                              const QStringList& ownIds);
    /// The desktop's inhibit services and which of them run, as known so far.
    const DesktopInhibitors& desktopInhibitors() const { return *m_desktop; }
    /// The name our own Inhibit calls pass as "who".
    static constexpr const char* inhibitorName = "Quillon";

private:
    struct Held {
        int inhibitFd = -1;
        bool screenSaverSuspended = false;
        /// What took effect at once, for the log.
        QStringList taken;
    };
    enum class Inhibit { taken, absent, refused };

    Inhibit inhibit(const QString& reason, int& fd);
    void suspendScreenSaver(bool suspend);
    void logEffect(const QString& effect);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<DesktopInhibitors> m_desktop;
    std::map<Handle, Held> m_held;
    Handle m_last = 0;
    std::optional<QString> m_loggedEffect;
    void refreshGnome();
    bool m_others = false;
    bool m_gnomeOthers = false;
    bool m_refreshing = false;
    bool m_refreshingGnome = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon::platform::linux_
