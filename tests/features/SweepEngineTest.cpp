#include "features/sweep/SweepEngine.h"
#include "SweepFixture.h"
#include "support/Log.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::WindowNotification;
using Decision = SweepEngine::Decision;

constexpr int32_t kEditor = 100;
constexpr int32_t kViewer = 200;

fakes::FakeWindowControl::Window window(platform::WindowId id, int32_t pid)
{
    fakes::FakeWindowControl::Window w;
    w.id = id;
    w.pid = pid;
    return w;
}

class SweepEngineTest : public ::testing::Test, public testing::QuitFixture {
public:
    SweepEngineTest()
    {
        Log::isDebugEnabled = true;
        fake.tasksImpl.holdSerialJobs = true;
        fake.windowControlImpl.table = {window(1, kEditor), window(2, kViewer)};
        engine = std::make_unique<SweepEngine>(settings);
        engine->onAppQuit = [this](const QString& name, const std::optional<QIcon>&) {
            quitNames.push_back(name);
        };
        engine->onAccessibilityFailure = [this] { ++failures; };
    }
    ~SweepEngineTest() override { Log::isDebugEnabled = false; }

    /// Switches on and lets the first check of every app record its windows.
    void activateAndSettle()
    {
        engine->activate();
        settle();
    }
    /// Lets every pending check run through its count and decision.
    void settle(double seconds = 2.0)
    {
        fake.queue.advance(seconds);
        fake.tasksImpl.runHeldJobs();
    }
    void closeWindow(int32_t pid)
    {
        auto& table = fake.windowControlImpl.table;
        const auto it = std::find_if(table.begin(), table.end(), [&](const auto& w) { return w.pid == pid; });
        ASSERT_NE(it, table.end());
        const platform::WindowId id = it->id;
        table.erase(it);
        fake.windowEventsImpl.send(pid, WindowNotification::elementDestroyed, id);
    }

    std::unique_ptr<SweepEngine> engine;
    std::vector<QString> quitNames;
    int failures = 0;
};

TEST_F(SweepEngineTest, ClosingTheLastWindowQuitsTheAppAfterTheDelay)
{
    activateAndSettle();
    EXPECT_TRUE(fake.workspaceImpl.quitted.empty()) << "apps with windows stay";
    closeWindow(kViewer);
    fake.queue.advance(1.9);
    EXPECT_EQ(fake.tasksImpl.heldJobCount(), 0) << "nothing is counted before the delay";
    settle(0.1);
    EXPECT_EQ(fake.workspaceImpl.quitted, std::vector<int32_t>{kViewer});
    EXPECT_EQ(quitNames, std::vector<QString>{QStringLiteral("Viewer")});
    EXPECT_EQ(infoLines(QStringLiteral("Quitting Viewer (org.example.Viewer)")), 1)
        << "the quit reaches the system log at info level";
    EXPECT_TRUE(fake.log.contains(QStringLiteral("Check Viewer: ax=0 other=0 onscreen=0")));
    EXPECT_TRUE(engine->isWatching(kViewer)) << "the entry stays until the app is reported gone";
    terminate(kViewer);
    EXPECT_FALSE(engine->isWatching(kViewer));
}

TEST_F(SweepEngineTest, WatchRuleLeavesOutWhatMustNeverBeQuit)
{
    struct Row {
        const char* name;
        std::function<void(platform::RunningApp&, QuitFixture&)> change;
        bool watched;
    };
    const Row table[] = {
        {"regular app", [](auto&, auto&) {}, true},
        {"background app", [](auto& a, auto&) { a.regular = false; }, false},
        {"this process", [](auto& a, auto&) { a.pid = ::getpid(); }, false},
        {"no app id", [](auto& a, auto&) { a.appId.clear(); }, false},
        {"the file manager", [](auto& a, auto& f) { f.fake.appDirectoryImpl.fileManager = a.appId; }, false},
        {"excluded", [](auto& a, auto& f) { f.setList(SettingsKeys::sweepListedApps, {a.appId}); }, false},
        {"only listed, not listed",
         [](auto&, auto& f) { f.setString(SettingsKeys::sweepListMode, QStringLiteral("onlyListed")); },
         false},
        {"only listed, listed",
         [](auto& a, auto& f) {
             f.setString(SettingsKeys::sweepListMode, QStringLiteral("onlyListed"));
             f.setList(SettingsKeys::sweepOnlyListedApps, {a.appId});
         },
         true},
        {"unknown mode reads as excluding, listed",
         [](auto& a, auto& f) {
             f.setString(SettingsKeys::sweepListMode, QStringLiteral("allOfThem"));
             f.setList(SettingsKeys::sweepListedApps, {a.appId});
         },
         false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QuitFixture f;
        auto& app = f.fake.workspaceImpl.apps[1];
        row.change(app, f);
        SweepEngine sweep(f.settings);
        sweep.activate();
        EXPECT_EQ(sweep.isWatching(app.pid), row.watched);
        // Also when it arrives later.
        sweep.deactivate();
        auto later = app;
        if (later.pid != ::getpid())
            later.pid += 1000;
        sweep.activate();
        f.fake.workspaceImpl.apps.push_back(later);
        f.fake.workspaceImpl.send(platform::AppNotice::launched, later);
        EXPECT_EQ(sweep.isWatching(later.pid), row.watched);
    }
}

TEST_F(SweepEngineTest, DecisionTable)
{
    struct Row {
        const char* name;
        bool hasHadWindow;
        std::optional<int> ax, other, onScreen;
        std::function<void(platform::RunningApp&, QuitFixture&)> change;
        Decision expected;
        int failures = 0;
    };
    const auto none = [](auto&, auto&) {};
    const Row table[] = {
        {"last window closed", true, 0, 0, 0, none, Decision::quit},
        {"never had a window", false, 0, 0, 0, none, Decision::keep},
        {"still has a window", true, 1, std::nullopt, std::nullopt, none, Decision::keep},
        {"a window on another workspace", true, 0, 1, 0, none, Decision::keep},
        {"a window on screen the census missed", true, 0, 0, 1, none, Decision::keep},
        {"workspaces unknown", true, 0, std::nullopt, 0, none, Decision::quit},
        {"windows unreadable", true, std::nullopt, std::nullopt, std::nullopt, none, Decision::keep, 1},
        {"hidden", true, 0, 0, 0, [](auto& a, auto&) { a.hidden = true; }, Decision::stop},
        {"terminated", true, 0, 0, 0, [](auto& a, auto&) { a.pid = -1; }, Decision::stop},
        {"lost its app id", true, 0, 0, 0, [](auto& a, auto&) { a.appId.clear(); }, Decision::keep},
        {"became the file manager", true, 0, 0, 0,
         [](auto& a, auto& f) { f.fake.appDirectoryImpl.fileManager = a.appId; }, Decision::keep},
        {"went to the tray, kept", true, 0, 0, 0, [](auto& a, auto&) { a.regular = false; }, Decision::keep},
        {"went to the tray, not kept", true, 0, 0, 0,
         [](auto& a, auto& f) {
             a.regular = false;
             f.settings.setKeepSelfBackgroundedApps(false);
         },
         Decision::quit},
        {"excluded since", true, 0, 0, 0,
         [](auto& a, auto& f) { f.setList(SettingsKeys::sweepListedApps, {a.appId}); }, Decision::keep},
        {"only listed since, listed", true, 0, 0, 0,
         [](auto& a, auto& f) {
             f.setString(SettingsKeys::sweepListMode, QStringLiteral("onlyListed"));
             f.setList(SettingsKeys::sweepOnlyListedApps, {a.appId});
         },
         Decision::quit},
        {"only listed since, not listed", true, 0, 0, 0,
         [](auto&, auto& f) { f.setString(SettingsKeys::sweepListMode, QStringLiteral("onlyListed")); },
         Decision::keep},
        {"unknown mode, listed", true, 0, 0, 0,
         [](auto& a, auto& f) {
             f.setString(SettingsKeys::sweepListMode, QStringLiteral("sometimes"));
             f.setList(SettingsKeys::sweepListedApps, {a.appId});
         },
         Decision::keep},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QuitFixture f;
        f.fake.tasksImpl.holdSerialJobs = true; // the engine's own first checks never run
        SweepEngine sweep(f.settings);
        int failed = 0;
        sweep.onAccessibilityFailure = [&] { ++failed; };
        sweep.activate();
        ASSERT_TRUE(sweep.isWatching(kViewer));
        if (row.hasHadWindow) {
            EXPECT_EQ(sweep.decideQuit(kViewer, 1, std::nullopt, std::nullopt), Decision::keep);
        }
        auto* app = f.find(kViewer);
        row.change(*app, f);
        EXPECT_EQ(sweep.decideQuit(kViewer, row.ax, row.other, row.onScreen), row.expected);
        EXPECT_EQ(failed, row.failures);
        EXPECT_EQ(f.fake.workspaceImpl.quitted.size(), row.expected == Decision::quit ? 1u : 0u);
    }
}

TEST_F(SweepEngineTest, NothingIsDecidedWhileSwitchedOff)
{
    activateAndSettle();
    engine->deactivate();
    EXPECT_EQ(engine->decideQuit(kViewer, 0, 0, 0), Decision::stop);
    EXPECT_TRUE(fake.workspaceImpl.quitted.empty());
}

TEST_F(SweepEngineTest, AWindowChangeDuringTheDelayStartsItAgain)
{
    activateAndSettle();
    closeWindow(kViewer);
    fake.queue.advance(1.5);
    fake.windowEventsImpl.send(kViewer, WindowNotification::focusedWindowChanged, 0);
    fake.queue.advance(1.9);
    EXPECT_EQ(fake.tasksImpl.heldJobCount(), 0);
    settle(0.1);
    EXPECT_EQ(fake.workspaceImpl.quitted, std::vector<int32_t>{kViewer});
}

TEST_F(SweepEngineTest, PendingCheckIsCalledOff)
{
    struct Row {
        const char* name;
        std::function<void(SweepEngineTest&)> action;
    };
    const Row table[] = {
        {"the app comes to the front", [](auto& t) { t.bringToFront(kViewer); }},
        {"the app ends", [](auto& t) { t.terminate(kViewer); }},
        {"the strategy changes",
         [](auto& t) {
             t.setString(SettingsKeys::sweepStrategy, QStringLiteral("thorough"));
             t.engine->syncWatchList();
         }},
        {"the app is excluded",
         [](auto& t) {
             t.setList(SettingsKeys::sweepListedApps, {QStringLiteral("org.example.Viewer")});
             t.engine->syncWatchList();
         }},
        {"the sweep is switched off", [](auto& t) { t.engine->deactivate(); }},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        SweepEngineTest& t = *this;
        t.engine = std::make_unique<SweepEngine>(t.settings);
        t.fake.workspaceImpl.apps = {app(kEditor, "org.example.Editor", "Editor", true),
                                     app(kViewer, "org.example.Viewer", "Viewer", false)};
        t.fake.windowControlImpl.table = {window(1, kEditor), window(2, kViewer)};
        t.fake.workspaceImpl.quitted.clear();
        t.activateAndSettle();
        t.closeWindow(kViewer);
        fake.queue.advance(1);
        row.action(t);
        settle(10);
        settle(10);
        EXPECT_TRUE(t.fake.workspaceImpl.quitted.empty());
    }
}

TEST_F(SweepEngineTest, AnAppThatEndsOrHidesWhileCountedIsLeftAlone)
{
    struct Row {
        const char* name;
        std::function<void(platform::RunningApp&)> change;
    };
    const Row table[] = {
        {"ends", [](auto& a) { a.pid = -1; }},
        {"hides", [](auto& a) { a.hidden = true; }},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QuitFixture f;
        f.fake.tasksImpl.holdSerialJobs = true;
        f.fake.windowControlImpl.table = {window(2, kViewer)};
        SweepEngine sweep(f.settings);
        sweep.activate();
        f.fake.queue.advance(2);
        f.fake.tasksImpl.runHeldJobs();
        f.fake.windowControlImpl.table.clear();
        f.fake.windowEventsImpl.send(kViewer, WindowNotification::elementDestroyed, 2);
        f.fake.queue.advance(2);
        ASSERT_EQ(f.fake.tasksImpl.heldJobCount(), 1) << "the count is under way";
        row.change(*f.find(kViewer));
        f.fake.tasksImpl.runHeldJobs();
        EXPECT_TRUE(f.fake.workspaceImpl.quitted.empty());
    }
}

TEST_F(SweepEngineTest, AStrategyChangeRebuildsObserversAndForgetsPastWindows)
{
    activateAndSettle();
    const auto observersBefore = fake.windowEventsImpl.observers;
    closeWindow(kViewer);
    setString(SettingsKeys::sweepStrategy, QStringLiteral("thorough"));
    engine->syncWatchList();
    EXPECT_TRUE(fake.log.contains(QStringLiteral("Sweep strategy → thorough, rebuilding observers")));
    for (const auto& [token, observer] : fake.windowEventsImpl.observers)
        EXPECT_FALSE(observersBefore.count(token)) << "every observer is new";
    EXPECT_TRUE(fake.windowEventsImpl.isRegistered(WindowNotification::elementDestroyed,
                                                   platform::WindowEvents::application));
    settle();
    EXPECT_TRUE(fake.workspaceImpl.quitted.empty())
        << "the viewer has shown no window since it was watched again";
    // The editor's first check after the rebuild records its window again.
    closeWindow(kEditor);
    settle();
    EXPECT_EQ(fake.workspaceImpl.quitted, std::vector<int32_t>{kEditor});
}

TEST_F(SweepEngineTest, WeirdDelaysCheckAtOnce)
{
    for (const double delay : {-5.0, std::nan("")}) {
        SCOPED_TRACE(delay);
        QuitFixture f;
        f.fake.windowControlImpl.table = {window(2, kViewer)};
        f.settings.setQuitDelay(delay);
        SweepEngine sweep(f.settings);
        sweep.activate();
        f.fake.queue.drain();
        f.fake.windowControlImpl.table.clear();
        f.fake.windowEventsImpl.send(kViewer, WindowNotification::elementDestroyed, 2);
        f.fake.queue.drain();
        EXPECT_EQ(f.fake.workspaceImpl.quitted, std::vector<int32_t>{kViewer});
    }
}

} // namespace
} // namespace quillon

namespace quillon {
namespace {

TEST_F(SweepEngineTest, AnAppActivatedBeforeItsFirstCountIsStillCounted)
{
    // A new app takes the focus as its window maps: its first count must not
    // be lost, or closing that window would never quit it.
    engine->activate();
    bringToFront(kViewer);
    settle();
    closeWindow(kViewer);
    settle();
    EXPECT_EQ(fake.workspaceImpl.quitted, std::vector<int32_t>{kViewer});
}

} // namespace
} // namespace quillon
