#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "permissions/NotificationPermission.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Notifier.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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

    bool waitForLine(const QString& line, int timeoutMs = 5000)
    {
        return quillon::testing::waitFor(
            [&] {
                while (m_process.canReadLine())
                    lines << QString::fromUtf8(m_process.readLine()).trimmed();
                return lines.contains(line);
            },
            timeoutMs);
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
    // Never left to the server's own timeout: a lasting notice stays until cleared.
    EXPECT_TRUE(server.waitForLine("expire 1 0")) << server.lines.join('\n').toStdString();
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
    EXPECT_TRUE(server.waitForLine("expire 3 0")) << server.lines.join('\n').toStdString();
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

// A real dunst on the private bus, with a configuration of its own.
class Dunst {
public:
    Dunst()
    {
        if (QStandardPaths::findExecutable("dunst").isEmpty() ||
            QStandardPaths::findExecutable("dunstctl").isEmpty())
            return;
        QFile config(m_dir.path() + "/dunstrc");
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("[global]\n    idle_threshold = 0\n    history_length = 50\n");
        config.close();
        m_process.start("dunst", {"-config", config.fileName()});
        started = m_process.waitForStarted(5000) &&
                  quillon::testing::waitFor([] { return !ctl({"is-paused"}).isEmpty(); }, 10000);
    }
    ~Dunst()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    static QString ctl(const QStringList& arguments)
    {
        return quillon::testing::run("dunstctl", arguments).trimmed();
    }
    static int displayed() { return ctl({"count", "displayed"}).toInt(); }

    /// The closed notifications, newest first: summary, body and timeout.
    static QJsonArray history()
    {
        const QJsonObject reply = QJsonDocument::fromJson(ctl({"history"}).toUtf8()).object();
        return reply.value("data").toArray().at(0).toArray();
    }
    static QString field(const QJsonValue& entry, const char* name)
    {
        const QJsonValue value = entry.toObject().value(name).toObject().value("data");
        return value.isString() ? value.toString() : QString::number(value.toDouble());
    }

    bool started = false;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

TEST_F(NotificationsTest, RealDunstShowsReplacesAndKeepsNotices)
{
    Dunst dunst;
    if (!dunst.started)
        GTEST_SKIP() << "dunst is not installed (scripts/install-deps installs it)";
    platform::setPlatform(&linuxPlatform);

    Notifier::postTransient("awake-ended", "Keep-awake ended", "first", 60);
    ASSERT_TRUE(quillon::testing::waitFor([] { return Dunst::displayed() == 1; }));
    Notifier::postTransient("awake-ended", "Keep-awake ended", "second", 60);
    Notifier::post("accessibility-lost", "Accessibility lost", "Quillon can no longer see keys");
    // The transient was replaced in place, not shown twice.
    ASSERT_TRUE(quillon::testing::waitFor([] { return Dunst::displayed() == 2; }))
        << "displayed: " << Dunst::displayed();

    // History lists only closed notifications.
    Dunst::ctl({"close-all"});
    QJsonArray entries;
    ASSERT_TRUE(quillon::testing::waitFor([&] {
        entries = Dunst::history();
        return entries.size() >= 2;
    }));
    QStringList shown;
    for (const QJsonValue& entry : entries) {
        shown << Dunst::field(entry, "summary") + " / " + Dunst::field(entry, "body") + " / timeout " +
                     Dunst::field(entry, "timeout");
    }
    EXPECT_TRUE(shown.contains("Keep-awake ended / second / timeout 0")) << shown.join('\n').toStdString();
    EXPECT_TRUE(shown.contains("Accessibility lost / Quillon can no longer see keys / timeout 0"))
        << shown.join('\n').toStdString();
    EXPECT_FALSE(shown.contains("Keep-awake ended / first / timeout 0")) << shown.join('\n').toStdString();
}

TEST_F(NotificationsTest, AWaylandSessionIsToldOnceToChooseX11)
{
    NotificationServer server;
    ASSERT_TRUE(server.started);
    QTemporaryDir home;
    quillon::testing::QuillonRun quillon(home, true);
    QProcessEnvironment env = quillon.process.processEnvironment();
    env.insert("WAYLAND_DISPLAY", "wayland-0");
    quillon.process.setProcessEnvironment(env);
    ASSERT_TRUE(quillon.start());

    const QString text = "Quillon needs an X11 session: choose an Xorg session at login";
    ASSERT_TRUE(server.waitForLine("notify 1 replaces=0 summary=Quillon body=" + text, 10000))
        << server.lines.join('\n').toStdString();
    quillon::testing::waitFor([] { return false; }, 1000);
    server.waitForLine("(nothing more)", 100);
    EXPECT_EQ(server.lines.filter("notify ").size(), 1) << server.lines.join('\n').toStdString();
    EXPECT_EQ(server.lines.filter("close ").size(), 0) << "a lasting notice";
    EXPECT_EQ(quillon.log().count(text), 1) << quillon.log().toStdString();
    EXPECT_EQ(quillon.process.state(), QProcess::Running) << "the tray menu and the settings still work";
}

} // namespace
