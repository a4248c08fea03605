// A stand-in notification server for the desktop tests. It owns
// org.freedesktop.Notifications on the session bus and prints one line on
// standard output for everything it is asked:
//   ready
//   notify <id> replaces=<id> summary=<text> body=<text>
//   expire <id> <expire_timeout>
//   close <id>
// With --markup it advertises body markup, as most desktop servers do.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class Server final : public QDBusVirtualObject {
public:
    explicit Server(bool markup)
        : m_markup(markup)
    {
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != kInterface)
            return false;
        const QVariantList args = message.arguments();
        const QString member = message.member();
        QDBusMessage reply = message.createReply();
        if (member == QLatin1String("Notify") && args.size() == 8) {
            const uint replaces = args[1].toUInt();
            const uint id = replaces ? replaces : ++m_last;
            say(QStringLiteral("notify %1 replaces=%2 summary=%3 body=%4")
                    .arg(id)
                    .arg(replaces)
                    .arg(args[3].toString(), args[4].toString()));
            say(QStringLiteral("expire %1 %2").arg(id).arg(args[7].toInt()));
            reply << id;
        } else if (member == QLatin1String("CloseNotification") && args.size() == 1) {
            const uint id = args[0].toUInt();
            say(QStringLiteral("close %1").arg(id));
            QDBusMessage closed =
                QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("NotificationClosed"));
            closed << id << 3u;
            connection.send(closed);
        } else if (member == QLatin1String("GetCapabilities")) {
            QStringList caps{QStringLiteral("body")};
            if (m_markup)
                caps << QStringLiteral("body-markup");
            reply << caps;
        } else if (member == QLatin1String("GetServerInformation")) {
            reply << QStringLiteral("quillon-test-notifications") << QStringLiteral("Quillon")
                  << QStringLiteral("1") << QStringLiteral("1.2");
        } else {
            return false;
        }
        connection.send(reply);
        return true;
    }

    QString introspect(const QString&) const override { return {}; }

private:
    bool m_markup = false;
    uint m_last = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Server server(app.arguments().contains(QStringLiteral("--markup")));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerVirtualObject(kPath, &server, QDBusConnection::SingleNode))
        return 1;
    const auto claimed = bus.interface()->registerService(QStringLiteral("org.freedesktop.Notifications"),
                                                          QDBusConnectionInterface::DontQueueService);
    if (!claimed.isValid() || claimed.value() != QDBusConnectionInterface::ServiceRegistered)
        return 1;
    say(QStringLiteral("ready"));
    return app.exec();
}
