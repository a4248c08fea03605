#include "platform/linux/UDisksVolumes.h"

#include "platform/linux/DBusValues.h"
#include "support/Log.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

namespace quillon::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

bool sameVolumes(const std::vector<Volume>& a, const std::vector<Volume>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Volume& x, const Volume& y) {
        return x.mountPoint == y.mountPoint && x.hidden == y.hidden && x.internal == y.internal;
    });
}

} // namespace

UDisksVolumes::UDisksVolumes() = default;

UDisksVolumes::~UDisksVolumes()
{
    if (!m_watching)
        return;
    bus().disconnect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QDBusMessage)));
    bus().disconnect(kService, QString(), kObjectManager, QStringLiteral("InterfacesAdded"), this,
                     SLOT(interfacesAdded(QDBusMessage)));
    bus().disconnect(kService, QString(), kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                     SLOT(interfacesRemoved(QDBusMessage)));
}

void UDisksVolumes::startWatching()
{
    if (m_watching)
        return;
    m_watching = true;
    if (!bus().isConnected()) {
        m_loggedAbsent = true;
        Log::info(QStringLiteral("Volumes: no system bus, so no mounted drives are known"));
        return;
    }
    bus().connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QDBusMessage)));
    bus().connect(kService, QString(), kObjectManager, QStringLiteral("InterfacesAdded"), this,
                  SLOT(interfacesAdded(QDBusMessage)));
    bus().connect(kService, QString(), kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                  SLOT(interfacesRemoved(QDBusMessage)));
    auto* watcher = new QDBusServiceWatcher(kService, bus(), QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &UDisksVolumes::ownerChanged);
    askForObjects();
}

// Asked once, and again when UDisks2 (re)starts; an answer to an older
// question is dropped.
void UDisksVolumes::askForObjects()
{
    const int generation = ++m_generation;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kRoot, kObjectManager, QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            if (generation != m_generation)
                return;
            const QDBusMessage reply = w->reply();
            if (reply.type() != QDBusMessage::ReplyMessage) {
                if (!m_loggedAbsent)
                    Log::info(
                        QStringLiteral("Volumes: UDisks2 did not answer (%1), so no mounted drives are known")
                            .arg(reply.errorName()));
                m_loggedAbsent = true;
                return;
            }
            const std::vector<Volume> before = volumesOf(m_filesystems);
            if (!reply.arguments().isEmpty()) {
                const auto objects = DBusValues::objects(reply.arguments().constFirst());
                for (auto it = objects.begin(); it != objects.end(); ++it)
                    take(it.key(), it.value());
            }
            changedFrom(before);
        });
}

void UDisksVolumes::ownerChanged(const QString&, const QString&, const QString& newOwner)
{
    const std::vector<Volume> before = volumesOf(m_filesystems);
    m_filesystems.clear();
    ++m_generation;
    if (!newOwner.isEmpty())
        askForObjects();
    changedFrom(before);
}

std::vector<Volume> UDisksVolumes::mounted()
{
    startWatching();
    return volumesOf(m_filesystems);
}

std::optional<int> UDisksVolumes::addChangeHandler(std::function<void()> handler)
{
    startWatching();
    return m_handlers.add(std::move(handler));
}

void UDisksVolumes::removeChangeHandler(int token)
{
    m_handlers.remove(token);
}

std::vector<Volume> UDisksVolumes::volumesOf(const std::map<QString, Filesystem>& filesystems)
{
    std::vector<Volume> volumes;
    for (const auto& entry : filesystems) {
        const Filesystem& fs = entry.second;
        if (!fs.isFilesystem)
            continue;
        for (const QByteArray& point : fs.mountPoints)
            volumes.push_back(Volume{QString::fromLocal8Bit(point), fs.hidden, fs.internal});
    }
    return volumes;
}

void UDisksVolumes::changedFrom(const std::vector<Volume>& before)
{
    if (!sameVolumes(before, volumesOf(m_filesystems)))
        m_handlers.notify();
}

void UDisksVolumes::take(const QString& path, const QMap<QString, QVariantMap>& interfaces)
{
    const bool block = interfaces.contains(kBlock);
    const bool filesystem = interfaces.contains(kFilesystem);
    if (!block && !filesystem)
        return;
    Filesystem& fs = m_filesystems[path];
    if (block) {
        const QVariantMap& properties = interfaces[kBlock];
        if (properties.contains(QStringLiteral("HintIgnore")))
            fs.hidden = DBusValues::plain(properties.value(QStringLiteral("HintIgnore"))).toBool();
        if (properties.contains(QStringLiteral("HintSystem"))) {
            const QVariant system = DBusValues::plain(properties.value(QStringLiteral("HintSystem")));
            fs.internal =
                system.userType() == QMetaType::Bool ? std::optional<bool>(system.toBool()) : std::nullopt;
        }
    }
    if (filesystem) {
        fs.isFilesystem = true;
        const QVariantMap& properties = interfaces[kFilesystem];
        if (properties.contains(QStringLiteral("MountPoints")))
            fs.mountPoints = DBusValues::byteStrings(properties.value(QStringLiteral("MountPoints")));
    }
}

void UDisksVolumes::propertiesChanged(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const QString interface = DBusValues::plain(args[0]).toString();
    if ((interface != kBlock && interface != kFilesystem) || !m_filesystems.count(message.path()))
        return;
    const std::vector<Volume> before = volumesOf(m_filesystems);
    take(message.path(), {{interface, DBusValues::map(args[1])}});
    changedFrom(before);
}

void UDisksVolumes::interfacesAdded(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const std::vector<Volume> before = volumesOf(m_filesystems);
    take(DBusValues::path(args[0]), DBusValues::interfaces(args[1]));
    changedFrom(before);
}

void UDisksVolumes::interfacesRemoved(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const auto it = m_filesystems.find(DBusValues::path(args[0]));
    if (it == m_filesystems.end())
        return;
    const std::vector<Volume> before = volumesOf(m_filesystems);
    const QStringList gone = DBusValues::plain(args[1]).toStringList();
    if (gone.contains(kBlock)) {
        m_filesystems.erase(it);
    } else if (gone.contains(kFilesystem)) {
        it->second.isFilesystem = false;
        it->second.mountPoints.clear();
    }
    changedFrom(before);
}

} // namespace quillon::platform::linux_
