#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "features/awake/AwakeFeature.h"
#include "features/colorpicker/ColorPickerFeature.h"
#include "features/focus/FocusFeature.h"
#include "features/ocr/OCRFeature.h"
#include "features/snap/SnapFeature.h"
#include "notch/NotchBarView.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStates.h"
#include "notch/NowPlayingController.h"
#include "permissions/ScreenRecordingPermission.h"
#include "support/Log.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusMenuController.h"

#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace quillon {
namespace {

class AppDelegateTest : public ::testing::Test {
protected:
    AppDelegateTest()
    {
        Log::isDebugEnabled = false;
        NotchGeometry::drawsWithoutNotch = true;
    }
    ~AppDelegateTest() override
    {
        delegate.reset();
        Log::isDebugEnabled = false;
        NotchGeometry::drawsWithoutNotch = true;
    }

    /// Stores a value before launch, as an earlier run would have.
    void preset(const QString& key, const platform::PlistValue& value)
    {
        fake.defaults.standard().set(key, value);
    }
    AppDelegate& launch(const QStringList& arguments = {"quillon"})
    {
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationDidFinishLaunching(arguments);
        fake.queue.drain();
        return *delegate;
    }
    bool settingsShown() const
    {
        QWidget* window = delegate->settingsWindow().window();
        return window && window->isVisible();
    }
    bool logged(const QString& text) const { return fake.log.contains(text); }
    int posts(const QString& identifier) const
    {
        return int(std::count_if(fake.notifications.posts.begin(), fake.notifications.posts.end(),
                                 [&](const auto& p) { return p.identifier == identifier; }));
    }
    fakes::FakeStatusItem& statusItem() { return *fake.statusBarImpl.items.back(); }

    fakes::FakePlatform fake;
    std::unique_ptr<AppDelegate> delegate;
};

// What must already hold, and what must not yet, at three points of start-up.
TEST_F(AppDelegateTest, StartUpRunsItsStepsInOrder)
{
    preset("diagnostics.logging", true);
    struct Moment {
        bool permissionWatched = false;
        std::vector<bool> made;
        bool settingsShown = false;
        platform::Appearance appearance = platform::Appearance::light;
    };
    const std::vector<SettingsPane> wiredFirst{
        SettingsPane::sweep,  SettingsPane::notch,    SettingsPane::swipe, SettingsPane::awake,
        SettingsPane::jump,   SettingsPane::snippets, SettingsPane::ocr,   SettingsPane::colorPicker,
        SettingsPane::breaks, SettingsPane::snap};
    auto moment = [&] {
        Moment m;
        m.permissionWatched = fake.permissionsImpl.trustHandlerCount() > 0;
        for (const SettingsPane pane : SettingsPane::features())
            m.made.push_back(delegate->hasFeature(pane));
        m.settingsShown =
            delegate->settingsWindow().window() && delegate->settingsWindow().window()->isVisible();
        m.appearance = fake.appShellImpl.current;
        return m;
    };
    std::vector<Moment> moments;
    std::vector<std::vector<bool>> madeWhenItemMade;
    fake.statusBarImpl.onMakeItem = [&] {
        std::vector<bool> made;
        for (const SettingsPane pane : SettingsPane::features())
            made.push_back(delegate->hasFeature(pane));
        madeWhenItemMade.push_back(made);
    };
    fake.statusBarImpl.onIconSet = [&](const QIcon&) { moments.push_back(moment()); };

    launch({"quillon", "--appearance", "dark"});

    // The status item is made after the wiring made its ten features, before
    // the settings window makes focus, clipboard and shelf.
    ASSERT_EQ(madeWhenItemMade.size(), 1u);
    for (std::size_t i = 0; i < SettingsPane::features().size(); ++i) {
        const SettingsPane pane = SettingsPane::features()[i];
        const bool wired = std::find(wiredFirst.begin(), wiredFirst.end(), pane) != wiredFirst.end();
        EXPECT_EQ(madeWhenItemMade[0][i], wired) << pane.rawValue().toStdString();
    }
    // Its first icon, then reconcile's: by then every feature exists (the
    // walk made auto-quit); the first-run window and the options come after.
    ASSERT_EQ(moments.size(), 2u);
    EXPECT_TRUE(moments[0].permissionWatched);
    EXPECT_EQ(std::count(moments[1].made.begin(), moments[1].made.end(), true), 14);
    EXPECT_FALSE(moments[1].settingsShown);
    EXPECT_EQ(moments[1].appearance, platform::Appearance::light);
    EXPECT_TRUE(settingsShown());
    EXPECT_EQ(fake.appShellImpl.current, platform::Appearance::dark);

    // The launch header opens the log; reconcile's lines follow it.
    ASSERT_FALSE(fake.log.lines.empty());
    EXPECT_TRUE(fake.log.lines.front().message.startsWith("Quillon "))
        << fake.log.lines.front().message.toStdString();
    EXPECT_TRUE(logged("Feature Notch: ON"));
}

TEST_F(AppDelegateTest, SessionHeaderOnlyWithDiagnosticsOn)
{
    launch();
    EXPECT_TRUE(fake.log.lines.empty());
    // Switching diagnostics on opens a session of its own.
    delegate->settings().setDiagnosticsLogging(true);
    ASSERT_FALSE(fake.log.lines.empty());
    EXPECT_TRUE(fake.log.lines.front().message.startsWith("Diagnostics on \u2014 Quillon "));
}

TEST_F(AppDelegateTest, SettingsOpenOnFirstRunUnlessAFeaturePaneIsOn)
{
    struct Row {
        QStringList switchedOn;
        bool opens;
    };
    const Row table[] = {
        {{}, true},
        {{"awake.isEnabled"}, true}, // keep-awake alone does not count
        {{"snap.isEnabled"}, false},
        {{"autoQuit.isEnabled", "awake.isEnabled"}, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.switchedOn.join(',').toStdString());
        fakes::FakePlatform platform;
        for (const QString& key : row.switchedOn)
            platform.defaults.standard().set(key, true);
        AppDelegate app;
        app.applicationDidFinishLaunching({"quillon"});
        QWidget* window = app.settingsWindow().window();
        EXPECT_EQ(window && window->isVisible(), row.opens);
    }
}

TEST_F(AppDelegateTest, WithoutATrayHostSettingsOpenAtLaunch)
{
    preset("snap.isEnabled", true);
    fake.statusBarImpl.available = false;
    preset("diagnostics.logging", true);
    launch();
    EXPECT_TRUE(settingsShown());
    EXPECT_TRUE(logged("No system tray: opening the settings window"));
}

TEST_F(AppDelegateTest, AMissingTrayHostIsLoggedOnAFirstRunToo)
{
    fake.statusBarImpl.available = false;
    preset("diagnostics.logging", true);
    launch();
    EXPECT_TRUE(settingsShown());
    EXPECT_TRUE(logged("No system tray: opening the settings window"));
}

TEST_F(AppDelegateTest, ReconcilesOnEverySettingsChangeAndShowsToggleChips)
{
    preset("diagnostics.logging", true);
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    launch();
    NotchController& chips = delegate->notch().controller();
    EXPECT_FALSE(chips.chipMount()) << "no toggle chips at launch";

    delegate->settings().setFocusEnabled(true);
    EXPECT_TRUE(delegate->focus().isActive());
    EXPECT_TRUE(logged("Feature Focus: ON"));
    ASSERT_TRUE(chips.chipMount());
    EXPECT_TRUE(chips.chipMount()->bar()->layout().keys().contains("On"));
    EXPECT_EQ(delegate->notchStage().shown(), NotchSource::chip);
    fake.queue.advance(NotchFeature::chipDuration + 1);
    EXPECT_NE(delegate->notchStage().shown(), NotchSource::chip) << "the chip goes after its time";

    // Only the alpha: pushed again, nothing logged, no chip.
    fake.log.lines.clear();
    delegate->settings().set(0.5, "focus.alpha");
    EXPECT_TRUE(fake.log.lines.empty());
    EXPECT_NE(delegate->notchStage().shown(), NotchSource::chip);

    // Keep-awake shows a chip of its own (the session chip, captioned
    // "awake"), not a toggle chip.
    fake.log.lines.clear();
    delegate->awake().toggleQuick();
    EXPECT_TRUE(delegate->awake().isActive());
    ASSERT_TRUE(chips.chipMount());
    EXPECT_TRUE(chips.chipMount()->bar()->layout().keys().contains("On"));
}

TEST_F(AppDelegateTest, KeepAwakeFromTheMenuFlipsItsSwitchAndTheIcon)
{
    launch();
    EXPECT_EQ(statusItem().icon().name(), "menubar");
    delegate->statusMenu().onToggleAwake();
    EXPECT_TRUE(delegate->settings().isAwakeEnabled());
    EXPECT_TRUE(delegate->awake().isActive());
    EXPECT_EQ(statusItem().icon().name(), "menubar.session");
    delegate->awake().toggleQuick();
    EXPECT_FALSE(delegate->awake().isActive());
    EXPECT_EQ(statusItem().icon().name(), "menubar");
}

TEST_F(AppDelegateTest, SpacesWarningIsPostedOncePerRun)
{
    fake.spacesImpl.set(false, 0, 0);
    launch();
    delegate->settings().setSweepEnabled(true);
    fake.queue.drain();
    ASSERT_EQ(posts("spaces-api-unavailable"), 1);
    EXPECT_EQ(fake.notifications.posts.back().title, "Quillon: limited window detection");
    EXPECT_TRUE(fake.notifications.posts.back().body.contains("does not report workspaces"));

    delegate->settings().setSweepEnabled(false);
    delegate->settings().setSweepEnabled(true);
    fake.queue.drain();
    EXPECT_EQ(posts("spaces-api-unavailable"), 1);
}

TEST_F(AppDelegateTest, NoSpacesWarningWhenTheWindowManagerReportsWorkspaces)
{
    launch();
    delegate->settings().setSweepEnabled(true);
    fake.queue.drain();
    EXPECT_EQ(posts("spaces-api-unavailable"), 0);
}

TEST_F(AppDelegateTest, LosingAccessibilityPausesWhatNeedsItAndSaysSo)
{
    preset("diagnostics.logging", true);
    preset("snap.isEnabled", true);
    preset("colorPicker.isEnabled", true);
    launch();
    ASSERT_TRUE(delegate->snap().isActive());
    ASSERT_TRUE(delegate->leaderKeys().isRunning());

    fake.permissionsImpl.trusted = false;
    fake.permissionsImpl.notifyTrustChange();
    fake.queue.advance(5);
    EXPECT_FALSE(delegate->snap().isActive());
    EXPECT_FALSE(delegate->leaderKeys().isRunning());
    EXPECT_TRUE(logged("Feature Snap: OFF \u2014 needs Accessibility"));
    ASSERT_EQ(posts("accessibility-lost"), 1);
    EXPECT_EQ(fake.notifications.posts.back().title, "Quillon: Accessibility permission lost");
    EXPECT_TRUE(fake.notifications.posts.back().body.contains("X11 session"));

    fake.permissionsImpl.trusted = true;
    fake.permissionsImpl.notifyTrustChange();
    fake.queue.advance(5);
    EXPECT_TRUE(delegate->snap().isActive());
    EXPECT_TRUE(delegate->leaderKeys().isRunning());
}

TEST_F(AppDelegateTest, NoAccessibilityNoticeWhenNothingNeedsIt)
{
    preset("colorPicker.isEnabled", true);
    launch();
    fake.permissionsImpl.trusted = false;
    fake.permissionsImpl.notifyTrustChange();
    fake.queue.advance(5);
    EXPECT_EQ(posts("accessibility-lost"), 0);
    EXPECT_TRUE(delegate->colorPicker().isActive());
}

TEST_F(AppDelegateTest, GeometryNoticeOnlyWhenTheNotchlessDrawingChanges)
{
    int notices = 0;
    QObject::connect(&NotchGeometry::notifier(), &NotchGeometryNotifier::didChange, [&] { ++notices; });
    preset("notch.onNotchlessDisplays", false);
    launch();
    EXPECT_EQ(notices, 1) << "the drawing starts on, so a setting that is off changes it";
    EXPECT_FALSE(NotchGeometry::drawsWithoutNotch);
    delegate->reconcile();
    EXPECT_EQ(notices, 1);
    delegate->settings().setNotchOnNotchlessDisplays(true);
    EXPECT_EQ(notices, 2);
    EXPECT_TRUE(NotchGeometry::drawsWithoutNotch);
    QObject::disconnect(&NotchGeometry::notifier(), nullptr, nullptr, nullptr);
}

TEST_F(AppDelegateTest, ReopenAndTheMenuOpenSettings)
{
    preset("snap.isEnabled", true);
    launch();
    ASSERT_FALSE(settingsShown());
    EXPECT_TRUE(delegate->applicationShouldHandleReopen());
    EXPECT_TRUE(settingsShown());
    delegate->settingsWindow().window()->close();

    QMenu* menu = statusItem().menu;
    ASSERT_TRUE(menu);
    QStringList titles;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"Keep Awake", "Settings\u2026", "Quit Quillon"}))
        << "no update framework, no update entry";
    menu->actions()[2]->trigger();
    EXPECT_TRUE(settingsShown());
    menu->actions().last()->trigger();
    EXPECT_EQ(fake.appShellImpl.terminations, 1);

    statusItem().click();
    EXPECT_EQ(statusItem().menuPopUps, 1);
    // A right click starts keep-awake and opens nothing.
    statusItem().contextClick();
    EXPECT_TRUE(delegate->awake().isActive());
    EXPECT_EQ(statusItem().menuPopUps, 1);
}

TEST_F(AppDelegateTest, SettingsSnapshotWritesTheListedPanesAndQuits)
{
    QTemporaryDir dir;
    const QString out = dir.path() + "/shots";
    preset("snap.isEnabled", true);
    const QStringList storedBefore = fake.defaults.standard().storedKeys();
    launch({"quillon", "--settings-png", out, "snap,bogus,jump"});
    EXPECT_EQ(fake.appShellImpl.terminations, 0);
    // Beside a running Quillon it must start nothing of its own.
    EXPECT_TRUE(fake.statusBarImpl.items.empty()) << "a second tray icon";
    EXPECT_EQ(fake.permissionsImpl.trustHandlerCount(), 0);
    EXPECT_FALSE(delegate->snap().isActive()) << "reconcile started a feature";
    // Both panes are taller than the window: each gets a bottom capture too.
    fake.queue.advance(SettingsWindowController::snapshotStartDelay +
                       5 * SettingsWindowController::snapshotPaneDelay);
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{"jump-bottom.png", "jump.png", "snap-bottom.png", "snap.png"}));
    EXPECT_EQ(fake.appShellImpl.terminations, 1);
    QImage shot(out + "/snap.png");
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(fake.defaults.standard().storedKeys(), storedBefore) << "the snapshot run wrote settings";
}

TEST_F(AppDelegateTest, TheNowPlayingBarAndAChipFollowTheScreenWhenItChanges)
{
    preset("notch.nowPlaying", true);
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1920, 1080))});
    AppDelegate& app = launch();
    auto frameOf = [&](const QWidget* window) { return *fake.overlays.find(window)->frame; };
    // Where the notch column of a bar's window sits, and its top edge (y up).
    auto notchCentre = [&](const QWidget* window, const NotchBarView& bar) {
        return frameOf(window).x() + bar.captionLeftOverhang() + 14 + bar.leftContentWidth() + 60;
    };
    auto top = [&](const QWidget* window) { return frameOf(window).y() + frameOf(window).height(); };

    fake.nowPlayingImpl.play("Song", "Band");
    ASSERT_TRUE(app.notch().nowPlayingChip().panel());
    EXPECT_DOUBLE_EQ(notchCentre(app.notch().nowPlayingChip().panel(), *app.notch().nowPlayingChip().bar()),
                     960);
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1280, 800))});
    const NowPlayingCatcher* panel = app.notch().nowPlayingChip().panel();
    ASSERT_TRUE(panel);
    EXPECT_DOUBLE_EQ(notchCentre(panel, *app.notch().nowPlayingChip().bar()), 640);
    EXPECT_DOUBLE_EQ(top(panel), 800);

    // A chip takes the notch from now playing, and moves in place too.
    app.notch().controller().showChip(NotchStates::spaceChip(2), 5, false);
    ASSERT_TRUE(app.notch().controller().chipMount());
    const QWidget* chip = app.notch().controller().chipMount()->bar()->window();
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1920, 1200))});
    ASSERT_TRUE(app.notch().controller().chipMount());
    EXPECT_EQ(app.notch().controller().chipMount()->bar()->window(), chip);
    EXPECT_DOUBLE_EQ(notchCentre(chip, *app.notch().controller().chipMount()->bar()), 960);
    EXPECT_DOUBLE_EQ(top(chip), 1200);
}

TEST_F(AppDelegateTest, CallbacksDoNothingOnceTheDelegateIsGone)
{
    launch();
    auto toggle = delegate->statusMenu().onToggleAwake;
    auto duration = delegate->statusMenu().awakeDuration;
    delegate.reset();
    toggle();
    EXPECT_EQ(duration(), 0);
}

TEST_F(AppDelegateTest, TheNowPlayingButtonsPostMediaKeysAndARelaunchNeedReachesTheNotch)
{
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    AppDelegate& app = launch();
    app.notch().nowPlayingChip().onMediaKey(MediaKey::playPause);
    EXPECT_EQ(fake.mediaKeysImpl.posted,
              std::vector<platform::MediaKeys::Key>{platform::MediaKeys::Key::playPause});

    ScreenRecordingPermission::grantedAtLaunch = false;
    ScreenRecordingPermission::restartPromptDismissed = false;
    fake.permissionsImpl.screenCapture = true;
    app.ocr().onRelaunchNeeded();
    EXPECT_TRUE(app.notch().restartPrompt().panel());
    app.notch().restartPrompt().close();
}

} // namespace
} // namespace quillon
