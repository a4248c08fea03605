#include "app/AppDelegate.h"

#include "app/LaunchOptions.h"
#include "features/autoquit/AutoQuitFeature.h"
#include "features/awake/AwakeFeature.h"
#include "features/breaks/BreaksFeature.h"
#include "features/clipboard/ClipboardFeature.h"
#include "features/colorpicker/ColorPickerFeature.h"
#include "features/focus/FocusFeature.h"
#include "features/jump/JumpFeature.h"
#include "features/ocr/OCRFeature.h"
#include "features/snap/SnapFeature.h"
#include "features/snippets/SnippetsFeature.h"
#include "features/sweep/SweepEngine.h"
#include "features/swipe/SwipeFeature.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "shelf/ScreenshotThumbnail.h"
#include "shelf/ShelfFeature.h"
#include "support/CrashReporter.h"
#include "support/Log.h"
#include "support/MachineInfo.h"
#include "support/Notifier.h"
#include "support/SessionHeader.h"
#include "ui/MenuBarIcon.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusMenuController.h"
#include "windows/WindowSpaces.h"

namespace quillon {

namespace {

QString suiteName()
{
    const QString id = platform::platform().buildInfo().appId;
    return id.isEmpty() ? QStringLiteral("Quillon") : id;
}

template <typename T, typename... Args> T& lazily(std::unique_ptr<T>& slot, Args&&... args)
{
    if (!slot)
        slot = std::make_unique<T>(std::forward<Args>(args)...);
    return *slot;
}

} // namespace

AppDelegate::AppDelegate()
    : m_settings(std::make_unique<Settings>(platform::platform().userDefaults(), suiteName()))
    , m_self(std::make_shared<AppDelegate*>(this))
{
}

AppDelegate::~AppDelegate()
{
    if (m_displaysToken)
        platform::platform().displays().removeChangeHandler(*m_displaysToken);
}

// Lazy parts: each is made on first use, with the services it needs.

LeaderWatcher& AppDelegate::leaderKeys()
{
    return lazily(m_leaderKeys, m_modifiers);
}
FeatureChords& AppDelegate::featureChords()
{
    return lazily(m_featureChords, *m_settings, leaderKeys());
}
SweepEngine& AppDelegate::sweep()
{
    return lazily(m_sweep, *m_settings);
}
SwipeFeature& AppDelegate::swipe()
{
    return lazily(m_swipe, *m_settings);
}
AwakeFeature& AppDelegate::awake()
{
    return lazily(m_awake, *m_settings, m_battery);
}
SnapFeature& AppDelegate::snap()
{
    return lazily(m_snap, *m_settings, m_modifiers, m_drags, m_hotKeys);
}
JumpFeature& AppDelegate::jump()
{
    return lazily(m_jump, *m_settings, leaderKeys());
}
NotchFeature& AppDelegate::notch()
{
    return lazily(m_notch, *m_settings, m_battery, m_notchStage);
}
ShelfFeature& AppDelegate::shelf()
{
    return lazily(m_shelf, *m_settings, m_drags, m_notchStage);
}
FocusFeature& AppDelegate::focus()
{
    return lazily(m_focus, *m_settings);
}
BreaksFeature& AppDelegate::breaks()
{
    return lazily(m_breaks, *m_settings);
}
ClipboardFeature& AppDelegate::clipboard()
{
    return lazily(m_clipboard, *m_settings, m_modifiers);
}
SnippetsFeature& AppDelegate::snippets()
{
    return lazily(m_snippets, *m_settings);
}
OCRFeature& AppDelegate::ocr()
{
    return lazily(m_ocr);
}
ColorPickerFeature& AppDelegate::colorPicker()
{
    return lazily(m_colorPicker, m_hotKeys);
}
AutoQuitFeature& AppDelegate::autoQuit()
{
    return lazily(m_autoQuit, *m_settings);
}
StatusMenuController& AppDelegate::statusMenu()
{
    return lazily(m_statusMenu);
}

SettingsWindowController& AppDelegate::settingsWindow()
{
    if (!m_settingsWindow) {
        // Reading the features in this order makes those not made yet.
        AppFeatures bundle{*m_settings, m_permission, snap(),  jump(),  focus(),  snippets(),
                           clipboard(), shelf(),      notch(), awake(), breaks(), ocr()};
        m_settingsWindow = std::make_unique<SettingsWindowController>(bundle);
    }
    return *m_settingsWindow;
}

const std::vector<FeatureEntry>& AppDelegate::features()
{
    if (m_features.empty()) {
        m_features = {
            {SettingsPane::snap, &snap()},
            {SettingsPane::jump, &jump()},
            {SettingsPane::colorPicker, &colorPicker()},
            {SettingsPane::clipboard, &clipboard()},
            {SettingsPane::snippets, &snippets()},
            {SettingsPane::ocr, &ocr()},
            {SettingsPane::shelf, &shelf()},
            {SettingsPane::focus, &focus()},
            {SettingsPane::breaks, &breaks()},
            {SettingsPane::swipe, &swipe()},
            {SettingsPane::awake, &awake()},
            {SettingsPane::notch, &notch()},
            {SettingsPane::sweep, &sweep()},
            {SettingsPane::autoQuit, &autoQuit()},
        };
    }
    return m_features;
}

bool AppDelegate::hasFeature(SettingsPane pane) const
{
    switch (pane) {
    case SettingsPane::snap:
        return m_snap != nullptr;
    case SettingsPane::jump:
        return m_jump != nullptr;
    case SettingsPane::colorPicker:
        return m_colorPicker != nullptr;
    case SettingsPane::clipboard:
        return m_clipboard != nullptr;
    case SettingsPane::snippets:
        return m_snippets != nullptr;
    case SettingsPane::ocr:
        return m_ocr != nullptr;
    case SettingsPane::shelf:
        return m_shelf != nullptr;
    case SettingsPane::focus:
        return m_focus != nullptr;
    case SettingsPane::breaks:
        return m_breaks != nullptr;
    case SettingsPane::swipe:
        return m_swipe != nullptr;
    case SettingsPane::awake:
        return m_awake != nullptr;
    case SettingsPane::notch:
        return m_notch != nullptr;
    case SettingsPane::sweep:
        return m_sweep != nullptr;
    case SettingsPane::autoQuit:
        return m_autoQuit != nullptr;
    default:
        return false;
    }
}

bool AppDelegate::needsAccessibilityNow() const
{
    return FeatureRegistry::needsAccessibilityNow(*m_settings);
}

// Start-up. The order matters: the features exist before the first
// reconcile switches them, the status item before reconcile draws its icon,
// and the options act on a fully started application.
void AppDelegate::applicationDidFinishLaunching(const QStringList& arguments)
{
    const LaunchOptions options = LaunchOptions::parse(arguments);
    // Taken first, so the snapshot's panes show the grants a launched
    // application sees.
    ScreenRecordingPermission::snapshotAtLaunch();
    if (options.settingsPNG) {
        renderSettingsSnapshot(options);
        return;
    }
    Log::isDebugEnabled = m_settings->diagnosticsLogging();
    CrashReporter::install();
    Log::session([] { return SessionHeader::atLaunch(); });
    tellIfWayland();
    m_permission.onChange = weakly([](AppDelegate& self, bool granted) { self.permissionChanged(granted); });
    featureChords().registerAction(
        weakly([](AppDelegate& self, FeatureChords::Key key) { self.runFeatureKey(key); }));
    m_settings->addObserver(weakly([](AppDelegate& self) { self.reconcile(); }));
    connectStatusMenu();
    connectFeatureCallbacks();
    m_permission.startMonitoring();
    if (needsAccessibilityNow())
        m_permission.requestAccess();
    observeDisplays();
    makeStatusItem();
    settingsWindow();
    reconcile();
    openSettingsOnFirstRun();
    actOnOptions(options);
}

bool AppDelegate::applicationShouldHandleReopen()
{
    settingsWindow().show();
    return true;
}

void AppDelegate::applicationWillTerminate()
{
    Log::debug("Quillon quitting normally");
    // Gives the screenshot thumbnail back, but only a holding of this run's.
    if (ScreenshotThumbnail::claimedHere())
        ScreenshotThumbnail::restore();
}

// Global keys and other programs' windows are out of reach under Wayland;
// the tray menu and the settings still work, so Quillon says so once and
// keeps running.
void AppDelegate::tellIfWayland()
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    const QString text = QStringLiteral("Quillon needs an X11 session: choose an Xorg session at login");
    Log::error(text);
    Log::debug([&] { return text; });
    Notifier::post(QStringLiteral("wayland-session"), QStringLiteral("Quillon"), text);
}

void AppDelegate::permissionChanged(bool granted)
{
    if (!granted && needsAccessibilityNow()) {
        Notifier::post(QStringLiteral("accessibility-lost"),
                       QStringLiteral("Quillon: Accessibility permission lost"),
                       QStringLiteral("Features are paused: window and key control need an X11 session. "
                                      "Log in to an X11 session to resume them."));
    }
    reconcile();
}

void AppDelegate::connectStatusMenu()
{
    StatusMenuController& menu = statusMenu();
    menu.onOpenSettings = weakly([](AppDelegate& self) { self.settingsWindow().show(); });
    menu.walkthroughProgress = weakly([](AppDelegate& self) {
        self.settingsWindow();
        return std::optional<StatusMenuController::WalkthroughProgress>();
    });
    menu.onResumeWalkthrough = weakly([](AppDelegate& self) {
        self.settingsWindow().show();
        self.settingsWindow().select(SettingsPane::gettingStarted);
    });
    menu.onToggleAwake = weakly([](AppDelegate& self) { self.awake().toggleQuick(); });
    menu.awakeSession = weakly([](AppDelegate& self) -> std::optional<StatusMenuController::AwakeSession> {
        AwakeFeature& awake = self.awake();
        if (!awake.isActive())
            return std::nullopt;
        return StatusMenuController::AwakeSession{
            awake.endsAt(), awake.startedByTrigger() ? awake.activeTriggerReason() : std::nullopt};
    });
    menu.awakeDuration = weakly([](AppDelegate& self) {
        return int(self.settings().defaults().integerForKey(SettingsKeys::awakeDurationMinutes));
    });
    menu.setAwakeDuration = weakly([](AppDelegate& self, int minutes) {
        self.settings().set(qint64(minutes), SettingsKeys::awakeDurationMinutes);
    });
    menu.allowsDisplaySleep =
        weakly([](AppDelegate& self) { return self.settings().awakeAllowDisplaySleep(); });
    menu.setAllowsDisplaySleep = weakly([](AppDelegate& self, bool allow) {
        self.settings().set(allow, SettingsKeys::awakeAllowDisplaySleep);
    });
    if (m_updater.controller())
        menu.onCheckForUpdates =
            weakly([](AppDelegate& self) { self.m_updater.controller()->checkForUpdates(); });
}

void AppDelegate::observeDisplays()
{
    m_displaysToken = platform::platform().displays().addChangeHandler(weakly([](AppDelegate& self) {
        Log::debug([] { return QStringLiteral("Displays changed: ") + MachineInfo::displays(); });
        self.notch().displaysChanged();
    }));
}

void AppDelegate::makeStatusItem()
{
    StatusMenuController& menu = statusMenu();
    menu.statusItem = platform::platform().statusBar().makeItem();
    menu.statusItem->setToolTip(QStringLiteral("Quillon"));
    menu.statusItem->setIcon(MenuBarIcon::make(false));
    menu.statusItem->setMenu(&menu.menu());
    menu.statusItem->onClick = weakly([](AppDelegate& self) { self.statusMenu().statusItemClicked(); });
    menu.statusItem->onContextClick =
        weakly([](AppDelegate& self) { self.statusMenu().statusItemContextClicked(); });
}

void AppDelegate::openSettingsOnFirstRun()
{
    bool anyOn = false;
    for (const SettingsPane pane : SettingsPane::features()) {
        if (pane == SettingsPane::awake)
            continue;
        const auto path = pane.enabledKeyPath();
        if (path && path->get(*m_settings)) {
            anyOn = true;
            break;
        }
    }
    // With nowhere to put the tray icon, the window is the only way in.
    const bool noTray = !platform::platform().statusBar().isAvailable();
    if (noTray)
        Log::debug("No system tray: opening the settings window");
    if (!anyOn || noTray)
        settingsWindow().show();
}

void AppDelegate::actOnOptions(const LaunchOptions& options)
{
    if (options.appearance)
        platform::platform().appShell().setAppearance(*options.appearance);
}

// A snapshot run may sit beside a running Quillon: it makes the features and
// the settings window but starts nothing (no status item, no grabs, no
// reconcile, no first-run window, no settings writes), renders and quits.
void AppDelegate::renderSettingsSnapshot(const LaunchOptions& options)
{
    actOnOptions(options);
    settingsWindow().debugSnapshot(options.settingsPNG->directory, options.settingsPNG->panes, [this] {
        platform::platform().appShell().terminate(settingsWindow().snapshotExitStatus());
    });
}

void AppDelegate::reconcile()
{
    const bool logging = m_settings->diagnosticsLogging();
    if (Log::isDebugEnabled != logging) {
        Log::isDebugEnabled = logging;
        Log::session([] { return SessionHeader::diagnosticsOn(); });
    }

    LeaderWatcher& leader = leaderKeys();
    if (m_permission.isGranted()) {
        if (!leader.isRunning() && leader.hasConsumers())
            leader.start();
        // What the consumers take follows the settings just applied.
        leader.refreshKeys();
    } else {
        leader.stop();
    }

    const bool drawsWithoutNotch = m_settings->notchOnNotchlessDisplays();
    if (NotchGeometry::drawsWithoutNotch != drawsWithoutNotch) {
        NotchGeometry::drawsWithoutNotch = drawsWithoutNotch;
        NotchGeometry::notifier().post();
    }

    FeatureRegistry::walk(features(), *m_settings, m_permission.isGranted());
    pushLiveSettings();
    m_registry.reportToggles(features(), notch().isActive(), [this](const NotchContent& content) {
        notch().controller().showChip(content, NotchFeature::chipDuration, true);
    });
    warnIfSpacesUnavailable();
    statusMenu().updateIcon(awake().isActive());
}

void AppDelegate::pushLiveSettings()
{
    focus().applyAlpha(m_settings->defaults().doubleForKey(SettingsKeys::focusAlpha));
    autoQuit().applySettings();
    sweep().syncWatchList();
    if (jump().isActive())
        jump().rebuildAutoBindings();
    awake().applyTriggers();
    breaks().applySettings();
}

void AppDelegate::warnIfSpacesUnavailable()
{
    if (!m_settings->isSweepEnabled() || m_warnedSpacesUnavailable ||
        WindowSpaces::shared().symbolsResolved())
        return;
    m_warnedSpacesUnavailable = true;
    Notifier::post(QStringLiteral("spaces-api-unavailable"),
                   QStringLiteral("Quillon: limited window detection"),
                   QStringLiteral("The window manager does not report workspaces, so an app with a window on "
                                  "another workspace may be quit when you close its last visible window. "
                                  "Everything else works normally."));
}

} // namespace quillon
