// A stand-in logind on the system bus (DBUS_SYSTEM_BUS_ADDRESS), for the
// desktop tests: Inhibit(what, who, why, mode) answers the write end of a
// pipe and prints "inhibit <n> <what> <mode> <why>"; when the caller closes
// its end, it prints "released <n>". Ends with its standard input.

#include "TestDBusService.h"

#include <QDBusUnixFileDescriptor>

#include <unistd.h>

namespace {

class Logind final : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        if (message.member() != QLatin1String("Inhibit") || args.size() != 4)
            return false;
        int fds[2];
        if (::pipe(fds) != 0) {
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"), "pipe"));
            return true;
        }
        const int n = ++m_count;
        testservice::say(QStringLiteral("inhibit %1 %2 %3 %4")
                             .arg(n)
                             .arg(args[0].toString(), args[3].toString(), args[2].toString()));
        // The read end hears the end of the caller's copy of the write end.
        auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, n, fd = fds[0]] {
            char buffer[16];
            if (::read(fd, buffer, sizeof buffer) > 0)
                return;
            testservice::say(QStringLiteral("released %1").arg(n));
            notifier->setEnabled(false);
            ::close(fd);
            notifier->deleteLater();
        });
        QDBusMessage reply = message.createReply();
        reply << QVariant::fromValue(QDBusUnixFileDescriptor(fds[1]));
        connection.send(reply);
        ::close(fds[1]); // the descriptor above holds its own copy
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

private:
    int m_count = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    Logind logind;
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &logind) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    return testservice::runUntilInputEnds(app);
}
