#include "common/Desktop.h"
#include "common/FileManagerService.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/FileLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Reveal, TheDebugFileIsShownInTheFileManager)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir state;
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    quillon::testing::FileManagerService manager("file-manager");
    ASSERT_TRUE(manager.registered());
    {
        quillon::platform::linux_::LinuxPlatform linuxPlatform;
        quillon::platform::setPlatform(&linuxPlatform);
        quillon::FileLog::reveal();
        EXPECT_TRUE(quillon::testing::waitFor([&] { return !manager.shown.isEmpty(); }));
        EXPECT_EQ(manager.shown, QStringList{QUrl::fromLocalFile(quillon::FileLog::filePath()).toString()});
    }
    qputenv("XDG_STATE_HOME", saved);
}

} // namespace
