#include "platform/linux/LogindPowerAssertions.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>

#include <xcb/screensaver.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace quillon::platform::linux_ {

LogindPowerAssertions::LogindPowerAssertions()
    : m_x(X11Connection::open())
    , m_desktop(std::make_unique<DesktopInhibitors>([this](Handle handle, const QStringList& desktopTaken) {
        // Logged once every service asked has answered.
        const auto it = m_held.find(handle);
        if (it != m_held.end())
            logEffect((it->second.taken + desktopTaken).join(QStringLiteral(", ")));
    }))
{
}

LogindPowerAssertions::~LogindPowerAssertions()
{
    while (!m_held.empty())
        release(m_held.begin()->first);
}

LogindPowerAssertions::Inhibit LogindPowerAssertions::inhibit(const QString& reason, int& fd)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return Inhibit::absent;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle") << QString::fromLatin1(inhibitorName) << reason << QStringLiteral("block");
    const QDBusMessage reply = bus.call(call, QDBus::Block, inhibitTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QString error = reply.errorName();
        if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            return Inhibit::absent;
        Log::error(QStringLiteral("Awake: logind refused the inhibitor (%1)").arg(reply.errorMessage()));
        return Inhibit::refused;
    }
    const QVariantList args = reply.arguments();
    const auto descriptor =
        args.isEmpty() ? QDBusUnixFileDescriptor() : args.first().value<QDBusUnixFileDescriptor>();
    if (!descriptor.isValid()) {
        Log::error(QStringLiteral("Awake: logind answered the inhibitor without a file descriptor"));
        return Inhibit::refused;
    }
    // The reply owns its descriptor; ours lives as long as the assertion.
    fd = ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    return fd >= 0 ? Inhibit::taken : Inhibit::refused;
}

void LogindPowerAssertions::suspendScreenSaver(bool suspend)
{
    if (!m_x)
        return;
    // The server counts suspensions per client: each one here is undone once.
    xcb_screensaver_suspend(m_x->get(), suspend ? 1 : 0);
    m_x->flush();
}

void LogindPowerAssertions::logEffect(const QString& effect)
{
    if (effect == m_loggedEffect)
        return;
    m_loggedEffect = effect;
    if (effect.isEmpty())
        Log::error(QStringLiteral("Awake: every inhibitor was refused; nothing holds off sleep"));
    else
        Log::debug([&] { return QStringLiteral("Awake: holding off sleep through %1").arg(effect); });
}

std::variant<PowerAssertions::Handle, PowerAssertions::Refusal>
LogindPowerAssertions::create(PowerAssertionKind kind, const QString& reason)
{
    Held held;
    const Inhibit logind = inhibit(reason, held.inhibitFd);
    if (logind == Inhibit::refused)
        return Refusal{refusedByLogind};
    QStringList taken;
    if (logind == Inhibit::taken)
        taken << QStringLiteral("logind");
    if (kind == PowerAssertionKind::keepDisplayOn && m_x) {
        suspendScreenSaver(true);
        held.screenSaverSuspended = true;
        taken << QStringLiteral("the X screen saver");
    }
    if (taken.isEmpty() && !m_desktop->anyFor(kind))
        return Refusal{nothingToTake};
    const Handle handle = ++m_last;
    held.taken = taken;
    m_held[handle] = held;
    m_desktop->take(handle, kind, reason, QString::fromLatin1(inhibitorName), platform().buildInfo().appId);
    return handle;
}

void LogindPowerAssertions::release(Handle handle)
{
    const auto it = m_held.find(handle);
    if (it == m_held.end())
        return;
    if (it->second.inhibitFd >= 0)
        ::close(it->second.inhibitFd);
    if (it->second.screenSaverSuspended)
        suspendScreenSaver(false);
    m_desktop->release(handle);
    m_held.erase(it);
}

bool LogindPowerAssertions::othersIn(const QVariantList& reply, uint32_t ownPid)
{
    if (reply.size() != 1 || !reply.first().canConvert<QDBusArgument>())
        return false;
    const QDBusArgument list = reply.first().value<QDBusArgument>();
    if (list.currentSignature() != QLatin1String("a(ssssuu)"))
        return false;
    bool others = false;
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint32_t uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        if (what.split(QLatin1Char(':')).contains(QLatin1String("idle")) && mode == QLatin1String("block") &&
            pid != ownPid)
            others = true;
    }
    list.endArray();
    return others;
}

// A pending call: the answer comes later on the main thread; a timeout or an
// error reads as no inhibitor.
bool LogindPowerAssertions::gnomeOthersIn(const std::vector<std::pair<uint32_t, QString>>& inhibitors,
                                          const QStringList& ownIds)
{
    constexpr uint32_t inhibitsIdle = 8;
    return std::any_of(inhibitors.begin(), inhibitors.end(), [&](const auto& inhibitor) {
        return (inhibitor.first & inhibitsIdle) && !ownIds.contains(inhibitor.second);
    });
}

// GNOME keeps inhibitors of its own besides logind's: GetInhibitors, then
// each one's flags and app id, all as pending calls. Without GNOME, or on
// any error, it holds none.
void LogindPowerAssertions::refreshGnome()
{
    if (m_refreshingGnome)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_gnomeOthers = false;
        return;
    }
    m_refreshingGnome = true;
    const QString service = QStringLiteral("org.gnome.SessionManager");
    const QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/gnome/SessionManager"), service, QStringLiteral("GetInhibitors"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000));
    std::weak_ptr<bool> alive = m_alive;
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, [this, alive, service](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            if (!alive.lock())
                return;
            const QDBusMessage reply = w->reply();
            QList<QDBusObjectPath> paths;
            if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
                reply.arguments().first().canConvert<QDBusArgument>()) {
                const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
                if (list.currentSignature() == QLatin1String("ao"))
                    list >> paths;
            }
            if (paths.isEmpty()) {
                m_gnomeOthers = false;
                m_refreshingGnome = false;
                return;
            }
            struct Gathered {
                int pending = 0;
                std::vector<std::pair<uint32_t, QString>> inhibitors;
            };
            auto gathered = std::make_shared<Gathered>();
            gathered->inhibitors.resize(size_t(paths.size()));
            const QStringList ownIds{platform().buildInfo().appId, QString::fromLatin1(inhibitorName)};
            QDBusConnection session = QDBusConnection::sessionBus();
            const auto oneDone = [this, alive, gathered, ownIds] {
                if (!alive.lock() || --gathered->pending > 0)
                    return;
                m_gnomeOthers = gnomeOthersIn(gathered->inhibitors, ownIds);
                m_refreshingGnome = false;
            };
            // Each inhibitor's flags and app id, two calls apiece; a failed one
            // leaves its value empty, which counts for nothing.
            const auto ask = [&](const QString& path, const QString& method,
                                 std::function<void(const QVariant&)> take) {
                const QDBusMessage call = QDBusMessage::createMethodCall(
                    service, path, QStringLiteral("org.gnome.SessionManager.Inhibitor"), method);
                auto* watcher = new QDBusPendingCallWatcher(session.asyncCall(call, 2000));
                QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                                 [take, oneDone](QDBusPendingCallWatcher* w) {
                                     w->deleteLater();
                                     const QDBusMessage r = w->reply();
                                     if (r.type() == QDBusMessage::ReplyMessage && !r.arguments().isEmpty())
                                         take(r.arguments().first());
                                     oneDone();
                                 });
            };
            gathered->pending = 2 * int(paths.size());
            for (int i = 0; i < paths.size(); ++i) {
                ask(paths[i].path(), QStringLiteral("GetFlags"),
                    [gathered, i](const QVariant& v) { gathered->inhibitors[size_t(i)].first = v.toUInt(); });
                ask(paths[i].path(), QStringLiteral("GetAppId"), [gathered, i](const QVariant& v) {
                    gathered->inhibitors[size_t(i)].second = v.toString();
                });
            }
        });
}

void LogindPowerAssertions::refreshOthers()
{
    refreshGnome();
    if (m_refreshing)
        return;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        m_others = false;
        return;
    }
    m_refreshing = true;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000));
    std::weak_ptr<bool> alive = m_alive;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [this, alive](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (!alive.lock())
            return;
        m_refreshing = false;
        const QDBusMessage reply = w->reply();
        m_others =
            reply.type() == QDBusMessage::ReplyMessage && othersIn(reply.arguments(), uint32_t(::getpid()));
    });
}

} // namespace quillon::platform::linux_
