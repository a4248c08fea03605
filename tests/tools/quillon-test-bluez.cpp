// A stand-in BlueZ on the system bus (DBUS_SYSTEM_BUS_ADDRESS), for the
// desktop tests. Commands on standard input:
//   add <address> <percent> <name words…>   a paired device, not connected,
//                                            with a battery
//   connect <address>     disconnect <address>
//   rename <address> <name words…>           a new alias

#include "TestDBusService.h"

namespace {

QString pathOf(const QString& address)
{
    return QStringLiteral("/org/bluez/hci0/dev_") +
           QString(address).replace(QLatin1Char(':'), QLatin1Char('_'));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    testservice::Objects objects(bus);
    const QString device = QStringLiteral("org.bluez.Device1");
    return testservice::run(app, bus, QStringLiteral("org.bluez"), objects, [&](const QStringList& words) {
        const QString command = words.first();
        const QString address = words.value(1);
        if (command == QLatin1String("add")) {
            const QString name = words.mid(3).join(QLatin1Char(' '));
            objects.add(
                pathOf(address),
                {{device,
                  {{QStringLiteral("Address"), address},
                   {QStringLiteral("Name"), name},
                   {QStringLiteral("Alias"), name},
                   {QStringLiteral("Connected"), false}}},
                 {QStringLiteral("org.bluez.Battery1"),
                  {{QStringLiteral("Percentage"), QVariant::fromValue(uchar(words.value(2).toUInt()))}}}},
                true);
        } else if (command == QLatin1String("rename")) {
            objects.set(pathOf(address), device, QStringLiteral("Alias"),
                        words.mid(2).join(QLatin1Char(' ')));
        } else if (command == QLatin1String("connect") || command == QLatin1String("disconnect")) {
            objects.set(pathOf(address), device, QStringLiteral("Connected"),
                        command == QLatin1String("connect"));
        }
    });
}
