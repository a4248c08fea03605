// A stand-in org.kde.StatusNotifierWatcher on the session bus, for the
// desktop tests: items register with RegisterStatusNotifierItem (a path,
// taken with the caller's unique name, or a bus name) and are dropped when
// their connection goes. Prints "ready", then "registered <entry>" and
// "unregistered <entry>". Commands on standard input: none (it ends with it).

#include "TestDBusService.h"

#include <QDBusServiceWatcher>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierWatcher");

class Watcher final : public QDBusVirtualObject {
public:
    explicit Watcher(QDBusConnection bus)
        : m_bus(bus)
        , m_owners(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
    {
        QObject::connect(&m_owners, &QDBusServiceWatcher::serviceUnregistered, &m_owners,
                         [this](const QString& name) {
                             for (const QString& entry : QStringList(m_items)) {
                                 if (entry.section(QLatin1Char('/'), 0, 0) == name)
                                     drop(entry);
                             }
                         });
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QDBusMessage reply = message.createReply();
        const QVariantList args = message.arguments();
        if (message.member() == QLatin1String("RegisterStatusNotifierItem") && args.size() == 1) {
            const QString service = args[0].toString();
            const QString entry = service.startsWith(QLatin1Char('/'))
                                      ? message.service() + service
                                      : service + QStringLiteral("/StatusNotifierItem");
            if (!m_items.contains(entry)) {
                m_items << entry;
                m_owners.addWatchedService(entry.section(QLatin1Char('/'), 0, 0));
                emitSignal(QStringLiteral("StatusNotifierItemRegistered"), entry);
                testservice::say(QStringLiteral("registered ") + entry);
            }
        } else if (message.member() == QLatin1String("Get") && args.size() == 2) {
            reply << QVariant::fromValue(QDBusVariant(property(args[1].toString())));
        } else if (message.member() == QLatin1String("GetAll")) {
            reply << QVariantMap{{QStringLiteral("RegisteredStatusNotifierItems"), m_items},
                                 {QStringLiteral("IsStatusNotifierHostRegistered"), true},
                                 {QStringLiteral("ProtocolVersion"), 0}};
        } else if (message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable")) {
            return false;
        }
        connection.send(reply);
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

private:
    QVariant property(const QString& name) const
    {
        if (name == QLatin1String("RegisteredStatusNotifierItems"))
            return m_items;
        if (name == QLatin1String("IsStatusNotifierHostRegistered"))
            return true;
        return 0;
    }
    void emitSignal(const QString& name, const QString& entry)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kWatcher, name);
        signal << entry;
        m_bus.send(signal);
    }
    void drop(const QString& entry)
    {
        m_items.removeAll(entry);
        emitSignal(QStringLiteral("StatusNotifierItemUnregistered"), entry);
        testservice::say(QStringLiteral("unregistered ") + entry);
    }

    QDBusConnection m_bus;
    QDBusServiceWatcher m_owners;
    QStringList m_items;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher(bus);
    if (!bus.isConnected() || !bus.registerVirtualObject(kPath, &watcher) || !bus.registerService(kWatcher))
        return 1;
    return testservice::runUntilInputEnds(app);
}
