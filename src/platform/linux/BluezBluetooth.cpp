#include "platform/linux/BluezBluetooth.h"

#include "platform/linux/DBusValues.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>

namespace quillon::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.bluez");
const QString kDevice = QStringLiteral("org.bluez.Device1");
const QString kBattery = QStringLiteral("org.bluez.Battery1");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
constexpr int kCallTimeoutMs = 1000;

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

} // namespace

BluezBluetooth::BluezBluetooth() = default;

BluezBluetooth::~BluezBluetooth()
{
    stopWatching();
}

bool BluezBluetooth::startWatching()
{
    if (m_watching)
        return true;
    if (!bus().isConnected())
        return false;
    m_watching = true;
    bus().connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QDBusMessage)));
    bus().connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesAdded"), this,
                  SLOT(interfacesAdded(QDBusMessage)));
    bus().connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                  SLOT(interfacesRemoved(QDBusMessage)));
    return true;
}

void BluezBluetooth::stopWatching()
{
    if (!m_watching)
        return;
    m_watching = false;
    bus().disconnect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QDBusMessage)));
    bus().disconnect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesAdded"), this,
                     SLOT(interfacesAdded(QDBusMessage)));
    bus().disconnect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                     SLOT(interfacesRemoved(QDBusMessage)));
    m_devices.clear();
    m_batteries.clear();
}

std::optional<int> BluezBluetooth::registerForConnects(DeviceHandler handler)
{
    if (!startWatching())
        return std::nullopt;
    return m_registrations.addConnect(std::move(handler));
}

std::optional<int> BluezBluetooth::registerForDisconnect(const QString& address, DeviceHandler handler)
{
    if (!startWatching())
        return std::nullopt;
    return m_registrations.addDisconnect(address, std::move(handler));
}

void BluezBluetooth::unregister(int token)
{
    m_registrations.remove(token);
    if (m_registrations.empty())
        stopWatching();
}

std::optional<QString> BluezBluetooth::pathOf(const QString& address) const
{
    const QString wanted = normalisedAddress(address);
    for (const auto& [path, device] : m_devices) {
        if (normalisedAddress(device.address) == wanted)
            return path;
    }
    return std::nullopt;
}

std::optional<int> BluezBluetooth::batteryPercent(const QString& address)
{
    const auto path = pathOf(address);
    if (!path)
        return std::nullopt;
    const auto it = m_batteries.find(*path);
    return it == m_batteries.end() ? std::nullopt : std::optional<int>(it->second);
}

void BluezBluetooth::readBattery(const QString& path)
{
    if (!bus().isConnected())
        return;
    QDBusMessage getAll =
        QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    getAll << kBattery;
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(getAll, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (!m_watching || reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return;
        const QVariantMap battery = DBusValues::map(reply.arguments().constFirst());
        bool ok = false;
        const int percent = DBusValues::plain(battery.value(QStringLiteral("Percentage"))).toInt(&ok);
        if (ok && battery.contains(QStringLiteral("Percentage")))
            m_batteries[path] = percent;
    });
}

void BluezBluetooth::propertiesChanged(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const QString path = message.path();
    const QVariantMap changed = DBusValues::map(args[1]);
    if (args[0].toString() == kBattery && changed.contains(QStringLiteral("Percentage"))) {
        m_batteries[path] = DBusValues::plain(changed.value(QStringLiteral("Percentage"))).toInt();
        return;
    }
    if (args[0].toString() != kDevice)
        return;
    if (m_devices.count(path)) {
        take(path, changed);
        return;
    }
    // A device not seen before: read it whole, then take it in. Only a change
    // of its connection is news: one that was connected before we watched and
    // now changes something else (its services, its alias) is taken in quietly,
    // as it is, so it is not reported as connecting.
    const bool report = changed.contains(QStringLiteral("Connected"));
    if (report)
        m_devices[path];
    // Asked first, so its answer is in before the device is reported.
    readBattery(path);
    QDBusMessage getAll =
        QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    getAll << kDevice;
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(getAll, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, report](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                if (m_watching && reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    take(path, DBusValues::map(reply.arguments().constFirst()), report);
            });
}

void BluezBluetooth::interfacesAdded(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const auto interfaces = DBusValues::interfaces(args[1]);
    const QString path = DBusValues::path(args[0]);
    if (const auto it = interfaces.find(kBattery);
        it != interfaces.end() && it->contains(QStringLiteral("Percentage")))
        m_batteries[path] = DBusValues::plain(it->value(QStringLiteral("Percentage"))).toInt();
    if (const auto it = interfaces.find(kDevice); it != interfaces.end())
        take(path, *it);
}

void BluezBluetooth::interfacesRemoved(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const QStringList removed = DBusValues::plain(args[1]).toStringList();
    if (removed.contains(kBattery))
        m_batteries.erase(DBusValues::path(args[0]));
    if (!removed.contains(kDevice))
        return;
    const auto it = m_devices.find(DBusValues::path(args[0]));
    if (it == m_devices.end())
        return;
    Device gone = it->second;
    m_devices.erase(it);
    if (gone.connected) {
        gone.connected = false;
        connectedChanged(gone);
    }
}

// The alias is the name a person gave the device, else its own name.
void BluezBluetooth::take(const QString& path, const QVariantMap& properties, bool report)
{
    const bool known = m_devices.count(path) > 0;
    Device& device = m_devices[path];
    const bool wasConnected = known && device.connected;
    if (properties.contains(QStringLiteral("Alias")))
        device.name = DBusValues::plain(properties.value(QStringLiteral("Alias"))).toString();
    else if (properties.contains(QStringLiteral("Name")) && device.name.isEmpty())
        device.name = DBusValues::plain(properties.value(QStringLiteral("Name"))).toString();
    if (properties.contains(QStringLiteral("Address")))
        device.address = DBusValues::plain(properties.value(QStringLiteral("Address"))).toString();
    if (properties.contains(QStringLiteral("Connected")))
        device.connected = DBusValues::plain(properties.value(QStringLiteral("Connected"))).toBool();
    if (device.connected && !wasConnected && !m_batteries.count(path))
        readBattery(path);
    if (report && device.connected != wasConnected)
        connectedChanged(device);
}

void BluezBluetooth::connectedChanged(const Device& device)
{
    const BluetoothDevice reported{device.name, device.address};
    if (device.connected)
        m_registrations.connected(reported);
    else
        m_registrations.disconnected(reported);
}

} // namespace quillon::platform::linux_
