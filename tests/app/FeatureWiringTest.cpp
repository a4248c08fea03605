#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "features/awake/AwakeFeature.h"
#include "features/breaks/BreaksFeature.h"
#include "features/clipboard/ClipboardFeature.h"
#include "features/colorpicker/ColorPickerFeature.h"
#include "features/jump/JumpFeature.h"
#include "features/ocr/OCRFeature.h"
#include "features/snap/SnapFeature.h"
#include "features/snap/SnapIcon.h"
#include "features/snippets/SnippetsFeature.h"
#include "features/sweep/SweepEngine.h"
#include "features/swipe/SwipeFeature.h"
#include "notch/NotchBarView.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStates.h"
#include "permissions/ScreenRecordingPermission.h"
#include "shelf/ShelfFeature.h"
#include "support/Log.h"
#include "support/Symbols.h"
#include "ui/SettingsWindowController.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace quillon {
namespace {

// What a bar draws, piece by piece: enough to tell two contents apart.
QStringList partsOf(const NotchBarLayout& layout)
{
    QStringList parts;
    for (const auto& placed : layout.items()) {
        for (const NotchItemPart& part : placed.view.parts)
            parts << QStringLiteral("%1 %2 %3").arg(int(part.kind)).arg(part.text, part.icon.name());
    }
    if (layout.caption())
        parts << "caption " + layout.caption()->view.parts.front().text;
    return parts;
}

NotchBarItem item(const char* symbol, const char* text = nullptr)
{
    NotchBarItem it;
    if (symbol)
        it.icon = Symbols::image(symbol);
    if (text) {
        it.text = QString::fromUtf8(text);
        it.value = true;
    }
    return it;
}

NotchContent content(std::vector<NotchBarItem> left, std::vector<NotchBarItem> right,
                     std::optional<QString> caption = std::nullopt)
{
    return NotchContent{std::move(left), std::move(right), std::move(caption), std::nullopt};
}

// Public: the table rows reach the helpers.
struct FeatureWiringTest : ::testing::Test {
    FeatureWiringTest()
    {
        Log::isDebugEnabled = false;
        NotchGeometry::drawsWithoutNotch = true;
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        fake.defaults.standard().set("diagnostics.logging", true);
    }
    ~FeatureWiringTest() override
    {
        app.reset();
        Log::isDebugEnabled = false;
        NotchGeometry::drawsWithoutNotch = true;
        ScreenRecordingPermission::grantedAtLaunch = false;
        ScreenRecordingPermission::didSnapshot = false;
    }
    AppDelegate& launch()
    {
        app = std::make_unique<AppDelegate>();
        app->applicationDidFinishLaunching({"quillon"});
        fake.queue.drain();
        return *app;
    }
    NotchController& controller() { return app->notch().controller(); }
    /// The pieces of the chip on screen; empty when there is none.
    QStringList chip()
    {
        const auto& mount = controller().chipMount();
        return mount ? partsOf(mount->bar()->layout()) : QStringList();
    }
    QStringList hints()
    {
        const auto& mount = controller().hintMount();
        return mount ? partsOf(mount->bar()->layout()) : QStringList();
    }
    /// The pieces `expected` would show at this notch.
    QStringList drawn(const NotchContent& expected)
    {
        NotchBarView bar(expected, QSizeF(185, 32), NotchController::drop);
        return partsOf(bar.layout());
    }
    /// The chip shows `expected`, and goes after exactly `duration` seconds.
    void expectChip(const NotchContent& expected, double duration)
    {
        EXPECT_EQ(chip(), drawn(expected));
        fake.queue.advance(duration - 0.05);
        EXPECT_EQ(app->notchStage().shown(), NotchSource::chip) << "gone too early";
        fake.queue.advance(1);
        EXPECT_NE(app->notchStage().shown(), NotchSource::chip) << "still there";
    }
    void showFeatureHints()
    {
        app->leaderKeys().onHold(Leader::feature, app->featureChords().hintItems());
        ASSERT_TRUE(controller().hintMount());
    }
    bool hintPulsing()
    {
        const auto& mount = controller().hintMount();
        return mount && !mount->bar()->currentFrame().highlights.empty();
    }
    QString hintCaption()
    {
        const auto& mount = controller().hintMount();
        if (!mount || !mount->bar()->layout().caption())
            return {};
        return mount->bar()->layout().caption()->view.parts.front().text;
    }

    fakes::FakePlatform fake;
    std::unique_ptr<AppDelegate> app;
};

// Every feature callback the delegate connects, fired once: the chip, hint
// row or other feature's action it is connected to.
TEST_F(FeatureWiringTest, EveryFeatureCallbackReachesWhatItIsConnectedTo)
{
    struct Row {
        const char* name;
        std::function<void(FeatureWiringTest&, AppDelegate&)> fire;
        std::function<void(FeatureWiringTest&, AppDelegate&)> check;
    };
    const QIcon appIcon = *Symbols::image("doc.fill");
    const Row rows[] = {
        {"sweep: Accessibility failure re-reads the trust",
         [](auto& t, AppDelegate& a) {
             a.settings().setSnapEnabled(true);
             t.fake.permissionsImpl.trusted = false;
             a.sweep().onAccessibilityFailure();
         },
         [](auto& t, AppDelegate& a) {
             EXPECT_FALSE(a.permission().isGranted());
             EXPECT_FALSE(a.snap().isActive()) << "reconciled";
             EXPECT_EQ(t.fake.notifications.posts.back().identifier, "accessibility-lost");
         }},
        {"now playing: its buttons post media keys",
         [](auto&, AppDelegate& a) { a.notch().nowPlayingChip().onMediaKey(MediaKey::next); },
         [](auto& t, AppDelegate&) {
             EXPECT_EQ(t.fake.mediaKeysImpl.posted, std::vector{platform::MediaKeys::Key::next});
         }},
        {"swipe: the workspace chip, answered",
         [](auto&, AppDelegate& a) { EXPECT_TRUE(a.swipe().onSpaceSwitched(3)); },
         [](auto& t, AppDelegate&) {
             t.expectChip(NotchStates::spaceChip(3), NotchFeature::spaceChipDuration);
         }},
        {"awake: session chip", [](auto&, AppDelegate& a) { a.awake().onSessionChange(true, 30); },
         [](auto& t, AppDelegate&) { t.expectChip(NotchStates::sessionChip(true, 30), 2.5); }},
        {"leader: hold delay from the settings",
         [](auto&, AppDelegate& a) { a.settings().setNotchHintDelay(0.45); },
         [](auto&, AppDelegate& a) { EXPECT_DOUBLE_EQ(a.leaderKeys().holdDelay(), 0.45); }},
        {"leader: feature hints with their caption", [](auto& t, AppDelegate&) { t.showFeatureHints(); },
         [](auto& t, AppDelegate& a) {
             EXPECT_EQ(t.hints(),
                       t.drawn(NotchStates::leaderHints(a.featureChords().hintItems(), "features")));
         }},
        {"leader: command hints say how to jump",
         [](auto&, AppDelegate& a) { a.leaderKeys().onHold(Leader::command, {item(nullptr, "x")}); },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.hints().contains("caption press a key to jump")); }},
        {"leader: option hints say to choose",
         [](auto&, AppDelegate& a) { a.leaderKeys().onHold(Leader::option, {item(nullptr, "x")}); },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.hints().contains("caption choose window")); }},
        {"leader: release drops the hints",
         [](auto& t, AppDelegate& a) {
             t.showFeatureHints();
             a.leaderKeys().onRelease();
         },
         [](auto& t, AppDelegate& a) {
             t.fake.queue.advance(1);
             EXPECT_FALSE(t.controller().hintMount());
             EXPECT_NE(a.notchStage().shown(), NotchSource::hints);
         }},
        {"chords: the pressed key pulses",
         [](auto& t, AppDelegate& a) {
             t.showFeatureHints();
             a.featureChords().onHintPress("F");
         },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.hintPulsing()); }},
        {"chords: media keys are posted",
         [](auto&, AppDelegate& a) { a.featureChords().onMediaKey(MediaKey::previous); },
         [](auto& t, AppDelegate&) {
             EXPECT_EQ(t.fake.mediaKeysImpl.posted, std::vector{platform::MediaKeys::Key::previous});
         }},
        {"chords: now playing follows its switch",
         [](auto&, AppDelegate& a) { a.settings().setNotchNowPlaying(true); },
         [](auto&, AppDelegate& a) { EXPECT_TRUE(a.featureChords().isNowPlayingLive()); }},
        {"chords and jump: snippets live while switched on",
         [](auto&, AppDelegate& a) { a.settings().setSnippetsEnabled(true); },
         [](auto&, AppDelegate& a) {
             EXPECT_TRUE(a.featureChords().isSnippetsLive());
             const auto trailing = a.jump().trailingCommandHints();
             ASSERT_EQ(trailing.size(), 1u);
             EXPECT_EQ(trailing[0].badge, ":");
             EXPECT_EQ(trailing[0].icon->name(), "text.append");
             a.settings().setSnippetsEnabled(false);
             EXPECT_FALSE(a.featureChords().isSnippetsLive());
             EXPECT_TRUE(a.jump().trailingCommandHints().empty());
         }},
        {"chords: the snippet picker takes the hints down",
         [](auto& t, AppDelegate& a) {
             t.showFeatureHints();
             a.featureChords().onSnippetPicker();
         },
         [](auto& t, AppDelegate&) {
             t.fake.queue.advance(1);
             EXPECT_FALSE(t.controller().hintMount());
         }},
        {"snippets: copied without paste", [](auto&, AppDelegate& a) { a.snippets().onCopiedWithoutPaste(); },
         [](auto& t, AppDelegate&) { t.expectChip(NotchStates::snippetCopiedChip(), 2.5); }},
        {"ocr: text with the history off: pasteboard only",
         [](auto&, AppDelegate& a) { a.ocr().onText("Invoice 42"); },
         [](auto& t, AppDelegate& a) {
             EXPECT_EQ(t.fake.pasteboardImpl.text, "Invoice 42");
             EXPECT_EQ(t.fake.pasteboardImpl.clears, 1);
             EXPECT_TRUE(a.clipboard().store().entries.empty());
             t.expectChip(NotchStates::ocrChip("Invoice 42"), AppDelegate::ocrChipDuration);
         }},
        {"ocr: text with the history on: pasteboard and history",
         [](auto&, AppDelegate& a) {
             a.settings().setClipboardEnabled(true);
             a.ocr().onText("Invoice 42");
         },
         [](auto& t, AppDelegate& a) {
             EXPECT_EQ(t.fake.pasteboardImpl.text, "Invoice 42");
             ASSERT_EQ(a.clipboard().store().entries.size(), 1u);
             EXPECT_EQ(a.clipboard().store().entries[0].text, "Invoice 42");
         }},
        {"ocr: nothing recognised", [](auto&, AppDelegate& a) { a.ocr().onEmpty(); },
         [](auto& t, AppDelegate&) { t.expectChip(NotchStates::ocrChip(QString()), 4.5); }},
        {"ocr: capture not allowed", [](auto&, AppDelegate& a) { a.ocr().onPermissionNeeded(); },
         [](auto& t, AppDelegate&) { t.expectChip(NotchStates::ocrPermissionChip(), 2.5); }},
        {"ocr: relaunch needed but capture was allowed at launch",
         [](auto&, AppDelegate& a) {
             ScreenRecordingPermission::grantedAtLaunch = true;
             a.ocr().onRelaunchNeeded();
         },
         [](auto& t, AppDelegate&) { t.expectChip(NotchStates::ocrRestartChip(), 2.5); }},
        {"colour picker: the colour chip",
         [](auto&, AppDelegate& a) { a.colorPicker().onColor("#1E90FF", QColor("#1E90FF")); },
         [](auto& t, AppDelegate&) {
             t.expectChip(NotchStates::colorChip("#1E90FF", QColor("#1E90FF")), 2.5);
         }},
        {"sweep: a quit app with quit chips on",
         [appIcon](auto&, AppDelegate& a) {
             a.settings().setSweepQuitChips(true);
             a.sweep().onAppQuit("Files", appIcon);
         },
         [appIcon](auto& t, AppDelegate&) { t.expectChip(NotchStates::appQuitChip(appIcon, "Files"), 2.5); }},
        {"sweep: a quit app with quit chips off",
         [appIcon](auto&, AppDelegate& a) {
             a.settings().setSweepQuitChips(false);
             a.sweep().onAppQuit("Files", appIcon);
         },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.chip().isEmpty()); }},
        {"breaks: the warning a minute before", [](auto&, AppDelegate& a) { a.breaks().onPreWarn(); },
         [](auto& t, AppDelegate&) {
             t.expectChip(content({item("eye.fill")}, {item(nullptr, "1m")}), 2.5);
         }},
        {"breaks: countdown ticks in a live chip, its end dismisses it",
         [](auto&, AppDelegate& a) { a.breaks().onCountdownTick(42, true); },
         [](auto& t, AppDelegate& a) {
             EXPECT_EQ(t.chip(), t.drawn(NotchStates::breakCountdown(42, true)));
             EXPECT_TRUE(t.controller().liveChipActive());
             a.breaks().onCountdownEnd();
             EXPECT_FALSE(t.controller().liveChipActive());
             t.fake.queue.advance(1);
             EXPECT_NE(a.notchStage().shown(), NotchSource::liveChip);
         }},
        {"breaks: the overlay holds the shelf shut",
         [](auto&, AppDelegate& a) { a.breaks().onOverlayVisible(true); },
         [](auto&, AppDelegate& a) {
             EXPECT_TRUE(a.shelf().controller().suppressed);
             a.breaks().onOverlayVisible(false);
             EXPECT_FALSE(a.shelf().controller().suppressed);
         }},
        {"breaks: done", [](auto&, AppDelegate& a) { a.breaks().onBreakDone(); },
         [](auto& t, AppDelegate&) {
             t.expectChip(content({item("eye.fill")}, {item(nullptr, "Done")}), 2.5);
         }},
        {"snap: chord held over a window that snaps",
         [](auto&, AppDelegate& a) { a.snap().onChordHold(true); },
         [](auto& t, AppDelegate&) {
             auto [left, right] = AppDelegate::snapHintItems();
             EXPECT_EQ(t.hints(), t.drawn(content(left, right, "snap \u00b7 release to place")));
         }},
        {"snap: hints shown after timed hints are not taken down by their timer",
         [](auto&, AppDelegate& a) {
             a.notch().showLeaderHints({item(nullptr, "x")}, std::nullopt, 1.0);
             a.snap().onChordHold(true);
         },
         [](auto& t, AppDelegate&) {
             t.fake.queue.advance(2);
             EXPECT_TRUE(t.hints().contains("caption snap \u00b7 release to place"));
         }},
        {"snap: chord held over a window that does not, shortcuts off",
         [](auto&, AppDelegate& a) {
             a.settings().setSnapKeyboardShortcuts(false);
             a.snap().onChordHold(false);
         },
         [](auto& t, AppDelegate&) {
             EXPECT_TRUE(t.hints().contains("caption Snap: window not supported"));
         }},
        {"snap: shortcuts off, a window that snaps: no hints",
         [](auto&, AppDelegate& a) {
             a.settings().setSnapKeyboardShortcuts(false);
             a.snap().onChordHold(true);
         },
         [](auto& t, AppDelegate&) { EXPECT_FALSE(t.controller().hintMount()); }},
        {"snap: chord released drops the hints",
         [](auto&, AppDelegate& a) {
             a.snap().onChordHold(true);
             a.snap().onChordRelease();
         },
         [](auto& t, AppDelegate&) {
             t.fake.queue.advance(1);
             EXPECT_FALSE(t.controller().hintMount());
         }},
        {"jump: the jumped-to key pulses",
         [](auto& t, AppDelegate& a) {
             t.showFeatureHints();
             a.jump().onHintPress("A");
         },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.hintPulsing()); }},
        {"jump: a jump to a workspace shows its number",
         [](auto&, AppDelegate& a) { a.jump().onSpaceJumped(4); },
         [](auto& t, AppDelegate&) {
             t.expectChip(NotchStates::spaceChip(4), NotchFeature::spaceChipDuration);
         }},
        {"snap: a shortcut pulses its key on the snap hints",
         [](auto&, AppDelegate& a) {
             a.snap().onChordHold(true);
             a.snap().onShortcut(SnapPosition::leftHalf);
         },
         [](auto& t, AppDelegate&) { EXPECT_TRUE(t.hintPulsing()); }},
        {"snap: a shortcut without a key pulses nothing",
         [](auto&, AppDelegate& a) {
             a.snap().onChordHold(true);
             a.snap().onShortcut(SnapPosition::leftThird);
         },
         [](auto& t, AppDelegate&) { EXPECT_FALSE(t.hintPulsing()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fake.defaults.standard().set("snap.keyboardShortcuts", true);
        fake.permissionsImpl.trusted = true;
        fake.pasteboardImpl = {};
        fake.mediaKeysImpl.posted.clear();
        launch();
        row.fire(*this, *app);
        fake.queue.drain();
        row.check(*this, *app);
        app.reset();
    }
}

TEST_F(FeatureWiringTest, WithTheNotchOffNothingShowsButTheActionHappens)
{
    launch();
    app->notch().deactivate();
    app->ocr().onText("serial 7");
    app->awake().onSessionChange(true, 10);
    app->leaderKeys().onHold(Leader::feature, app->featureChords().hintItems());
    app->snap().onChordHold(false);
    EXPECT_EQ(fake.pasteboardImpl.text, "serial 7");
    EXPECT_FALSE(controller().chipMount());
    EXPECT_FALSE(controller().hintMount());
}

TEST_F(FeatureWiringTest, CallbacksAnswerTheirDefaultsOnceTheDelegateIsGone)
{
    launch();
    auto delay = app->leaderKeys().holdDelay;
    auto spaceChip = app->swipe().onSpaceSwitched;
    auto snippetsLive = app->featureChords().isSnippetsLive;
    auto trailing = app->jump().trailingCommandHints;
    auto text = app->ocr().onText;
    app->settings().setNotchHintDelay(0.6);
    app.reset();
    EXPECT_DOUBLE_EQ(delay(), 0.2);
    EXPECT_FALSE(spaceChip(2));
    EXPECT_FALSE(snippetsLive());
    EXPECT_TRUE(trailing().empty());
    text("late");
    EXPECT_FALSE(fake.pasteboardImpl.text);
}

// The chord actions with the feature hints up, where their captions go.
TEST_F(FeatureWiringTest, ChordActionsToggleAndConfirmUnderTheHints)
{
    struct Row {
        FeatureChords::Key key;
        const char* setting;
        const char* caption;
    };
    const Row rows[] = {
        {FeatureChords::Key::awake, "awake.isEnabled", "Awake: on"},
        {FeatureChords::Key::focus, "focus.isEnabled", "Focus: on"},
        {FeatureChords::Key::breaks, "breaks.isEnabled", "Breaks: on"},
    };
    launch();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        showFeatureHints();
        app->runFeatureKey(row.key);
        EXPECT_TRUE(fake.defaults.standard().boolForKey(row.setting)) << "stored through the settings";
        EXPECT_EQ(hintCaption(), row.caption);
        app->runFeatureKey(row.key);
        EXPECT_FALSE(fake.defaults.standard().boolForKey(row.setting));
        EXPECT_EQ(hintCaption(), QString(row.caption).replace("on", "off"));
    }
    // The toggles went through the store: reconcile switched the features.
    app->runFeatureKey(FeatureChords::Key::awake);
    EXPECT_TRUE(app->awake().isActive());
}

TEST_F(FeatureWiringTest, ProfileChordsSwitchSayAlreadyOrSayTheProfileCannotOpen)
{
    // Diagnostics on in both profiles, so the switch line is written.
    fake.defaults.suite("app.quillon.Quillon.profile2")->set("diagnostics.logging", true);
    launch();
    showFeatureHints();
    app->runFeatureKey(FeatureChords::Key::profile1);
    EXPECT_EQ(hintCaption(), "Profile 1 already active");
    EXPECT_FALSE(fake.log.contains("Settings profile: switched to"));

    app->runFeatureKey(FeatureChords::Key::profile2);
    EXPECT_EQ(app->settings().profile(), Settings::Profile::two);
    EXPECT_EQ(hintCaption(), "Switched to Profile 2");
    EXPECT_TRUE(fake.log.contains("Settings profile: switched to Profile 2"));
    app->runFeatureKey(FeatureChords::Key::profile1);
    EXPECT_EQ(hintCaption(), "Switched to Profile 1");

    // A second profile the defaults refuse: no switch, and no confirmation of one.
    fake.defaults.refusedSuites.insert(app->settings().suiteName() + ".profile2");
    fake.log.lines.clear();
    app->runFeatureKey(FeatureChords::Key::profile2);
    EXPECT_EQ(app->settings().profile(), Settings::Profile::one);
    EXPECT_EQ(hintCaption(), "Profile 2 could not be opened");
    EXPECT_FALSE(fake.log.contains("Settings profile: switched to"));
}

TEST_F(FeatureWiringTest, ShelfChordOnlyWhileTheShelfIsOnAndNothingWasAdded)
{
    launch();
    showFeatureHints();
    app->runFeatureKey(FeatureChords::Key::shelf);
    EXPECT_EQ(hintCaption(), "features") << "shelf off: nothing";
    EXPECT_FALSE(controller().hasPendingChip());

    app->settings().setShelfEnabled(true);
    showFeatureHints();
    app->runFeatureKey(FeatureChords::Key::shelf);
    EXPECT_EQ(hintCaption(), "Shelf \u2014 drag a file to start");
    // The chip waits for the hints to go, then stays 1.2 s.
    EXPECT_TRUE(controller().hasPendingChip());
    app->leaderKeys().onRelease();
    fake.queue.advance(0.6);
    NotchBarItem tray = item("tray.full");
    tray.dimmed = true;
    EXPECT_EQ(chip(), drawn(content({tray}, {}, "drag a file to start")));
}

TEST_F(FeatureWiringTest, ShelfChordInTheFileManagerHintsOnceTheSelectionAnswersEmpty)
{
    launch();
    app->settings().setShelfEnabled(true);
    fake.fileManagerSelectionImpl.frontmost = true;
    fake.fileManagerSelectionImpl.holdReads = true;
    showFeatureHints();
    app->runFeatureKey(FeatureChords::Key::shelf);
    EXPECT_EQ(hintCaption(), "features") << "the selection has not answered yet";
    fake.fileManagerSelectionImpl.answer();
    EXPECT_EQ(hintCaption(), "Shelf \u2014 drag a file to start");
}

TEST_F(FeatureWiringTest, ToolChordsTakeTheHintsDown)
{
    launch();
    for (const FeatureChords::Key key : {FeatureChords::Key::ocr, FeatureChords::Key::clipboard}) {
        showFeatureHints();
        app->runFeatureKey(key);
        fake.queue.advance(1);
        EXPECT_FALSE(controller().hintMount());
    }
    app->runFeatureKey(FeatureChords::Key::settings);
    EXPECT_TRUE(app->settingsWindow().window()->isVisible());
}

TEST_F(FeatureWiringTest, SnapHintTilesCarryTheirKeysAndGlyphs)
{
    const auto [left, right] = AppDelegate::snapHintItems();
    QStringList keys;
    for (const auto* side : {&left, &right}) {
        for (const NotchBarItem& tile : *side) {
            keys << tile.badge.value_or("?");
            EXPECT_TRUE(tile.icon) << tile.badge->toStdString();
            EXPECT_FALSE(tile.text || tile.pulseKey || tile.value || tile.dimmed);
        }
    }
    EXPECT_EQ(keys, (QStringList{"\u2190", "\u2192", "\u2191", "\u2193", "\u23ce", "U", "I", "J", "K", "C",
                                 "\u232b"}));
    EXPECT_EQ(right.back().icon->name(), "arrow.uturn.backward");
    EXPECT_EQ(AppDelegate::snapHintKeys().size(), 11u);
    // Every position has a glyph: a screen glyph for a target area, else its symbol.
    for (const SnapPosition position : allSnapPositions) {
        EXPECT_TRUE(SnapIcon::image(position).has_value());
        EXPECT_EQ(SnapIcon::targetArea(position).has_value(), !SnapIcon::symbolImage(position).has_value());
    }
}

} // namespace
} // namespace quillon
