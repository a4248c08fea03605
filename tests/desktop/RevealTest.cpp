#include "common/Desktop.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/FileLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/// Stands in for the desktop's file manager on the session bus.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown += uris; }
};

TEST(Reveal, TheDebugFileIsShownInTheFileManager)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir state;
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    // A connection of its own, so the call really travels through the bus.
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "file-manager");
    FileManager manager;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    {
        quillon::platform::linux_::LinuxPlatform linuxPlatform;
        quillon::platform::setPlatform(&linuxPlatform);
        quillon::FileLog::reveal();
        EXPECT_TRUE(quillon::testing::waitFor([&] { return !manager.shown.isEmpty(); }));
        EXPECT_EQ(manager.shown, QStringList{QUrl::fromLocalFile(quillon::FileLog::filePath()).toString()});
    }
    bus.unregisterService("org.freedesktop.FileManager1");
    QDBusConnection::disconnectFromBus("file-manager");
    qputenv("XDG_STATE_HOME", saved);
}

} // namespace

#include "RevealTest.moc"
