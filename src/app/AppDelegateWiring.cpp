// The application delegate as the mediator: what each feature reports is
// connected here, once at launch, to notch chips, menu answers and other
// features' actions, and the feature chords are performed here. Features
// never call one another.

#include "app/AppDelegate.h"

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
#include "notch/NotchStates.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "shelf/ShelfFeature.h"
#include "support/Log.h"
#include "support/Symbols.h"
#include "ui/SettingsWindowController.h"

namespace quillon {

namespace {

QString leaderCaption(Leader leader)
{
    switch (leader) {
    case Leader::command:
        return QStringLiteral("press a key to jump");
    case Leader::option:
        return QStringLiteral("choose window");
    case Leader::feature:
        break;
    }
    return QStringLiteral("features");
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// The break chips: an eye, and a value beside it.
NotchContent breakChip(const QString& value)
{
    NotchBarItem eye;
    eye.icon = Symbols::image(QStringLiteral("eye.fill"));
    NotchBarItem text;
    text.text = value;
    text.value = true;
    NotchContent content;
    content.left = {eye};
    content.right = {text};
    return content;
}

} // namespace

// The features whose callbacks are connected here are made in the order they
// are first connected: sweep, notch, swipe, awake, jump, snippets, ocr,
// colorPicker, breaks, snap.
void AppDelegate::connectFeatureCallbacks()
{
    sweep().onAccessibilityFailure = weakly([](AppDelegate& self) { self.m_permission.refresh(); });
    notch().nowPlayingChip().onMediaKey = weakly([](AppDelegate&, MediaKey key) { key.post(); });
    swipe().onSpaceSwitched =
        weaklyOr(false, [](AppDelegate& self, int number) { return self.notch().showSpaceChip(number); });
    awake().onSessionChange = weakly([](AppDelegate& self, bool active, int minutes) {
        self.chip(NotchStates::sessionChip(active, minutes), NotchFeature::chipDuration);
    });

    LeaderWatcher& leader = leaderKeys();
    leader.holdDelay = weaklyOr(0.2, [](AppDelegate& self) { return self.m_settings->notchHintDelay(); });
    leader.onHold = weakly([](AppDelegate& self, Leader held, const std::vector<NotchBarItem>& items) {
        self.notch().showLeaderHints(items, leaderCaption(held), std::nullopt);
    });
    leader.onRelease = weakly([](AppDelegate& self) { self.notch().controller().dropHints(true, false); });

    FeatureChords& chords = featureChords();
    chords.onHintPress = weakly([](AppDelegate& self, const QString& key) { self.pulse(key); });
    chords.onMediaKey = weakly([](AppDelegate&, MediaKey key) { key.post(); });
    chords.isNowPlayingLive =
        weaklyOr(false, [](AppDelegate& self) { return self.m_settings->notchNowPlaying(); });
    chords.isSnippetsLive = weaklyOr(false, [](AppDelegate& self) { return self.snippets().isActive(); });
    jump().trailingCommandHints = weakly([](AppDelegate& self) {
        std::vector<NotchBarItem> items;
        if (self.featureChords().isSnippetsLive()) {
            NotchBarItem snippets;
            snippets.icon = SettingsPane(SettingsPane::snippets).icon();
            snippets.badge = QStringLiteral(":");
            items.push_back(snippets);
        }
        return items;
    });
    chords.onSnippetPicker = weakly([](AppDelegate& self) {
        self.leaderKeys().dismissHint();
        self.snippets().showPicker();
    });

    snippets().onCopiedWithoutPaste = weakly(
        [](AppDelegate& self) { self.chip(NotchStates::snippetCopiedChip(), NotchFeature::chipDuration); });
    OCRFeature& ocr = this->ocr();
    ocr.onText = weakly([](AppDelegate& self, const QString& text) { self.recognisedText(text); });
    ocr.onEmpty =
        weakly([](AppDelegate& self) { self.chip(NotchStates::ocrChip(QString()), ocrChipDuration); });
    ocr.onPermissionNeeded = weakly(
        [](AppDelegate& self) { self.chip(NotchStates::ocrPermissionChip(), NotchFeature::chipDuration); });
    ocr.onRelaunchNeeded = weakly([](AppDelegate& self) { self.relaunchNeeded(); });
    colorPicker().onColor = weakly([](AppDelegate& self, const QString& hex, const QColor& color) {
        self.chip(NotchStates::colorChip(hex, color), NotchFeature::chipDuration);
    });
    sweep().onAppQuit = weakly([](AppDelegate& self, const QString& name, const std::optional<QIcon>& icon) {
        if (self.notch().isActive() && self.m_settings->sweepQuitChips())
            self.chip(NotchStates::appQuitChip(icon, name), NotchFeature::chipDuration);
    });

    BreaksFeature& breaks = this->breaks();
    breaks.onPreWarn = weakly(
        [](AppDelegate& self) { self.chip(breakChip(QStringLiteral("1m")), NotchFeature::chipDuration); });
    breaks.onCountdownTick = weakly([](AppDelegate& self, int secondsLeft, bool eyeOpen) {
        if (self.notch().isActive())
            self.notch().controller().showLiveChip(NotchStates::breakCountdown(secondsLeft, eyeOpen));
    });
    breaks.onCountdownEnd = weakly([](AppDelegate& self) {
        NotchController& controller = self.notch().controller();
        if (controller.liveChipActive())
            controller.dismissChip();
    });
    // The shelf is made later (by the settings window); it is looked up when
    // the overlay comes, not now.
    breaks.onOverlayVisible = weakly([](AppDelegate& self, bool visible) {
        ShelfController& shelf = self.shelf().controller();
        shelf.suppressed = visible;
        if (visible)
            shelf.collapse();
    });
    breaks.onBreakDone = weakly(
        [](AppDelegate& self) { self.chip(breakChip(QStringLiteral("Done")), NotchFeature::chipDuration); });

    SnapFeature& snap = this->snap();
    snap.onChordHold =
        weakly([](AppDelegate& self, bool windowSupported) { self.snapChordHeld(windowSupported); });
    snap.onChordRelease = weakly([](AppDelegate& self) { self.notch().controller().dropHints(true, false); });
    jump().onHintPress = weakly([](AppDelegate& self, const QString& key) { self.pulse(key); });
    jump().onSpaceJumped = weakly([](AppDelegate& self, int number) { self.notch().showSpaceChip(number); });
    snap.onShortcut = weakly([](AppDelegate& self, SnapPosition position) {
        const auto& keys = snapHintKeys();
        if (const auto key = keys.find(position); key != keys.end())
            self.pulse(key->second);
    });
}

void AppDelegate::recognisedText(const QString& text)
{
    platform::Pasteboard& pasteboard = platform::platform().pasteboard();
    pasteboard.clear();
    pasteboard.writeString(text);
    if (m_settings->isClipboardEnabled())
        clipboard().store().ingest(text);
    chip(NotchStates::ocrChip(text), ocrChipDuration);
}

// The prompt is offered only for a grant that waits for a relaunch and that
// the person has not waved away in this run; otherwise a chip says it.
void AppDelegate::relaunchNeeded()
{
    if (!notch().isActive())
        return;
    if (ScreenRecordingPermission::relaunchNeeded() && !ScreenRecordingPermission::restartPromptDismissed)
        notch().showOCRRestartPrompt();
    else
        chip(NotchStates::ocrRestartChip(), NotchFeature::chipDuration);
}

void AppDelegate::snapChordHeld(bool windowSupported)
{
    if (!windowSupported) {
        notch().showSnapUnsupported();
        return;
    }
    if (!m_settings->snapKeyboardShortcuts())
        return;
    auto [left, right] = snapHintItems();
    if (!notch().isActive() || !m_settings->notchSnapHints())
        return;
    NotchContent content;
    content.left = std::move(left);
    content.right = std::move(right);
    content.caption = QStringLiteral("snap \u00b7 release to place");
    notch().showHintRow(content);
}

const std::map<SnapPosition, QString>& AppDelegate::snapHintKeys()
{
    static const std::map<SnapPosition, QString> keys{
        {SnapPosition::leftHalf, QStringLiteral("\u2190")},
        {SnapPosition::rightHalf, QStringLiteral("\u2192")},
        {SnapPosition::topHalf, QStringLiteral("\u2191")},
        {SnapPosition::bottomHalf, QStringLiteral("\u2193")},
        {SnapPosition::maximize, QStringLiteral("\u23ce")},
        {SnapPosition::topLeft, QStringLiteral("U")},
        {SnapPosition::topRight, QStringLiteral("I")},
        {SnapPosition::bottomLeft, QStringLiteral("J")},
        {SnapPosition::bottomRight, QStringLiteral("K")},
        {SnapPosition::center, QStringLiteral("C")},
        {SnapPosition::restore, QStringLiteral("\u232b")},
    };
    return keys;
}

std::pair<std::vector<NotchBarItem>, std::vector<NotchBarItem>> AppDelegate::snapHintItems()
{
    auto tile = [](SnapPosition position) {
        NotchBarItem item;
        item.icon = SnapIcon::image(position);
        item.badge = snapHintKeys().at(position);
        return item;
    };
    std::vector<NotchBarItem> left, right;
    for (const SnapPosition position :
         {SnapPosition::leftHalf, SnapPosition::rightHalf, SnapPosition::topHalf, SnapPosition::bottomHalf,
          SnapPosition::maximize})
        left.push_back(tile(position));
    for (const SnapPosition position :
         {SnapPosition::topLeft, SnapPosition::topRight, SnapPosition::bottomLeft, SnapPosition::bottomRight,
          SnapPosition::center, SnapPosition::restore})
        right.push_back(tile(position));
    return {left, right};
}

void AppDelegate::shelfChordHint()
{
    caption(QStringLiteral("Shelf \u2014 drag a file to start"));
    NotchBarItem tray;
    tray.icon = Symbols::image(QStringLiteral("tray.full"));
    tray.dimmed = true;
    NotchContent content;
    content.left = {tray};
    content.caption = QStringLiteral("drag a file to start");
    chip(content, shelfHintChipDuration);
}

void AppDelegate::runFeatureKey(FeatureChords::Key key)
{
    switch (key) {
    case FeatureChords::Key::awake:
        awake().toggleQuick();
        caption(QStringLiteral("Awake: ") + onOff(m_settings->isAwakeEnabled()));
        break;
    case FeatureChords::Key::focus:
        m_settings->set(!m_settings->isFocusEnabled(), SettingsKeys::focusIsEnabled);
        caption(QStringLiteral("Focus: ") + onOff(m_settings->isFocusEnabled()));
        break;
    case FeatureChords::Key::shelf:
        if (!shelf().isActive())
            break;
        // The answer may wait for the clipboard; then it comes through here.
        shelf().controller().onNothingToShow = weakly([](AppDelegate& self) { self.shelfChordHint(); });
        if (!shelf().controller().hotkeyInvoked())
            shelfChordHint();
        break;
    case FeatureChords::Key::breaks:
        m_settings->set(!m_settings->isBreaksEnabled(), SettingsKeys::breaksIsEnabled);
        caption(QStringLiteral("Breaks: ") + onOff(m_settings->isBreaksEnabled()));
        break;
    case FeatureChords::Key::ocr:
        leaderKeys().dismissHint();
        ocr().trigger();
        break;
    case FeatureChords::Key::clipboard:
        leaderKeys().dismissHint();
        if (clipboard().isActive()) {
            Log::debug("Clipboard: picker opened");
            clipboard().openMenu();
        }
        break;
    case FeatureChords::Key::settings:
        settingsWindow().show();
        break;
    case FeatureChords::Key::profile1:
        switchProfile(Settings::Profile::one);
        break;
    case FeatureChords::Key::profile2:
        switchProfile(Settings::Profile::two);
        break;
    }
}

// A profile whose store cannot be opened leaves the active one in place;
// the caption says so rather than confirming a switch that did not happen.
void AppDelegate::switchProfile(Settings::Profile target)
{
    const QString name = QStringLiteral("Profile %1").arg(int(target));
    const bool already = m_settings->profile() == target;
    m_settings->setProfile(target);
    if (already) {
        caption(name + QStringLiteral(" already active"));
        return;
    }
    if (m_settings->profile() != target) {
        caption(name + QStringLiteral(" could not be opened"));
        return;
    }
    Log::debug([&] { return QStringLiteral("Settings profile: switched to ") + name; });
    caption(QStringLiteral("Switched to ") + name);
}

void AppDelegate::chip(const NotchContent& content, double duration)
{
    if (notch().isActive())
        notch().controller().showChip(content, duration, true);
}

NotchBarView* AppDelegate::hintBar()
{
    if (!notch().isActive())
        return nullptr;
    const auto& mount = notch().controller().hintMount();
    return mount ? mount->bar() : nullptr;
}

void AppDelegate::caption(const QString& text)
{
    if (NotchBarView* bar = hintBar())
        bar->setCaption(text);
}

void AppDelegate::pulse(const QString& key)
{
    if (NotchBarView* bar = hintBar())
        bar->pulse(key);
}

} // namespace quillon
