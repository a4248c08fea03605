// A stand-in UPower on the system bus (DBUS_SYSTEM_BUS_ADDRESS), for the
// desktop tests: a present battery as the display device, at 80 % and on
// mains power at start. Commands on standard input:
//   on-battery <true|false>     percent <number>
// With --reply-delay-ms <n>, every answer comes n milliseconds late.

#include "TestDBusService.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    testservice::Objects objects(bus);
    const QStringList arguments = app.arguments();
    if (const auto at = arguments.indexOf(QStringLiteral("--reply-delay-ms")); at > 0)
        objects.replyDelayMs = arguments.value(at + 1).toInt();
    const QString root = QStringLiteral("/org/freedesktop/UPower");
    const QString display = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
    const QString upower = QStringLiteral("org.freedesktop.UPower");
    const QString device = QStringLiteral("org.freedesktop.UPower.Device");
    objects.add(root, {{upower, {{QStringLiteral("OnBattery"), false}}}}, false);
    objects.add(display,
                {{device,
                  {{QStringLiteral("Type"), 2u},
                   {QStringLiteral("IsPresent"), true},
                   {QStringLiteral("Percentage"), 80.0}}}},
                false);
    return testservice::run(app, bus, upower, objects, [&](const QStringList& words) {
        if (words.first() == QLatin1String("on-battery"))
            objects.set(root, upower, QStringLiteral("OnBattery"), words.value(1) == QLatin1String("true"));
        else if (words.first() == QLatin1String("percent"))
            objects.set(display, device, QStringLiteral("Percentage"), words.value(1).toDouble());
    });
}
