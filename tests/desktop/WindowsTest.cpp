// The window, workspace and application layer against openbox on the
// virtual desktop, with windows of our own test program.
#include "common/Desktop.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/LinuxPlatform.h"
#include "common/TestWindows.h"
#include "support/FileLog.h"
#include "windows/WindowActivator.h"
#include "windows/WindowCensus.h"
#include "windows/WindowList.h"
#include "windows/WindowObserver.h"
#include "windows/WindowSpaces.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using quillon::testing::TestWindows;
using quillon::testing::waitFor;
using platform::linux_::Ewmh;
using platform::linux_::X11Connection;
using quillon::testing::waitFor;

namespace {

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!quillon::testing::onDesktop())
            GTEST_SKIP() << "needs the virtual desktop (run through scripts/with-desktop)";
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        // Like Debian's xterm (app id debian-xterm, windows saying XTerm): the
        // entry's name matches neither the window class nor the program.
        QDir().mkpath(m_data.path() + "/applications");
        QFile entry(m_data.path() + "/applications/quillon-fixture-tool.desktop");
        entry.open(QIODevice::WriteOnly);
        entry.write("[Desktop Entry]\nType=Application\nName=Fixture Tool\nIcon=utilities-terminal\n"
                    "Exec=quillon-test-window --title Tool\nNoDisplay=true\n");
        entry.close();
        m_platform = std::make_unique<platform::linux_::LinuxPlatform>();
        platform::setPlatform(m_platform.get());
        m_x = X11Connection::open();
        m_ewmh = std::make_unique<Ewmh>(*m_x);
    }
    void TearDown() override
    {
        m_platform.reset();
        qputenv("XDG_DATA_HOME", m_savedDataHome);
    }

    std::vector<platform::WindowId> clients()
    {
        return m_ewmh->clientList(false).value_or(std::vector<uint32_t>{});
    }
    bool managed(const TestWindows& windows)
    {
        const auto list = clients();
        return std::all_of(windows.ids.begin(), windows.ids.end(), [&](platform::WindowId id) {
            return std::find(list.begin(), list.end(), id) != list.end();
        });
    }
    std::optional<platform::WindowEntry> entry(platform::WindowId id)
    {
        for (const auto& e :
             windowList(WindowListOption::all).value_or(std::vector<platform::WindowEntry>{})) {
            if (e.id == id)
                return e;
        }
        return std::nullopt;
    }
    uint32_t activeWindow() { return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW").value_or(0); }

    std::unique_ptr<platform::linux_::LinuxPlatform> m_platform;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;

private:
    QTemporaryDir m_data;
    QByteArray m_savedDataHome;
};

TEST_F(WindowsTest, ListCensusAndWorkspaceSeeTheWindowsWithTheirProcessAndApp)
{
    // A wrong _NET_WM_PID: the X server's own knowledge of the client must win.
    TestWindows windows({"--title", "first", "--title", "second", "--net-pid", "1"});
    ASSERT_TRUE(waitFor([&] { return managed(windows); }));

    const auto first = entry(windows.ids[0]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->pid, windows.pid());
    EXPECT_EQ(first->layer, 0);
    EXPECT_EQ(first->title, QString("first"));
    EXPECT_TRUE(first->onScreen);
    ASSERT_TRUE(first->bounds);
    EXPECT_GT(first->bounds->width(), 320) << "the frame is included";
    EXPECT_GT(first->bounds->height(), 200);
    EXPECT_DOUBLE_EQ(first->alpha.value_or(0), 1.0);
    const auto list = *windowList(WindowListOption::onScreenOnly);
    EXPECT_EQ(list.front().id, windows.ids[1]) << "front to back: the later window is on top";

    EXPECT_EQ(WindowCensus::onScreenWindowCount(windows.pid()), 2);
    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(windows.pid()), 0);
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(windows.pid()), 2);
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(1), 0);

    auto& workspace = platform::platform().workspace();
    const auto app = workspace.app(windows.pid());
    ASSERT_TRUE(app);
    EXPECT_EQ(app->appId, "quillon-fixture-tool");
    EXPECT_EQ(app->name, "Fixture Tool");
    EXPECT_TRUE(app->regular);
    EXPECT_FALSE(workspace.app(1)) << "the pid a window claims is not taken for granted";
}

TEST_F(WindowsTest, WorkspaceAnnouncesLaunchActivationAndKnowsBackgroundApps)
{
    auto& workspace = platform::platform().workspace();
    std::vector<std::pair<platform::AppNotice, int32_t>> notices;
    workspace.addHandler([&](platform::AppNotice notice, const platform::RunningApp& app) {
        notices.emplace_back(notice, app.pid);
    });
    TestWindows dock({"--title", "panel", "--type", "dock", "--class", "quillon-panel,QuillonPanel"});
    TestWindows windows({"--title", "main"});
    ASSERT_TRUE(waitFor([&] { return workspace.app(windows.pid()) && workspace.app(dock.pid()); }));
    EXPECT_FALSE(workspace.app(dock.pid())->regular) << "only a dock and no menu entry: a background app";
    EXPECT_TRUE(workspace.app(windows.pid())->regular) << "an ordinary window makes it regular";
    EXPECT_TRUE(
        std::count(notices.begin(), notices.end(), std::pair(platform::AppNotice::launched, windows.pid())));

    ASSERT_TRUE(workspace.activate(windows.pid()));
    ASSERT_TRUE(
        waitFor([&] { return workspace.frontmostApp() && workspace.frontmostApp()->pid == windows.pid(); }));
    EXPECT_TRUE(
        std::count(notices.begin(), notices.end(), std::pair(platform::AppNotice::activated, windows.pid())));

    ASSERT_TRUE(workspace.hide(windows.pid()));
    EXPECT_TRUE(waitFor([&] { return workspace.app(windows.pid())->hidden; }));
    const auto told = [&](platform::AppNotice notice) {
        return std::count(notices.begin(), notices.end(), std::pair(notice, windows.pid())) == 1;
    };
    EXPECT_TRUE(waitFor([&] { return told(platform::AppNotice::hidden); })) << "minimising is announced";
    EXPECT_EQ(WindowCensus::onScreenWindowCount(windows.pid()), 0);
    ASSERT_TRUE(workspace.unhide(windows.pid()));
    EXPECT_TRUE(waitFor([&] { return !workspace.app(windows.pid())->hidden; }));
    EXPECT_TRUE(waitFor([&] { return told(platform::AppNotice::unhidden); }));
    EXPECT_EQ(WindowCensus::onScreenWindowCount(windows.pid()), 1);
}

TEST_F(WindowsTest, ObserverReportsAClosedWindow)
{
    TestWindows windows({"--title", "stays", "--title", "goes"});
    ASSERT_TRUE(waitFor([&] { return managed(windows); }));
    WindowObserver observer(windows.pid(), SweepStrategy::efficient,
                            {platform::WindowNotification::titleChanged});
    int changes = 0;
    observer.onWindowsChanged = [&] { ++changes; };
    observer.start();
    ASSERT_TRUE(observer.isObserving());
    EXPECT_EQ(changes, 1);

    windows.command("title 0 renamed");
    ASSERT_TRUE(waitFor([&] { return changes >= 2; }));
    const int before = changes;
    ASSERT_TRUE(platform::platform().windowControl().close(windows.ids[1]));
    ASSERT_TRUE(waitFor([&] { return changes > before; }));
    EXPECT_EQ(WindowCensus::keepAliveWindowCount(windows.pid()), 1);
}

TEST_F(WindowsTest, WindowsOnAnotherDesktopCountAsOnAnotherSpaceButStickyOnesDoNot)
{
    auto& spaces = platform::platform().spaces();
    ASSERT_TRUE(spaces.available());
    ASSERT_GE(spaces.count(), 2);
    ASSERT_EQ(spaces.activeSpace(), 1u);
    TestWindows windows({"--title", "elsewhere", "--title", "everywhere", "--title", "here"});
    ASSERT_TRUE(waitFor([&] { return managed(windows); }));
    windows.command("desktop 0 1");
    windows.command("sticky 1");
    ASSERT_TRUE(waitFor([&] {
        const auto a = entry(windows.ids[0]);
        const auto b = entry(windows.ids[1]);
        return a && b && a->spaces == std::vector<uint64_t>{2} && b->spaces && b->spaces->size() > 1;
    }));
    EXPECT_EQ(WindowCensus::otherSpaceWindowCount(windows.pid()), 1);
    EXPECT_EQ(WindowCensus::onScreenWindowCount(windows.pid()), 2);
    auto& windowSpaces = WindowSpaces::shared();
    EXPECT_TRUE(windowSpaces.symbolsResolved());
    EXPECT_TRUE(windowSpaces.isOnOtherSpace(windows.ids[0], 1));
    EXPECT_FALSE(windowSpaces.isOnOtherSpace(windows.ids[1], 1));
    EXPECT_EQ(windowSpaces.otherSpace(windows.ids[0], 1), 2u);

    // Switching makes the window's Space the active one.
    int notices = 0;
    const int token = spaces.addChangeHandler([&] { ++notices; });
    ASSERT_TRUE(spaces.switchTo(1));
    EXPECT_TRUE(waitFor([&] { return spaces.activeSpace() == 2; }));
    EXPECT_GE(notices, 1);
    EXPECT_TRUE(waitFor([&] { return WindowCensus::otherSpaceWindowCount(windows.pid()) == 1; }))
        << "now the window left on the first Space is elsewhere";
    EXPECT_FALSE(spaces.switchTo(spaces.count()));
    ASSERT_TRUE(spaces.switchTo(0));
    EXPECT_TRUE(waitFor([&] { return spaces.activeSpace() == 1; }));
    spaces.removeChangeHandler(token);
}

TEST_F(WindowsTest, SpacesResolveAgainWhenTheWindowManagerChangesWhatItSupports)
{
    auto& spaces = platform::platform().spaces();
    ASSERT_TRUE(spaces.available());
    const auto supported = m_ewmh->atoms(m_x->root(), "_NET_SUPPORTED");
    std::vector<xcb_atom_t> without;
    for (const xcb_atom_t a : supported) {
        if (a != m_x->atom("_NET_WM_DESKTOP"))
            without.push_back(a);
    }
    auto publish = [&](const std::vector<xcb_atom_t>& atoms) {
        xcb_change_property(m_x->get(), XCB_PROP_MODE_REPLACE, m_x->root(), m_x->atom("_NET_SUPPORTED"),
                            XCB_ATOM_ATOM, 32, uint32_t(atoms.size()), atoms.data());
        m_x->flush();
    };
    publish(without);
    const bool sawUnavailable = waitFor([&] { return !spaces.available(); });
    publish(supported);
    ASSERT_TRUE(sawUnavailable);
    EXPECT_EQ(spaces.snapshot()->reason, "window manager does not report workspaces");
    EXPECT_TRUE(waitFor([&] { return spaces.available(); }));
    EXPECT_EQ(spaces.activeSpace(), 1u);
}

TEST_F(WindowsTest, RaiseWindowActivatesTheWindowWhoseInitialMatches)
{
    TestWindows windows(
        {"--title", "a.txt \u2014 Editor", "--title", "Browser", "--title", "b.txt \u2014 Editor"});
    // The window manager focuses new windows as it maps them; wait until it
    // has done so, or that focus could land after our raise.
    ASSERT_TRUE(waitFor([&] { return managed(windows) && activeWindow() == windows.ids.back(); }));
    const std::vector<WindowActivator::Hint> hints{{"e", "Editor"}, {"b", "Browser"}};
    EXPECT_EQ(WindowActivator::titleHints(windows.pid()), hints);

    WindowActivator::raiseWindow(windows.pid(), "b");
    EXPECT_TRUE(waitFor([&] { return activeWindow() == windows.ids[1]; }));
    WindowActivator::raiseWindow(windows.pid(), "e");
    EXPECT_TRUE(waitFor([&] { return activeWindow() == windows.ids[0]; }));
    WindowActivator::raiseWindow(windows.pid(), "e");
    EXPECT_TRUE(waitFor([&] { return activeWindow() == windows.ids[2]; }))
        << "the next window with that letter";
    EXPECT_EQ(windowList(WindowListOption::onScreenOnly)->front().id, windows.ids[2]);
}

TEST_F(WindowsTest, RaiseAnswersLaterOnceTheWindowIsActive)
{
    TestWindows windows({"--title", "one", "--title", "two"});
    ASSERT_TRUE(waitFor([&] { return managed(windows) && activeWindow() == windows.ids.back(); }));
    auto& control = platform::platform().windowControl();
    std::vector<std::pair<platform::WindowId, bool>> answers;
    control.raise(windows.ids[0], [&](bool raised) { answers.emplace_back(windows.ids[0], raised); });
    EXPECT_TRUE(answers.empty()) << "the raise returns before the window manager acts";
    ASSERT_TRUE(waitFor([&] { return !answers.empty(); }));
    EXPECT_EQ(answers[0], std::make_pair(platform::WindowId(windows.ids[0]), true));
    EXPECT_EQ(activeWindow(), windows.ids[0]);

    // A window that is no window of the desktop's: false, later.
    control.raise(m_x->root(), [&](bool raised) { answers.emplace_back(0, raised); });
    EXPECT_EQ(answers.size(), 1u);
    ASSERT_TRUE(waitFor([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[1], std::make_pair(platform::WindowId(0), false));
}

TEST_F(WindowsTest, PoliteQuitClosesTheWindowsAndTheProcessEnds)
{
    auto& workspace = platform::platform().workspace();
    std::vector<int32_t> terminated;
    workspace.addHandler([&](platform::AppNotice notice, const platform::RunningApp& app) {
        if (notice == platform::AppNotice::terminated)
            terminated.push_back(app.pid);
    });
    TestWindows windows({"--title", "one", "--title", "two"});
    const int32_t pid = windows.pid();
    // Both windows must be managed before the quit, or it closes only the first.
    ASSERT_TRUE(waitFor([&] {
        const auto list = platform::platform().windowControl().windows(pid);
        return workspace.app(pid).has_value() && list && list->size() == 2;
    }));
    ASSERT_TRUE(workspace.quit(pid));
    ASSERT_TRUE(waitFor([&] { return windows.finished(); }));
    EXPECT_EQ(windows.process().exitStatus(), QProcess::NormalExit) << "it closed by itself, no signal";
    EXPECT_TRUE(waitFor([&] { return terminated == std::vector<int32_t>{pid}; }));
    EXPECT_FALSE(workspace.app(pid));
}

TEST_F(WindowsTest, AnAppLeftWithoutWindowsAfterQuitIsAskedBySignal)
{
    auto& workspace = platform::platform().workspace();
    TestWindows windows({"--title", "only", "--stay"});
    ASSERT_TRUE(waitFor([&] { return workspace.app(windows.pid()).has_value(); }));
    ASSERT_TRUE(workspace.quit(windows.pid()));
    ASSERT_TRUE(waitFor([&] { return windows.finished(); }));
    EXPECT_EQ(windows.process().exitStatus(), QProcess::CrashExit) << "ended by SIGTERM";
    EXPECT_EQ(windows.process().exitCode(), SIGTERM);
}

} // namespace
