#pragma once

#include "app/FeatureRegistry.h"
#include "features/snap/SnapPosition.h"
#include "input/DragWatcher.h"
#include "input/FeatureChords.h"
#include "input/HotKeyWatcher.h"
#include "input/LeaderWatcher.h"
#include "input/ModifierWatcher.h"
#include "notch/BatteryMonitor.h"
#include "notch/NotchBarItem.h"
#include "notch/NotchStage.h"
#include "permissions/AccessibilityPermission.h"
#include "settings/Settings.h"
#include "support/Updater.h"

#include <QStringList>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace quillon {

struct LaunchOptions;

class AutoQuitFeature;
class NotchBarView;
struct NotchContent;
class AwakeFeature;
class BreaksFeature;
class ClipboardFeature;
class ColorPickerFeature;
class FocusFeature;
class JumpFeature;
class NotchFeature;
class OCRFeature;
class SettingsWindowController;
class ShelfFeature;
class SnapFeature;
class SnippetsFeature;
class StatusMenuController;
class SweepEngine;
class SwipeFeature;

/// The one owner of every service and feature of the process. It starts
/// them up, switches the features on and off as the settings and the
/// Accessibility trust change (reconcile), and connects what they report.
///
/// The shared services are made at construction; everything else on first use.
class AppDelegate {
public:
    AppDelegate();
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    /// Start-up, once the event loop is about to run; `arguments` are the
    /// process's (for the diagnostic options).
    void applicationDidFinishLaunching(const QStringList& arguments);
    /// Another launch (or the desktop's launcher) asked this one to show itself.
    bool applicationShouldHandleReopen();
    void applicationWillTerminate();

    /// Brings logging, the leader watcher, the notch geometry and every
    /// feature in line with the settings and the trust.
    void reconcile();
    /// Some switched-on feature needs Accessibility.
    bool needsAccessibilityNow() const;

    Settings& settings() { return *m_settings; }
    AccessibilityPermission& permission() { return m_permission; }
    NotchStage& notchStage() { return m_notchStage; }
    LeaderWatcher& leaderKeys();
    FeatureChords& featureChords();

    SweepEngine& sweep();
    SwipeFeature& swipe();
    AwakeFeature& awake();
    SnapFeature& snap();
    JumpFeature& jump();
    NotchFeature& notch();
    ShelfFeature& shelf();
    FocusFeature& focus();
    BreaksFeature& breaks();
    ClipboardFeature& clipboard();
    SnippetsFeature& snippets();
    OCRFeature& ocr();
    ColorPickerFeature& colorPicker();
    AutoQuitFeature& autoQuit();
    StatusMenuController& statusMenu();
    SettingsWindowController& settingsWindow();
    /// The features with their panes, in the fixed order of the walk.
    const std::vector<FeatureEntry>& features();

    /// Whether the feature of this pane has been made yet.
    bool hasFeature(SettingsPane pane) const;

    /// Performs a feature chord (its keycap has been pulsed already).
    void runFeatureKey(FeatureChords::Key key);

    /// The key shown on the snap hint tile of a position; 11 positions have one.
    static const std::map<SnapPosition, QString>& snapHintKeys();
    /// The snap hint row's tiles: the halves and the whole screen left, the
    /// corners, centre and restore right.
    static std::pair<std::vector<NotchBarItem>, std::vector<NotchBarItem>> snapHintItems();

    /// Seconds the recognised-text chip stays.
    static constexpr double ocrChipDuration = 4.5;
    /// Seconds the shelf chord's "drag a file" chip stays.
    static constexpr double shelfHintChipDuration = 1.2;

private:
    void permissionChanged(bool granted);
    void connectStatusMenu();
    void connectFeatureCallbacks();
    void observeDisplays();
    void makeStatusItem();
    void openSettingsOnFirstRun();
    void actOnOptions(const LaunchOptions& options);
    void renderSettingsSnapshot(const LaunchOptions& options);
    void tellIfWayland();
    void pushLiveSettings();
    void snapChordHeld(bool windowSupported);
    void recognisedText(const QString& text);
    void relaunchNeeded();
    void switchProfile(Settings::Profile target);
    // What the delegate shows at the notch; each does nothing while the
    // notch feature is off (the action behind it still happens).
    void chip(const NotchContent& content, double duration);
    /// Under the mounted hint row.
    void caption(const QString& text);
    /// The shelf chord found nothing to show: how to start.
    void shelfChordHint();
    /// Flashes the hint row's key.
    void pulse(const QString& key);
    NotchBarView* hintBar();
    void warnIfSpacesUnavailable();
    /// A callback that does nothing once the delegate is gone (answering
    /// the result type's empty value).
    template <typename F> auto weakly(F&& fn)
    {
        return [weak = std::weak_ptr<AppDelegate*>(m_self), fn = std::forward<F>(fn)](auto&&... args) {
            using Result = decltype(fn(std::declval<AppDelegate&>(), args...));
            if (auto self = weak.lock())
                return fn(**self, args...);
            return Result();
        };
    }
    /// The same, answering `fallback` once the delegate is gone.
    template <typename R, typename F> auto weaklyOr(R fallback, F&& fn)
    {
        return
            [weak = std::weak_ptr<AppDelegate*>(m_self), fallback, fn = std::forward<F>(fn)](auto&&... args) {
                if (auto self = weak.lock())
                    return R(fn(**self, args...));
                return fallback;
            };
    }

    std::unique_ptr<Settings> m_settings;
    AccessibilityPermission m_permission;
    ModifierWatcher m_modifiers;
    BatteryMonitor m_battery;
    DragWatcher m_drags;
    HotKeyWatcher m_hotKeys;
    std::unique_ptr<LeaderWatcher> m_leaderKeys;
    std::unique_ptr<FeatureChords> m_featureChords;
    NotchStage m_notchStage;
    std::unique_ptr<SweepEngine> m_sweep;
    std::unique_ptr<SwipeFeature> m_swipe;
    std::unique_ptr<AwakeFeature> m_awake;
    std::unique_ptr<SnapFeature> m_snap;
    std::unique_ptr<JumpFeature> m_jump;
    std::unique_ptr<NotchFeature> m_notch;
    std::unique_ptr<ShelfFeature> m_shelf;
    std::unique_ptr<FocusFeature> m_focus;
    std::unique_ptr<BreaksFeature> m_breaks;
    std::unique_ptr<ClipboardFeature> m_clipboard;
    std::unique_ptr<SnippetsFeature> m_snippets;
    std::unique_ptr<OCRFeature> m_ocr;
    std::unique_ptr<ColorPickerFeature> m_colorPicker;
    std::unique_ptr<AutoQuitFeature> m_autoQuit;
    std::unique_ptr<StatusMenuController> m_statusMenu;
    Updater m_updater;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    std::vector<FeatureEntry> m_features;
    bool m_warnedSpacesUnavailable = false;
    FeatureRegistry m_registry;
    std::optional<int> m_displaysToken;
    std::shared_ptr<AppDelegate*> m_self;
};

} // namespace quillon
