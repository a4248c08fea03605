// A stand-in UDisks2 on the system bus (DBUS_SYSTEM_BUS_ADDRESS), for the
// desktop tests. Commands on standard input:
//   add <name> <system 0|1> <ignore 0|1>   a block device with a filesystem,
//                                          not mounted (HintSystem, HintIgnore)
//   mount <name> <path>     unmount <name>
//   remove <name>                          the device goes (InterfacesRemoved)

#include "TestDBusService.h"

namespace {

QString pathOf(const QString& name)
{
    return QStringLiteral("/org/freedesktop/UDisks2/block_devices/") + name;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<QList<QByteArray>>();
    QDBusConnection bus = QDBusConnection::systemBus();
    testservice::Objects objects(bus);
    const QString block = QStringLiteral("org.freedesktop.UDisks2.Block");
    const QString filesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
    const auto mountPoints = [](const QList<QByteArray>& points) { return QVariant::fromValue(points); };
    return testservice::run(
        app, bus, QStringLiteral("org.freedesktop.UDisks2"), objects, [&](const QStringList& words) {
            const QString command = words.first();
            const QString name = words.value(1);
            if (command == QLatin1String("add")) {
                objects.add(pathOf(name),
                            {{block,
                              {{QStringLiteral("HintSystem"), words.value(2) == QLatin1String("1")},
                               {QStringLiteral("HintIgnore"), words.value(3) == QLatin1String("1")}}},
                             {filesystem, {{QStringLiteral("MountPoints"), mountPoints({})}}}},
                            true);
            } else if (command == QLatin1String("mount")) {
                // UDisks2 ends each mount point with a NUL.
                objects.set(pathOf(name), filesystem, QStringLiteral("MountPoints"),
                            mountPoints({words.value(2).toUtf8() + '\0'}));
            } else if (command == QLatin1String("unmount")) {
                objects.set(pathOf(name), filesystem, QStringLiteral("MountPoints"), mountPoints({}));
            } else if (command == QLatin1String("remove")) {
                QDBusMessage signal =
                    QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/UDisks2"),
                                               QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                               QStringLiteral("InterfacesRemoved"));
                signal << QVariant::fromValue(QDBusObjectPath(pathOf(name)))
                       << QStringList{block, filesystem};
                bus.send(signal);
            }
        });
}
