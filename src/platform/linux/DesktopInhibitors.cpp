#include "platform/linux/DesktopInhibitors.h"

#include "support/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

namespace quillon::platform::linux_ {

namespace {

struct Endpoint {
    QString name, path, interface, uninhibit, label;
};

const Endpoint& endpointOf(DesktopInhibitors::Service service)
{
    static const Endpoint powerManagement{QStringLiteral("org.freedesktop.PowerManagement.Inhibit"),
                                          QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                                          QStringLiteral("org.freedesktop.PowerManagement.Inhibit"),
                                          QStringLiteral("UnInhibit"), QStringLiteral("the power manager")};
    static const Endpoint gnomeSession{QStringLiteral("org.gnome.SessionManager"),
                                       QStringLiteral("/org/gnome/SessionManager"),
                                       QStringLiteral("org.gnome.SessionManager"), QStringLiteral("Uninhibit"),
                                       QStringLiteral("the GNOME session")};
    static const Endpoint screenSaver{QStringLiteral("org.freedesktop.ScreenSaver"),
                                      QStringLiteral("/org/freedesktop/ScreenSaver"),
                                      QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("UnInhibit"),
                                      QStringLiteral("the desktop's screen saver")};
    switch (service) {
    case DesktopInhibitors::Service::powerManagement:
        return powerManagement;
    case DesktopInhibitors::Service::gnomeSession:
        return gnomeSession;
    case DesktopInhibitors::Service::screenSaver:
        break;
    }
    return screenSaver;
}

constexpr DesktopInhibitors::Service allServices[] = {DesktopInhibitors::Service::powerManagement,
                                                      DesktopInhibitors::Service::gnomeSession,
                                                      DesktopInhibitors::Service::screenSaver};

/// The screen saver only keeps the display on; the others also hold off
/// suspend, which both kinds want.
bool serves(DesktopInhibitors::Service service, PowerAssertionKind kind)
{
    return service != DesktopInhibitors::Service::screenSaver || kind == PowerAssertionKind::keepDisplayOn;
}

} // namespace

DesktopInhibitors::DesktopInhibitors(std::function<void(Handle, const QStringList&)> settled, QDBusConnection bus)
    : m_settled(std::move(settled))
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // Watched first, then listed: a service that comes or goes in between is
    // told by its signal, and taking one in twice does nothing.
    QStringList names;
    for (const Service service : allServices)
        names << endpointOf(service).name;
    auto* watcher =
        new QDBusServiceWatcher(QString(), m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    watcher->setWatchedServices(names);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &DesktopInhibitors::nameOwnerChanged);
    const QDBusMessage list =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(list), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return;
        for (const QString& name : reply.arguments().constFirst().toStringList()) {
            if (const auto service = serviceNamed(name))
                appeared(*service);
        }
    });
}

DesktopInhibitors::~DesktopInhibitors()
{
    while (!m_held.empty())
        release(m_held.begin()->first);
}

std::optional<DesktopInhibitors::Service> DesktopInhibitors::serviceNamed(const QString& name)
{
    for (const Service service : allServices) {
        if (endpointOf(service).name == name)
            return service;
    }
    return std::nullopt;
}

bool DesktopInhibitors::anyFor(PowerAssertionKind kind) const
{
    for (const Service service : m_present) {
        if (serves(service, kind))
            return true;
    }
    return false;
}

void DesktopInhibitors::take(Handle handle, PowerAssertionKind kind, const QString& reason, const QString& appName,
                             const QString& appId)
{
    Holding& holding = m_held[handle];
    holding = Holding{kind, reason, appName, appId, {}, {}, 0};
    for (const Service service : m_present) {
        if (serves(service, kind))
            ask(handle, holding, service);
    }
    settleIfDone(handle, holding);
}

void DesktopInhibitors::ask(Handle handle, Holding& holding, Service service)
{
    const Endpoint& endpoint = endpointOf(service);
    QDBusMessage call =
        QDBusMessage::createMethodCall(endpoint.name, endpoint.path, endpoint.interface, QStringLiteral("Inhibit"));
    call.setAutoStartService(false);
    if (service == Service::gnomeSession) {
        // Suspend (4), and idle (8) while the display is kept on.
        const uint32_t flags = holding.kind == PowerAssertionKind::keepDisplayOn ? 4 | 8 : 4;
        call << holding.appId << uint32_t(0) << holding.reason << flags;
    } else {
        call << holding.appName << holding.reason;
    }
    const uint64_t request = ++m_lastRequest;
    holding.asked[service] = Asked{request, {}, std::nullopt, false};
    ++holding.waiting;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, handle, service, request](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                answered(handle, service, request, w->reply());
            });
}

std::optional<uint32_t> DesktopInhibitors::cookieIn(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        reply.arguments().constFirst().metaType() != QMetaType::fromType<uint32_t>())
        return std::nullopt;
    return reply.arguments().constFirst().value<uint32_t>();
}

void DesktopInhibitors::answered(Handle handle, Service service, uint64_t request, const QDBusMessage& reply)
{
    const std::optional<uint32_t> cookie = cookieIn(reply);
    const auto held = m_held.find(handle);
    Asked* asked = nullptr;
    if (held != m_held.end()) {
        const auto it = held->second.asked.find(service);
        if (it != held->second.asked.end() && it->second.request == request)
            asked = &it->second;
    }
    if (!asked) {
        // Released (or asked anew) while the answer was on its way.
        if (cookie)
            giveBack(service, reply.service(), *cookie);
        return;
    }
    Holding& holding = held->second;
    asked->answered = true;
    --holding.waiting;
    if (cookie) {
        asked->owner = reply.service();
        asked->cookie = cookie;
        holding.taken << endpointOf(service).label;
    } else {
        Log::error(QStringLiteral("Awake: %1 refused the inhibitor (%2)")
                       .arg(endpointOf(service).name,
                            reply.type() == QDBusMessage::ErrorMessage ? reply.errorName()
                                                                       : QStringLiteral("no cookie in the answer")));
    }
    settleIfDone(handle, holding);
}

void DesktopInhibitors::settleIfDone(Handle handle, Holding& holding)
{
    if (holding.waiting == 0 && m_settled)
        m_settled(handle, holding.taken);
}

// Sent to the process that answered the cookie, so a service that was
// replaced meanwhile never hears a cookie of another's. Nobody waits for the
// answer.
void DesktopInhibitors::giveBack(Service service, const QString& owner, uint32_t cookie)
{
    const Endpoint& endpoint = endpointOf(service);
    QDBusMessage call = QDBusMessage::createMethodCall(owner.isEmpty() ? endpoint.name : owner, endpoint.path,
                                                       endpoint.interface, endpoint.uninhibit);
    call.setAutoStartService(false);
    call << cookie;
    m_bus.send(call);
}

void DesktopInhibitors::release(Handle handle)
{
    const auto it = m_held.find(handle);
    if (it == m_held.end())
        return;
    for (const auto& [service, asked] : it->second.asked) {
        if (asked.cookie)
            giveBack(service, asked.owner, *asked.cookie);
    }
    m_held.erase(it);
}

void DesktopInhibitors::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    const auto service = serviceNamed(name);
    if (!service)
        return;
    if (!oldOwner.isEmpty())
        vanished(*service);
    if (!newOwner.isEmpty())
        appeared(*service);
}

void DesktopInhibitors::appeared(Service service)
{
    if (!m_present.insert(service).second)
        return;
    for (auto& [handle, holding] : m_held) {
        if (serves(service, holding.kind) && !holding.asked.count(service))
            ask(handle, holding, service);
    }
}

// Its inhibitors went with it; one replaced by another process gives back
// what it still holds.
void DesktopInhibitors::vanished(Service service)
{
    m_present.erase(service);
    for (auto& [handle, holding] : m_held) {
        const auto asked = holding.asked.find(service);
        if (asked == holding.asked.end())
            continue;
        if (asked->second.cookie)
            giveBack(service, asked->second.owner, *asked->second.cookie);
        const bool awaited = !asked->second.answered;
        holding.taken.removeAll(endpointOf(service).label);
        holding.asked.erase(asked);
        if (awaited) {
            --holding.waiting;
            settleIfDone(handle, holding);
        }
    }
}

} // namespace quillon::platform::linux_
