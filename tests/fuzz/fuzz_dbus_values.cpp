// Feeds fuzzer-built D-Bus values to the conversions the MPRIS, UPower,
// BlueZ and UDisks2 sources apply to what the bus delivers. The bus hands dictionaries
// over still in wire form (QDBusArgument), so each value travels first
// through a real message: this process sends it to itself over a private
// peer-to-peer connection. Beyond not crashing or hanging: a dictionary of
// properties, or of interfaces and their properties, unpacks to the keys
// that were sent, an object manager's objects to their paths and interfaces,
// and a list of byte strings to as many strings.

#include "platform/linux/DBusValues.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusServer>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QDir>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

using namespace quillon::platform::linux_;
using Interfaces = QMap<QString, QVariantMap>;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

/// Reads fuzzer bytes as a small tree of D-Bus values.
class Builder {
public:
    Builder(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    QVariant value(int depth = 0)
    {
        // The seeds were written for the first nine kinds; the later ones
        // come after them so the seeds keep their meaning.
        switch (byte() % (depth < 4 ? 11 : 6)) {
        case 0:
            return string();
        case 1:
            return QVariant::fromValue(qint32(word()));
        case 2:
            return QVariant::fromValue(quint32(word()));
        case 3: {
            double d = 0;
            const uint64_t bits = uint64_t(word()) << 32 | word();
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        case 4:
            return bool(byte() & 1);
        case 5: {
            QStringList list;
            for (int n = byte() % 5; n > 0; --n)
                list << string();
            return list;
        }
        case 6:
            return QVariant::fromValue(QDBusVariant(value(depth + 1)));
        case 7:
            return properties(depth + 1);
        case 8: {
            Interfaces interfaces;
            for (int n = byte() % 4; n > 0; --n)
                interfaces.insert(string(), properties(depth + 1));
            return QVariant::fromValue(interfaces);
        }
        case 9:
            return QVariant::fromValue(objects(depth + 1));
        default: {
            QList<QByteArray> list;
            for (int n = byte() % 5; n > 0; --n)
                list << string().toUtf8();
            return QVariant::fromValue(list);
        }
        }
    }

    /// The paths of the object manager's answer built last.
    QStringList lastObjectPaths;

private:
    uint8_t byte() { return m_size > 0 ? (--m_size, *m_data++) : 0; }
    uint32_t word()
    {
        return uint32_t(byte()) << 24 | uint32_t(byte()) << 16 | uint32_t(byte()) << 8 | byte();
    }

    QString string()
    {
        const size_t length = std::min<size_t>(byte() % 24, m_size);
        QString s = QString::fromUtf8(reinterpret_cast<const char*>(m_data), qsizetype(length));
        s.remove(QChar(0)); // a D-Bus string cannot carry one
        m_data += length;
        m_size -= length;
        return s;
    }

    /// An object manager's answer (a{oa{sa{sv}}}), built by hand: Qt has no
    /// map keyed by object paths.
    QDBusArgument objects(int depth)
    {
        QStringList paths;
        QDBusArgument argument;
        argument.beginMap(QMetaType::fromType<QDBusObjectPath>(), QMetaType::fromType<Interfaces>());
        for (int n = byte() % 4; n > 0; --n) {
            Interfaces interfaces;
            for (int i = byte() % 3; i > 0; --i)
                interfaces.insert(string(), properties(depth));
            argument.beginMapEntry();
            paths << QStringLiteral("/o%1").arg(n);
            argument << QDBusObjectPath(paths.last()) << interfaces;
            argument.endMapEntry();
        }
        argument.endMap();
        // The outermost is built last.
        lastObjectPaths = paths;
        return argument;
    }

    QVariantMap properties(int depth)
    {
        static const char* const names[] = {"PlaybackStatus", "Metadata",   "xesam:title", "xesam:artist",
                                            "Type",           "IsPresent",  "Percentage",  "OnBattery",
                                            "Alias",          "Name",       "Address",     "Connected",
                                            "MountPoints",    "HintSystem", "HintIgnore",  "HintAuto"};
        QVariantMap map;
        for (int n = byte() % 5; n > 0; --n) {
            const uint8_t pick = byte();
            const QString key = pick < 16 * 12 ? QString::fromLatin1(names[pick % 16]) : string();
            map.insert(key, QVariant::fromValue(QDBusVariant(value(depth))));
        }
        return map;
    }

    const uint8_t* m_data;
    size_t m_size;
};

/// Keeps the last message that reached the server's end.
class Inbox final : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        last = message;
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
    std::optional<QDBusMessage> last;
};

struct Loopback {
    Loopback()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        qDBusRegisterMetaType<Interfaces>();
        qDBusRegisterMetaType<QList<QByteArray>>();
        server = new QDBusServer(QStringLiteral("unix:tmpdir=") + QDir::tempPath());
        QObject::connect(server, &QDBusServer::newConnection, [this](const QDBusConnection& connection) {
            serverSide = connection;
            serverSide->registerVirtualObject(QStringLiteral("/fuzz"), &inbox);
        });
        client = QDBusConnection::connectToPeer(server->address(), QStringLiteral("fuzz-client"));
        const QDeadlineTimer deadline(5000);
        while (!serverSide && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        require(client->isConnected() && serverSide.has_value());
    }

    /// The value as the other end receives it, or none when it cannot be sent.
    std::optional<QVariant> roundTrip(const QVariant& value)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(QString(), QStringLiteral("/fuzz"),
                                           QStringLiteral("app.quillon.Fuzz"), QStringLiteral("Deliver"));
        message << QVariant::fromValue(QDBusVariant(value));
        message.setAutoStartService(false);
        inbox.last.reset();
        if (!client->send(message))
            return std::nullopt;
        const QDeadlineTimer deadline(5000);
        while (!inbox.last && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        require(inbox.last.has_value());
        require(!inbox.last->arguments().isEmpty());
        return inbox.last->arguments().constFirst();
    }

    QDBusServer* server = nullptr;
    std::optional<QDBusConnection> client;
    std::optional<QDBusConnection> serverSide;
    Inbox inbox;
};

/// What the sources read from a property value.
void readLikeTheSources(const QVariant& value)
{
    const QVariant plain = DBusValues::plain(value);
    plain.toString();
    plain.toStringList().join(QStringLiteral(", "));
    plain.toUInt();
    plain.toDouble();
    plain.toBool();
}

QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_dbus_values";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Loopback loopback;

    Builder builder(data, size);
    const QVariant sent = builder.value();
    const auto received = loopback.roundTrip(sent);
    if (!received)
        return 0;

    readLikeTheSources(*received);
    DBusValues::path(*received);
    const QList<QByteArray> byteStrings = DBusValues::byteStrings(*received);
    const auto objects = DBusValues::objects(*received);
    for (const auto& interfaces : objects) {
        for (const QVariantMap& each : interfaces) {
            for (const QVariant& property : each) {
                readLikeTheSources(property);
                DBusValues::byteStrings(property);
            }
        }
    }
    const QVariantMap properties = DBusValues::map(*received);
    for (const QVariant& property : properties) {
        readLikeTheSources(property);
        for (const QVariant& inner : DBusValues::map(property))
            readLikeTheSources(inner);
    }
    const Interfaces interfaces = DBusValues::interfaces(*received);
    for (const QVariantMap& each : interfaces) {
        for (const QVariant& property : each)
            readLikeTheSources(property);
    }

    const QVariant original = unwrapped(sent);
    if (original.userType() == QMetaType::QVariantMap)
        require(properties.keys() == original.toMap().keys());
    if (original.userType() == qMetaTypeId<QList<QByteArray>>())
        require(byteStrings.size() == original.value<QList<QByteArray>>().size());
    if (original.userType() == qMetaTypeId<QDBusArgument>()) {
        QStringList expected = builder.lastObjectPaths;
        expected.sort();
        require(objects.keys() == expected);
    }
    if (original.userType() == qMetaTypeId<Interfaces>()) {
        const Interfaces expected = original.value<Interfaces>();
        require(interfaces.keys() == expected.keys());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            require(interfaces.value(it.key()).keys() == it.value().keys());
    }
    return 0;
}
