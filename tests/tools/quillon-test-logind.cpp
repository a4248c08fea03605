// A stand-in logind on the system bus (DBUS_SYSTEM_BUS_ADDRESS), for the
// desktop tests: Inhibit(what, who, why, mode) answers the write end of a
// pipe and prints "inhibit <n> <what> <mode> <why>"; when the caller closes
// its end, it prints "released <n>". ListInhibitors answers the inhibitors
// given as arguments, each "--inhibitor what,mode,pid". Ends with its
// standard input.

#include "TestDBusService.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusUnixFileDescriptor>

#include <unistd.h>

struct Inhibitor {
    QString what, who, why, mode;
    uint uid = 0, pid = 0;
};
Q_DECLARE_METATYPE(Inhibitor)

QDBusArgument& operator<<(QDBusArgument& out, const Inhibitor& i)
{
    out.beginStructure();
    out << i.what << i.who << i.why << i.mode << i.uid << i.pid;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Inhibitor& i)
{
    in.beginStructure();
    in >> i.what >> i.who >> i.why >> i.mode >> i.uid >> i.pid;
    in.endStructure();
    return in;
}

namespace {

class Logind final : public QDBusVirtualObject {
public:
    QList<Inhibitor> inhibitors;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        if (message.member() == QLatin1String("ListInhibitors")) {
            QDBusMessage reply = message.createReply();
            reply << QVariant::fromValue(inhibitors);
            connection.send(reply);
            return true;
        }
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
    qDBusRegisterMetaType<Inhibitor>();
    qDBusRegisterMetaType<QList<Inhibitor>>();
    QDBusConnection bus = QDBusConnection::systemBus();
    Logind logind;
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != QLatin1String("--inhibitor"))
            continue;
        const QStringList parts = arguments[i + 1].split(QLatin1Char(','));
        logind.inhibitors.append({parts.value(0), QStringLiteral("test"), QStringLiteral("test"), parts.value(1),
                                  1000, parts.value(2).toUInt()});
    }
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &logind) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    return testservice::runUntilInputEnds(app);
}
