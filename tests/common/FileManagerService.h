#pragma once

// The desktop's file manager, stood in for on the session bus. Include only
// from tests/desktop.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace quillon::testing {

/// Serves org.freedesktop.FileManager1 while it lives, on a connection of its
/// own so that calls really travel through the bus, and records what it is
/// asked to show.
class FileManagerService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    explicit FileManagerService(const QString& connectionName)
        : m_name(connectionName)
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
    {
        m_registered =
            m_bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), this,
                                 QDBusConnection::ExportAllSlots) &&
            m_bus.registerService(QStringLiteral("org.freedesktop.FileManager1"));
    }
    ~FileManagerService() override
    {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
        QDBusConnection::disconnectFromBus(m_name);
    }
    bool registered() const { return m_registered; }

    QStringList shown;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString&) { shown += uris; }

private:
    QString m_name;
    QDBusConnection m_bus;
    bool m_registered = false;
};

} // namespace quillon::testing
