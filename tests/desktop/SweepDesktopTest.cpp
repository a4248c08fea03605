// The sweep and auto-quit over the real workspace, windows and window events
// of the virtual desktop, with the manual clock; and the sweep in the real
// binary.

#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "fakes/ForwardingPlatform.h"
#include "features/autoquit/AutoQuitFeature.h"
#include "features/sweep/SweepEngine.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Spaces.h"
#include "platform/linux/X11WindowControl.h"
#include "platform/linux/X11WindowEvents.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAppDirectory.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::X11Connection;
using testing::TestWindows;
using testing::waitFor;

const QStringList kSweepFixture{"--class", "sweepfixture,SweepFixture"};
const QStringList kOtherFixture{"--class", "otherfixture,OtherFixture"};

void writeEntries(const QString& dataHome)
{
    QDir().mkpath(dataHome + "/applications");
    const std::pair<const char*, const char*> entries[] = {{"sweep-fixture", "Sweep Fixture"},
                                                           {"other-fixture", "Other Fixture"},
                                                           {"dock-fixture", "Dock Fixture"}};
    for (const auto& [id, name] : entries) {
        QFile file(dataHome + "/applications/" + id + ".desktop");
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=quillon-test-window\n"
                                  "StartupWMClass=%2\n")
                       .arg(name, QString(name).remove(' '))
                       .toUtf8());
    }
}

/// The real X11 windows, events and workspace; the rest (clock, background
/// queue) from the fakes, so the test decides when time passes.
class SweepPlatform final : public fakes::ForwardingPlatform {
public:
    platform::WindowServer& windowServer() override { return server; }
    platform::WindowControl& windowControl() override { return control; }
    platform::WindowEvents& windowEvents() override { return events; }
    platform::Spaces& spaces() override { return spacesImpl; }
    platform::Workspace& workspace() override { return workspaceImpl; }
    platform::AppDirectory& appDirectory() override { return directory; }

    platform::linux_::X11WindowServer server{X11Connection::open()};
    platform::linux_::X11WindowControl control{X11Connection::open()};
    platform::linux_::X11WindowEvents events{X11Connection::open()};
    platform::linux_::X11Spaces spacesImpl{X11Connection::open()};
    platform::linux_::XdgAppDirectory directory;
    platform::linux_::X11Workspace workspaceImpl{X11Connection::open(), directory};
};

class SweepDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        writeEntries(m_data.path());
        desktop = std::make_unique<SweepPlatform>();
        settings = std::make_unique<Settings>(desktop->fake.defaults, QStringLiteral("app.quillon.Quillon"));
        settings->setQuitDelay(0.2);
        Log::isDebugEnabled = true;
    }
    void TearDown() override
    {
        Log::isDebugEnabled = false;
        settings.reset();
        desktop.reset();
        qputenv("XDG_DATA_HOME", m_savedDataHome);
    }

    platform::Workspace& workspace() { return desktop->workspaceImpl; }
    bool regularApp(int32_t pid, bool regular)
    {
        return waitFor([&] {
            const auto app = workspace().app(pid);
            return app && app->regular == regular;
        });
    }
    std::size_t windowCount(int32_t pid)
    {
        return desktop->control.windows(pid).value_or(std::vector<platform::WindowId>{}).size();
    }
    /// Waits for the sweep's check to be scheduled, then lets its delay pass.
    bool runCheck()
    {
        if (!waitFor([&] { return desktop->fake.queue.pendingCount() > 0; }))
            return false;
        desktop->fake.queue.advance(0.2);
        return true;
    }
    bool checked(const QString& line)
    {
        return waitFor([&] { return desktop->fake.log.contains(line); });
    }
    void close(const TestWindows& windows)
    {
        platform::linux_::Ewmh ewmh(*m_x);
        ewmh.close(windows.ids.front());
        m_x->flush();
    }
    /// Nothing that should not happen happened within a moment.
    static void linger()
    {
        waitFor([] { return false; }, 500);
    }

    std::unique_ptr<SweepPlatform> desktop;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<X11Connection> m_x = X11Connection::open();

private:
    QTemporaryDir m_data;
    QByteArray m_savedDataHome;
};

TEST_F(SweepDesktop, ClosingTheLastWindowEndsTheAppBySignal)
{
    SweepEngine sweep(*settings);
    sweep.activate();
    TestWindows app(kSweepFixture + QStringList{"--stay", "--title", "doc"});
    ASSERT_TRUE(waitFor([&] { return sweep.isWatching(app.pid()); }));
    ASSERT_TRUE(runCheck());
    ASSERT_TRUE(checked("Check Sweep Fixture: ax=1"));

    close(app);
    ASSERT_TRUE(waitFor([&] { return windowCount(app.pid()) == 0; }));
    ASSERT_TRUE(runCheck());
    ASSERT_TRUE(waitFor([&] { return app.finished(); }));
    EXPECT_EQ(app.process().exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(app.process().exitCode(), SIGTERM);
    EXPECT_TRUE(desktop->fake.log.contains("Quitting Sweep Fixture (sweep-fixture)"));
}

TEST_F(SweepDesktop, AnAppWhoseOnlyWindowIsMinimisedStays)
{
    SweepEngine sweep(*settings);
    sweep.activate();
    TestWindows app(kSweepFixture + QStringList{"--stay", "--title", "doc"});
    ASSERT_TRUE(waitFor([&] { return sweep.isWatching(app.pid()); }));
    ASSERT_TRUE(runCheck());
    ASSERT_TRUE(workspace().hide(app.pid()));
    ASSERT_TRUE(waitFor([&] { return workspace().app(app.pid())->hidden; }));
    desktop->fake.queue.advance(5);
    linger();
    EXPECT_FALSE(app.finished());
    EXPECT_EQ(windowCount(app.pid()), 1u) << "not even asked to close";
}

TEST_F(SweepDesktop, AnAppWithOnlyADockWindowIsNeverWatched)
{
    SweepEngine sweep(*settings);
    sweep.activate();
    TestWindows dock({"--class", "dockfixture,DockFixture", "--type", "dock", "--title", "panel"});
    ASSERT_TRUE(waitFor([&] { return workspace().app(dock.pid()).has_value(); }));
    EXPECT_EQ(workspace().app(dock.pid())->appId, "dock-fixture") << "its entry is shown in menus";
    EXPECT_FALSE(workspace().app(dock.pid())->regular);
    sweep.syncWatchList();
    EXPECT_FALSE(sweep.isWatching(dock.pid()));
}

TEST_F(SweepDesktop, AnAppGoneToTheTrayStaysOnlyWhileSelfBackgroundedAppsAreKept)
{
    QProcess watcher;
    watcher.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-snwatcher"));
    ASSERT_TRUE(waitFor([&] { return watcher.canReadLine() && watcher.readLine().trimmed() == "ready"; }));
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "kept" : "not kept");
        settings->setKeepSelfBackgroundedApps(keep);
        SweepEngine sweep(*settings);
        sweep.activate();
        TestWindows app(kSweepFixture + QStringList{"--tray", "--title", "doc"});
        ASSERT_TRUE(app.waitForLine("tray registered"));
        ASSERT_TRUE(waitFor([&] { return sweep.isWatching(app.pid()); }));
        ASSERT_TRUE(runCheck());
        EXPECT_TRUE(regularApp(app.pid(), true)) << "an ordinary window is open";

        close(app);
        ASSERT_TRUE(waitFor([&] { return windowCount(app.pid()) == 0; }));
        ASSERT_TRUE(regularApp(app.pid(), false)) << "only its tray icon is left";
        ASSERT_TRUE(runCheck());
        if (keep) {
            linger();
            EXPECT_FALSE(app.finished());
        } else {
            EXPECT_TRUE(waitFor([&] { return app.finished(); }));
        }
    }
    watcher.closeWriteChannel();
    watcher.waitForFinished(3000);
}

TEST_F(SweepDesktop, AutoQuitEndsAListedAppLeftInTheBackground)
{
    settings->setAutoQuitMinutes(1);
    settings->setAutoQuitApps({QStringLiteral("sweep-fixture")});
    AutoQuitFeature autoQuit(*settings);
    autoQuit.activate();
    TestWindows listed(kSweepFixture + QStringList{"--title", "listed"});
    TestWindows other(kOtherFixture + QStringList{"--title", "other"});
    ASSERT_TRUE(waitFor([&] { return workspace().app(listed.pid()) && workspace().app(other.pid()); }));

    // Back to the front within the minute: it stays.
    ASSERT_TRUE(workspace().activate(listed.pid()));
    ASSERT_TRUE(waitFor([&] { return workspace().frontmostApp()->pid == listed.pid(); }));
    ASSERT_TRUE(workspace().activate(other.pid()));
    ASSERT_TRUE(waitFor([&] { return autoQuit.isArmed(listed.pid()); }));
    desktop->fake.queue.advance(30);
    ASSERT_TRUE(workspace().activate(listed.pid()));
    ASSERT_TRUE(waitFor([&] { return !autoQuit.isArmed(listed.pid()); }));
    desktop->fake.queue.advance(120);
    linger();
    EXPECT_FALSE(listed.finished());

    // Left in the background: a minute later it is gone.
    ASSERT_TRUE(workspace().activate(other.pid()));
    ASSERT_TRUE(waitFor([&] { return autoQuit.isArmed(listed.pid()); }));
    desktop->fake.queue.advance(60);
    EXPECT_TRUE(waitFor([&] { return listed.finished(); }));
    EXPECT_FALSE(other.finished());
}

TEST(SweepInstance, TheRealBinaryQuitsAnAppWhoseLastWindowClosed)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    writeEntries(home.path() + "/data");
    testing::QuillonRun quillon(home, QByteArray(R"({"sweep.isEnabled": {"type": "bool", "value": true},
        "sweep.delay": {"type": "double", "value": 0.2},
        "diagnostics.logging": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    TestWindows app(kSweepFixture + QStringList{"--stay", "--title", "doc"});
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Check Sweep Fixture: ax=1"); }, 15000))
        << quillon.log().toStdString();
    auto x = X11Connection::open();
    platform::linux_::Ewmh(*x).close(app.ids.front());
    x->flush();
    EXPECT_TRUE(waitFor([&] { return app.finished(); })) << quillon.log().toStdString();
    EXPECT_TRUE(quillon.log().contains("Quitting Sweep Fixture (sweep-fixture)"));
}

} // namespace
} // namespace quillon
