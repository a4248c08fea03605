#include "platform/linux/StatusNotifierPids.h"

#include "platform/linux/DBusValues.h"
#include "support/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

#include <algorithm>

namespace quillon::platform::linux_ {

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
} // namespace

StatusNotifierPids::StatusNotifierPids(std::function<void()> changed, QDBusConnection bus)
    : m_changed(std::move(changed))
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected()) {
        missing(QStringLiteral("no session bus"));
        return;
    }
    m_bus.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierItemRegistered"), this,
                  SLOT(itemRegistered(QString)));
    m_bus.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierItemUnregistered"), this,
                  SLOT(itemUnregistered(QString)));
    // A watcher that starts (or restarts) later brings its own list.
    m_watcher = new QDBusServiceWatcher(
        kWatcher, m_bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { readAll(); });
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        const bool had =
            std::any_of(m_items.begin(), m_items.end(), [](const auto& item) { return item.second; });
        m_items.clear();
        if (had && m_changed)
            m_changed();
    });
    readAll();
}

QString StatusNotifierPids::busName(const QString& entry)
{
    return entry.section(QLatin1Char('/'), 0, 0);
}

std::vector<int32_t> StatusNotifierPids::pids() const
{
    std::vector<int32_t> result;
    for (const auto& [entry, pid] : m_items) {
        if (pid > 0 && std::find(result.begin(), result.end(), pid) == result.end())
            result.push_back(pid);
    }
    return result;
}

void StatusNotifierPids::missing(const QString& why)
{
    if (m_loggedMissing)
        return;
    m_loggedMissing = true;
    Log::debug([&] { return QStringLiteral("StatusNotifierWatcher: no tray icon (%1)").arg(why); });
}

void StatusNotifierPids::readAll()
{
    const int generation = ++m_generation;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("RegisteredStatusNotifierItems");
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, generation] {
        call->deleteLater();
        if (generation != m_generation)
            return;
        const QDBusMessage reply = call->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            missing(reply.errorMessage().isEmpty() ? QStringLiteral("no answer") : reply.errorMessage());
            return;
        }
        const QVariant value = DBusValues::plain(reply.arguments().first());
        if (value.userType() != QMetaType::QStringList) {
            missing(QStringLiteral("unreadable item list"));
            return;
        }
        for (const QString& entry : value.toStringList())
            itemRegistered(entry);
    });
}

void StatusNotifierPids::itemRegistered(const QString& entry)
{
    const QString name = busName(entry);
    if (name.isEmpty() || m_items.count(entry))
        return;
    m_items[entry] = 0;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    ask << name;
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, entry] {
        call->deleteLater();
        const auto it = m_items.find(entry);
        if (it == m_items.end())
            return; // unregistered meanwhile
        const QDBusMessage reply = call->reply();
        bool ok = false;
        const uint pid = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                             ? reply.arguments().first().toUInt(&ok)
                             : 0;
        if (!ok || pid == 0 || pid > uint(INT32_MAX))
            return;
        it->second = int32_t(pid);
        if (m_changed)
            m_changed();
    });
}

void StatusNotifierPids::itemUnregistered(const QString& entry)
{
    const auto it = m_items.find(entry);
    if (it == m_items.end())
        return;
    const bool counted = it->second > 0;
    m_items.erase(it);
    if (counted && m_changed)
        m_changed();
}

} // namespace quillon::platform::linux_
