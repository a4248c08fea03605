#pragma once

#include "platform/PowerAssertions.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>

class QDBusMessage;

namespace quillon::platform::linux_ {

/// The desktop's own inhibit services on the session bus, which some
/// desktops heed instead of logind or the X server:
/// org.freedesktop.PowerManagement.Inhibit for both kinds,
/// org.gnome.SessionManager (suspend, and idle for the display kind) and
/// org.freedesktop.ScreenSaver for the display kind.
///
/// Which of them run is kept from the bus's name list and NameOwnerChanged,
/// so asking never waits. Every call is a pending one: Inhibit answers a
/// cookie later, and a cookie that comes for an assertion released in the
/// meantime is given back at once. A service that starts while an assertion
/// is held is asked then. Main thread.
class DesktopInhibitors final : public QObject {
    Q_OBJECT

public:
    enum class Service { powerManagement, gnomeSession, screenSaver };
    using Handle = PowerAssertions::Handle;

    /// `settled` runs once every service asked for `handle` has answered,
    /// with the names of those that took the inhibitor.
    explicit DesktopInhibitors(std::function<void(Handle, const QStringList& taken)> settled,
                               QDBusConnection bus = QDBusConnection::sessionBus());
    /// Gives back every cookie still held.
    ~DesktopInhibitors() override;

    /// Whether a service of that kind runs here, as far as the name list
    /// tells so far.
    bool anyFor(PowerAssertionKind kind) const;
    bool isPresent(Service service) const { return m_present.count(service) > 0; }
    /// Asks every running service of that kind for an inhibitor held under
    /// `handle`. `appName` names us to the freedesktop services, `appId` to
    /// GNOME's.
    void take(Handle handle, PowerAssertionKind kind, const QString& reason, const QString& appName,
              const QString& appId);
    /// Gives back the cookies held under `handle`; one still on its way is
    /// given back when it comes.
    void release(Handle handle);

    /// The cookie of an Inhibit reply: one unsigned 32-bit value, nothing
    /// else. An error or anything malformed holds none.
    static std::optional<uint32_t> cookieIn(const QDBusMessage& reply);
    /// The service a bus name stands for.
    static std::optional<Service> serviceNamed(const QString& name);

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    struct Asked {
        uint64_t request = 0;
        /// The unique name that answered; empty while the answer is awaited.
        QString owner;
        std::optional<uint32_t> cookie;
        bool answered = false;
    };
    struct Holding {
        PowerAssertionKind kind;
        QString reason, appName, appId;
        std::map<Service, Asked> asked;
        QStringList taken;
        int waiting = 0;
    };

    void ask(Handle handle, Holding& holding, Service service);
    void answered(Handle handle, Service service, uint64_t request, const QDBusMessage& reply);
    void giveBack(Service service, const QString& owner, uint32_t cookie);
    void appeared(Service service);
    void vanished(Service service);
    void settleIfDone(Handle handle, Holding& holding);

    std::function<void(Handle, const QStringList&)> m_settled;
    QDBusConnection m_bus;
    std::set<Service> m_present;
    std::map<Handle, Holding> m_held;
    uint64_t m_lastRequest = 0;
};

} // namespace quillon::platform::linux_
