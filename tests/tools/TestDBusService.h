#pragma once

// The common part of the test services: objects with properties served
// through org.freedesktop.DBus.Properties (Get, GetAll, PropertiesChanged),
// signals of org.freedesktop.DBus.ObjectManager, and commands read line by
// line from standard input. Each service prints "ready" once its name is
// owned, and one line per method call it is asked that is not a property
// read ("call <member>").

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace testservice {

using Interfaces = QMap<QString, QVariantMap>;

inline void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class Objects final : public QDBusVirtualObject {
public:
    explicit Objects(QDBusConnection bus)
        : m_bus(std::move(bus))
    {
        qDBusRegisterMetaType<Interfaces>();
    }

    /// Adds or replaces an object; tells the object manager's listeners.
    void add(const QString& path, const Interfaces& interfaces, bool announce)
    {
        m_objects[path] = interfaces;
        if (!announce)
            return;
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/"), kObjectManager,
                                                         QStringLiteral("InterfacesAdded"));
        signal << QVariant::fromValue(QDBusObjectPath(path)) << QVariant::fromValue(interfaces);
        m_bus.send(signal);
    }

    void set(const QString& path, const QString& interface, const QString& name, const QVariant& value)
    {
        m_objects[path][interface][name] = value;
        QDBusMessage signal =
            QDBusMessage::createSignal(path, kProperties, QStringLiteral("PropertiesChanged"));
        signal << interface << QVariantMap{{name, value}} << QStringList();
        m_bus.send(signal);
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        const Interfaces object = m_objects.value(message.path());
        QDBusMessage reply = message.createReply();
        if (message.interface() == kProperties && message.member() == QLatin1String("Get") &&
            args.size() == 2) {
            const QVariantMap properties = object.value(args[0].toString());
            if (!properties.contains(args[1].toString())) {
                connection.send(
                    message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                             QStringLiteral("no such property")));
                return true;
            }
            reply << QVariant::fromValue(QDBusVariant(properties.value(args[1].toString())));
        } else if (message.interface() == kProperties && message.member() == QLatin1String("GetAll") &&
                   args.size() == 1) {
            reply << object.value(args[0].toString());
        } else if (message.interface() == kObjectManager &&
                   message.member() == QLatin1String("GetManagedObjects")) {
            QDBusArgument all;
            all.beginMap(QMetaType::fromType<QDBusObjectPath>(), QMetaType::fromType<Interfaces>());
            for (auto it = m_objects.begin(); it != m_objects.end(); ++it) {
                all.beginMapEntry();
                all << QDBusObjectPath(it.key()) << it.value();
                all.endMapEntry();
            }
            all.endMap();
            reply << QVariant::fromValue(all);
        } else if (message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable")) {
            return false;
        } else {
            say(QStringLiteral("call ") + message.member());
        }
        if (replyDelayMs > 0) {
            QTimer::singleShot(replyDelayMs,
                               [connection, reply] { QDBusConnection(connection).send(reply); });
            return true;
        }
        connection.send(reply);
        return true;
    }

    /// How long every answer waits, for a service slow to answer.
    int replyDelayMs = 0;

    QString introspect(const QString&) const override { return {}; }

private:
    static inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
    static inline const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");

    QDBusConnection m_bus;
    QMap<QString, Interfaces> m_objects;
};

/// Serves `objects` under `name` and runs `command` for every line of
/// standard input; the service ends with its input.
inline int run(QCoreApplication& app, QDBusConnection bus, const QString& name, Objects& objects,
               const std::function<void(const QStringList& words)>& command)
{
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/"), &objects, QDBusConnection::SubPath))
        return 1;
    if (!bus.registerService(name))
        return 1;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[1024];
        if (!std::fgets(buffer, sizeof buffer, stdin)) {
            app.quit();
            return;
        }
        const QStringList words =
            QString::fromUtf8(buffer).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty())
            command(words);
        say(QStringLiteral("done ") + words.value(0));
    });
    say(QStringLiteral("ready"));
    return app.exec();
}

/// For a service that takes no commands: says "ready" and runs until its
/// standard input ends.
inline int runUntilInputEnds(QCoreApplication& app)
{
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, stdin))
            app.quit();
    });
    say(QStringLiteral("ready"));
    return app.exec();
}

} // namespace testservice
