// A stand-in KDE Connect daemon on the session bus, for the desktop tests:
// `devices(onlyReachable, onlyPaired)` answers one paired, reachable device
// "phone" (none after the `unpair` command, which also emits
// `deviceListChanged`), and the device's `shareUrl(url)` prints
// "shareUrl <url>". Prints "ready" once its name is owned; ends with its
// standard input.

#include "TestDBusService.h"

namespace {

const QString daemonInterface = QStringLiteral("org.kde.kdeconnect.daemon");
const QString shareInterface = QStringLiteral("org.kde.kdeconnect.device.share");

class KdeConnect final : public QDBusVirtualObject {
public:
    bool paired = true;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        if (message.interface() == daemonInterface && message.member() == QLatin1String("devices")) {
            QDBusMessage reply = message.createReply();
            reply << (paired ? QStringList{QStringLiteral("phone")} : QStringList());
            connection.send(reply);
            return true;
        }
        if (message.interface() == shareInterface && message.member() == QLatin1String("shareUrl") &&
            message.path() == QLatin1String("/modules/kdeconnect/devices/phone/share") && args.size() == 1) {
            testservice::say(QStringLiteral("shareUrl ") + args[0].toString());
            connection.send(message.createReply());
            return true;
        }
        return false;
    }
    QString introspect(const QString&) const override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    KdeConnect daemon;
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/modules/kdeconnect"), &daemon, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.kde.kdeconnect")))
        return 1;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, stdin)) {
            app.quit();
            return;
        }
        if (QString::fromUtf8(buffer).trimmed() == QLatin1String("unpair")) {
            daemon.paired = false;
            bus.send(QDBusMessage::createSignal(QStringLiteral("/modules/kdeconnect"), daemonInterface,
                                                QStringLiteral("deviceListChanged")));
        }
        testservice::say(QStringLiteral("done ") + QString::fromUtf8(buffer).trimmed());
    });
    testservice::say(QStringLiteral("ready"));
    return app.exec();
}
