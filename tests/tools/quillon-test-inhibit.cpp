// Stand-ins for the desktop's inhibit services on the session bus, for the
// desktop tests. The arguments name which to own: "pm"
// (org.freedesktop.PowerManagement.Inhibit), "gnome"
// (org.gnome.SessionManager), "screensaver" (org.freedesktop.ScreenSaver).
//
// Each Inhibit prints "inhibit <service> <cookie> <arguments joined by |>"
// and each UnInhibit (Uninhibit for GNOME) "uninhibit <service> <cookie>".
// Commands on standard input:
//   delay <ms>                     Inhibit answers wait that long
//   answer cookie|error|malformed  how Inhibit answers (malformed: a string)
//   drop <service>  own <service>  gives up or takes a name again

#include "TestDBusService.h"

#include <map>
#include <memory>

namespace {

struct Endpoint {
    QString name, path, interface;
};

const std::map<QString, Endpoint>& endpoints()
{
    static const std::map<QString, Endpoint> all{
        {QStringLiteral("pm"),
         {QStringLiteral("org.freedesktop.PowerManagement.Inhibit"),
          QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
          QStringLiteral("org.freedesktop.PowerManagement.Inhibit")}},
        {QStringLiteral("gnome"),
         {QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
          QStringLiteral("org.gnome.SessionManager")}},
        {QStringLiteral("screensaver"),
         {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
          QStringLiteral("org.freedesktop.ScreenSaver")}},
    };
    return all;
}

class Inhibitors final : public QDBusVirtualObject {
public:
    explicit Inhibitors(QString service)
        : m_service(std::move(service))
    {
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const Endpoint& endpoint = endpoints().at(m_service);
        if (message.interface() != endpoint.interface)
            return false;
        const QVariantList args = message.arguments();
        if (message.member() == QLatin1String("Inhibit")) {
            const uint cookie = ++count;
            QStringList shown;
            for (const QVariant& arg : args)
                shown << arg.toString();
            testservice::say(QStringLiteral("inhibit %1 %2 %3").arg(m_service).arg(cookie).arg(shown.join('|')));
            QDBusMessage reply = message.createReply();
            if (answer == QLatin1String("error"))
                reply = message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                                                 QStringLiteral("not now"));
            else if (answer == QLatin1String("malformed"))
                reply << QStringLiteral("cookie");
            else
                reply << cookie;
            QTimer::singleShot(delayMs, [connection, reply] { QDBusConnection(connection).send(reply); });
            return true;
        }
        if (message.member().compare(QLatin1String("UnInhibit"), Qt::CaseInsensitive) == 0 && args.size() == 1) {
            testservice::say(QStringLiteral("uninhibit %1 %2").arg(m_service).arg(args.first().toUInt()));
            connection.send(message.createReply());
            return true;
        }
        return false;
    }
    QString introspect(const QString&) const override { return {}; }

    static inline uint count = 0;
    static inline int delayMs = 0;
    static inline QString answer = QStringLiteral("cookie");

private:
    QString m_service;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 1;
    std::map<QString, std::unique_ptr<Inhibitors>> objects;
    for (const auto& [service, endpoint] : endpoints()) {
        objects[service] = std::make_unique<Inhibitors>(service);
        if (!bus.registerVirtualObject(endpoint.path, objects[service].get()))
            return 1;
    }
    const QStringList owned = app.arguments().mid(1);
    for (const QString& service : owned) {
        if (!endpoints().count(service) || !bus.registerService(endpoints().at(service).name))
            return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, stdin)) {
            app.quit();
            return;
        }
        const QStringList words = QString::fromUtf8(buffer).trimmed().split(' ', Qt::SkipEmptyParts);
        const QString command = words.value(0);
        const QString value = words.value(1);
        if (command == QLatin1String("delay"))
            Inhibitors::delayMs = value.toInt();
        else if (command == QLatin1String("answer"))
            Inhibitors::answer = value;
        else if (command == QLatin1String("drop") && endpoints().count(value))
            bus.unregisterService(endpoints().at(value).name);
        else if (command == QLatin1String("own") && endpoints().count(value))
            bus.registerService(endpoints().at(value).name);
        testservice::say(QStringLiteral("done ") + command);
    });
    testservice::say(QStringLiteral("ready"));
    return app.exec();
}
