#include "platform/linux/UPowerSources.h"

#include "platform/linux/DBusValues.h"
#include "platform/linux/SysfsPowerSupply.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
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
// A reading is asked while a chip waits for it: a stuck service must not
// hold the desktop for long.
constexpr int kCallTimeoutMs = 1000;

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

std::optional<QVariantMap> getAll(const QString& path, const QString& interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    call << interface;
    const QDBusMessage reply = bus().call(call, QDBus::Block, kCallTimeoutMs);
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

bool UPowerSources::upowerRunning() const
{
    const QDBusConnection connection = bus();
    return connection.isConnected() && connection.interface() &&
           connection.interface()->isServiceRegistered(kService).value();
}

std::optional<BatteryReading> UPowerSources::internalBattery()
{
    if (upowerRunning())
        return readUPower();
    return SysfsPowerSupply::read(m_sysfsRoot);
}

// No internal battery: the display device is absent, not present, or is not
// a battery (a desktop computer on a UPS, say).
std::optional<BatteryReading> UPowerSources::readUPower() const
{
    const auto device = getAll(kDisplayDevice, kDeviceInterface);
    if (!device || DBusValues::plain(device->value(QStringLiteral("Type"))).toUInt() != kBatteryType ||
        !DBusValues::plain(device->value(QStringLiteral("IsPresent"))).toBool())
        return std::nullopt;
    const auto daemon = getAll(kPath, kService);
    BatteryReading reading;
    reading.isOnBattery = daemon && DBusValues::plain(daemon->value(QStringLiteral("OnBattery"))).toBool();
    reading.percent = DBusValues::plain(device->value(QStringLiteral("Percentage"))).toDouble();
    return reading;
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
        connect(m_serviceWatcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
            choosePolling();
            m_handlers.notify();
        });
        connect(m_serviceWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
            choosePolling();
            m_handlers.notify();
        });
    }
    choosePolling();
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
    if (upowerRunning()) {
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
    m_handlers.notify();
}

} // namespace quillon::platform::linux_
