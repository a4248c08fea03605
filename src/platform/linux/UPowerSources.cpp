#include "platform/linux/UPowerSources.h"

#include "platform/linux/DBusValues.h"
#include "platform/linux/SysfsPowerSupply.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

namespace quillon::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UPower");
const QString kPath = QStringLiteral("/org/freedesktop/UPower");
const QString kDisplayDevice = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.UPower.Device");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// UPower's device type of a battery.
constexpr uint kBatteryType = 2;
// A service that never answers is given up on after this long.
constexpr int kCallTimeoutMs = 5000;

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

QDBusPendingCall getAll(const QString& path, const QString& interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    call << interface;
    return bus().asyncCall(call, kCallTimeoutMs);
}

std::optional<QVariantMap> properties(const QDBusPendingCall& call)
{
    const QDBusMessage reply = call.reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return DBusValues::map(reply.arguments().constFirst());
}

} // namespace

UPowerSources::UPowerSources(QString sysfsRoot)
    : m_sysfsRoot(std::move(sysfsRoot))
{
    m_poll.setInterval(pollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &UPowerSources::pollSysfs);
}

UPowerSources::~UPowerSources()
{
    stopWatching();
}

std::optional<BatteryReading> UPowerSources::internalBattery()
{
    if (!m_upower) {
        askRunning();
        return m_reading;
    }
    if (!*m_upower)
        return SysfsPowerSupply::read(m_sysfsRoot);
    // Watched, the reading follows every change already.
    if (!m_watching)
        refresh();
    return m_reading;
}

void UPowerSources::askRunning()
{
    if (m_askingRunning)
        return;
    const QDBusConnection connection = bus();
    if (!connection.isConnected()) {
        runningKnown(false);
        return;
    }
    m_askingRunning = true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                       QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"))
        << kService;
    auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        m_askingRunning = false;
        const QDBusMessage reply = w->reply();
        runningKnown(reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                     reply.arguments().constFirst().toBool());
    });
}

void UPowerSources::runningKnown(bool running)
{
    const bool changed = m_upower != running;
    m_upower = running;
    if (!running)
        m_reading.reset();
    if (m_watching)
        choosePolling();
    if (running)
        refresh();
    else if (changed)
        m_handlers.notify();
}

void UPowerSources::refresh()
{
    const uint64_t generation = ++m_asked;
    const QDBusPendingCall device = getAll(kDisplayDevice, kDeviceInterface);
    const QDBusPendingCall daemon = getAll(kPath, kService);
    // Both answers, whichever comes last.
    auto* watcher = new QDBusPendingCallWatcher(daemon, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, device](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingCall daemonCall = *w;
                auto* deviceWatcher = new QDBusPendingCallWatcher(device, this);
                const auto finish = [this, generation, daemonCall](QDBusPendingCallWatcher* dw) {
                    dw->deleteLater();
                    take(generation, properties(*dw), properties(daemonCall));
                };
                if (deviceWatcher->isFinished())
                    finish(deviceWatcher);
                else
                    connect(deviceWatcher, &QDBusPendingCallWatcher::finished, this, finish);
            });
}

// No internal battery: the display device is absent, not present, or is not
// a battery (a desktop computer on a UPS, say).
void UPowerSources::take(uint64_t generation, const std::optional<QVariantMap>& device,
                         const std::optional<QVariantMap>& daemon)
{
    if (generation < m_taken)
        return;
    m_taken = generation;
    std::optional<BatteryReading> reading;
    if (device && DBusValues::plain(device->value(QStringLiteral("Type"))).toUInt() == kBatteryType &&
        DBusValues::plain(device->value(QStringLiteral("IsPresent"))).toBool()) {
        reading = BatteryReading{};
        reading->isOnBattery =
            daemon && DBusValues::plain(daemon->value(QStringLiteral("OnBattery"))).toBool();
        reading->percent = DBusValues::plain(device->value(QStringLiteral("Percentage"))).toDouble();
    }
    const bool changed = reading.has_value() != m_reading.has_value() ||
                         (reading && (reading->isOnBattery != m_reading->isOnBattery ||
                                      reading->percent != m_reading->percent));
    m_reading = reading;
    if (changed)
        m_handlers.notify();
}

std::optional<int> UPowerSources::addChangeHandler(std::function<void()> handler)
{
    const int token = m_handlers.add(std::move(handler));
    startWatching();
    return token;
}

void UPowerSources::removeChangeHandler(int token)
{
    m_handlers.remove(token);
    if (m_handlers.empty())
        stopWatching();
}

// Both the daemon (OnBattery) and the display device (Percentage) tell
// their changes; any path of the service is one of them.
void UPowerSources::startWatching()
{
    if (m_watching)
        return;
    m_watching = true;
    if (bus().isConnected()) {
        bus().connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                      SLOT(propertiesChanged()));
        m_serviceWatcher = new QDBusServiceWatcher(
            kService, bus(),
            QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
        connect(m_serviceWatcher, &QDBusServiceWatcher::serviceRegistered, this,
                [this] { runningKnown(true); });
        connect(m_serviceWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
                [this] { runningKnown(false); });
    }
    if (m_upower)
        runningKnown(*m_upower);
    askRunning();
}

void UPowerSources::stopWatching()
{
    if (!m_watching)
        return;
    m_watching = false;
    if (bus().isConnected())
        bus().disconnect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                         SLOT(propertiesChanged()));
    delete m_serviceWatcher;
    m_serviceWatcher = nullptr;
    m_poll.stop();
}

void UPowerSources::choosePolling()
{
    if (m_upower.value_or(false)) {
        m_poll.stop();
        return;
    }
    m_lastPolled = SysfsPowerSupply::read(m_sysfsRoot);
    m_poll.start();
}

void UPowerSources::pollSysfs()
{
    const auto now = SysfsPowerSupply::read(m_sysfsRoot);
    const bool changed =
        now.has_value() != m_lastPolled.has_value() ||
        (now && (now->isOnBattery != m_lastPolled->isOnBattery || now->percent != m_lastPolled->percent));
    m_lastPolled = now;
    if (changed)
        m_handlers.notify();
}

void UPowerSources::propertiesChanged()
{
    refresh();
}

} // namespace quillon::platform::linux_
