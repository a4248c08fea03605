#include "common/Desktop.h"
#include "permissions/NotificationPermission.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Notifier.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Our notification server on the private session bus, and what it was told.
class NotificationServer {
public:
    explicit NotificationServer(const QStringList& arguments = {})
    {
        m_process.start(QUILLON_TEST_BIN_DIR "/quillon-test-notifications", arguments);
        started = waitForLine("ready");
    }
    ~NotificationServer() { stop(); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    bool waitForLine(const QString& line)
    {
        return quillon::testing::waitFor([&] {
            while (m_process.canReadLine())
                lines << QString::fromUtf8(m_process.readLine()).trimmed();
            return lines.contains(line);
        });
    }

    bool started = false;
    QStringList lines;

private:
    QProcess m_process;
};

class NotificationsTest : public ::testing::Test {
protected:
    void SetUp() override { QUILLON_REQUIRE_DESKTOP(); }

    std::optional<NotificationPermission::Status> currentStatus()
    {
        std::optional<NotificationPermission::Status> status;
        NotificationPermission::status([&](auto s) { status = s; });
        quillon::testing::waitFor([&] { return status.has_value(); });
        return status;
    }

    platform::linux_::LinuxPlatform linuxPlatform;
};

TEST_F(NotificationsTest, PostsReachTheServerAndReplaceOneAnother)
{
    platform::setPlatform(&linuxPlatform);
    NotificationServer server;
    ASSERT_TRUE(server.started);

    Notifier::post("accessibility-lost", "Accessibility lost", "Quillon can no longer see keys");
    EXPECT_TRUE(server.waitForLine(
        "notify 1 replaces=0 summary=Accessibility lost body=Quillon can no longer see keys"))
        << server.lines.join('\n').toStdString();
    Notifier::post("accessibility-lost", "Accessibility lost", "Still missing");
    EXPECT_TRUE(server.waitForLine("notify 1 replaces=1 summary=Accessibility lost body=Still missing"))
        << server.lines.join('\n').toStdString();

    // A second post sent before the first one's id came back still replaces it.
    Notifier::post("quick", "One", "first");
    Notifier::post("quick", "Two", "second");
    EXPECT_TRUE(server.waitForLine("notify 2 replaces=2 summary=Two body=second"))
        << server.lines.join('\n').toStdString();
    EXPECT_EQ(server.lines.filter("summary=One").size(), 1);

    Notifier::postTransient("awake-ended", "Keep-awake ended", "The timer ran out", 0.3);
    EXPECT_TRUE(server.waitForLine("notify 3 replaces=0 summary=Keep-awake ended body=The timer ran out"));
    EXPECT_TRUE(server.waitForLine("close 3")) << server.lines.join('\n').toStdString();
}

TEST_F(NotificationsTest, MarkupServersGetPlainTextEscaped)
{
    platform::setPlatform(&linuxPlatform);
    NotificationServer server({"--markup"});
    ASSERT_TRUE(server.started);
    Notifier::post("spaces-api-unavailable", "Workspaces", "a < b & c");
    EXPECT_TRUE(server.waitForLine("notify 1 replaces=0 summary=Workspaces body=a &lt; b &amp; c"))
        << server.lines.join('\n').toStdString();
}

TEST_F(NotificationsTest, GrantedWhileAServerRuns)
{
    platform::setPlatform(&linuxPlatform);
    {
        NotificationServer server;
        ASSERT_TRUE(server.started);
        EXPECT_EQ(currentStatus(), NotificationPermission::Status::granted);
    }
    EXPECT_EQ(currentStatus(), NotificationPermission::Status::denied);
}

} // namespace
