#pragma once

#include "platform/UserDefaults.h"
#include "settings/SettingsKeys.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QUuid>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {

/// The one store of user settings. Reads go to the active profile's defaults
/// store; writes that others must notice go through `set()`, which tells every
/// observer after an effective change. The application delegate creates the
/// one instance and hands it to whoever needs settings.
class Settings {
public:
    enum class Profile { one = 1, two = 2 };
    static constexpr std::array<Profile, 2> allProfiles{Profile::one, Profile::two};
    static std::optional<Profile> profileFromRaw(qint64 raw);

    /// How the current workspace number is shown after a switch; kept in
    /// "notch.spaceNumber" and "swipe.showsOSD" rather than a key of its own.
    enum class SpaceFeedback { notch = 0, onScreen = 1, none = 2 };
    static constexpr std::array<SpaceFeedback, 3> allSpaceFeedbacks{
        SpaceFeedback::notch, SpaceFeedback::onScreen, SpaceFeedback::none};
    static std::optional<SpaceFeedback> spaceFeedbackFromRaw(qint64 raw);

    /// A writable path to one typed accessor (a getter and its setter), for
    /// code that is handed "this setting" rather than its key.
    template <typename T>
    struct KeyPath {
        T (Settings::*read)() const;
        void (Settings::*write)(T);
        T get(const Settings& settings) const { return (settings.*read)(); }
        void set(Settings& settings, T value) const { (settings.*write)(value); }
        bool operator==(const KeyPath&) const = default;
    };
    /// The Boolean feature switches ("the switch of this pane") among others.
    using BoolKeyPath = KeyPath<bool>;

    /// Opens the active profile's store (profile two lives in the suite
    /// `suiteName` + ".profile2") and registers the defaults there.
    Settings(platform::UserDefaults& userDefaults, QString suiteName);
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    /// The active profile's store.
    platform::DefaultsStore& defaults() const { return *m_defaults; }
    /// The standard store: profile one's settings and the keys kept outside
    /// the profiles.
    platform::DefaultsStore& root() const { return m_root; }
    const QString& suiteName() const { return m_suiteName; }

    QUuid addObserver(std::function<void()> handler);
    void removeObserver(const QUuid& id);

    /// Stores `value` under `key` and calls every observer unless the key
    /// already held an equal value (numbers compare by value). Keys kept
    /// outside the profiles go to the root store.
    void set(const platform::PlistValue& value, const QString& key);

    // Profiles
    Profile profile() const;
    /// Switches the active store and tells every observer. When profile two's
    /// store cannot be opened the switch does not happen (logged); read
    /// `profile()` back to see it.
    void setProfile(Profile profile);
    /// Profile one's store is `root`; profile two's is the ".profile2" suite,
    /// or none when the database refuses it.
    static platform::DefaultsStore* store(Profile profile, platform::UserDefaults& userDefaults,
                                          const QString& suiteName);
    static void registerDefaults(platform::DefaultsStore& store);

    // Export and import of the active profile
    static const QStringList& allKeys() { return SettingsKeys::exportedKeys(); }
    QString exportJSON(const QJsonObject& extras = {}) const;
    /// False when the document is refused; then nothing is written.
    bool importJSON(const QString& text);
    /// The array under the top-level member `name` of an accepted document.
    std::optional<QJsonArray> importedSection(const QString& name, const QString& text) const;

    // Feature switches
    bool isSnapEnabled() const { return readBool(SettingsKeys::snapIsEnabled); }
    void setSnapEnabled(bool on) { set(on, SettingsKeys::snapIsEnabled); }
    bool isJumpEnabled() const { return readBool(SettingsKeys::jumpIsEnabled); }
    void setJumpEnabled(bool on) { set(on, SettingsKeys::jumpIsEnabled); }
    bool isColorPickerEnabled() const { return readBool(SettingsKeys::colorPickerIsEnabled); }
    void setColorPickerEnabled(bool on) { set(on, SettingsKeys::colorPickerIsEnabled); }
    bool isClipboardEnabled() const { return readBool(SettingsKeys::clipboardIsEnabled); }
    void setClipboardEnabled(bool on) { set(on, SettingsKeys::clipboardIsEnabled); }
    bool isSnippetsEnabled() const { return readBool(SettingsKeys::snippetsIsEnabled); }
    void setSnippetsEnabled(bool on) { set(on, SettingsKeys::snippetsIsEnabled); }
    bool isOCREnabled() const { return readBool(SettingsKeys::ocrIsEnabled); }
    void setOCREnabled(bool on) { set(on, SettingsKeys::ocrIsEnabled); }
    bool isShelfEnabled() const { return readBool(SettingsKeys::shelfIsEnabled); }
    void setShelfEnabled(bool on) { set(on, SettingsKeys::shelfIsEnabled); }
    bool isFocusEnabled() const { return readBool(SettingsKeys::focusIsEnabled); }
    void setFocusEnabled(bool on) { set(on, SettingsKeys::focusIsEnabled); }
    bool isBreaksEnabled() const { return readBool(SettingsKeys::breaksIsEnabled); }
    void setBreaksEnabled(bool on) { set(on, SettingsKeys::breaksIsEnabled); }
    bool isSwipeEnabled() const { return readBool(SettingsKeys::swipeIsEnabled); }
    void setSwipeEnabled(bool on) { set(on, SettingsKeys::swipeIsEnabled); }
    bool isAwakeEnabled() const { return readBool(SettingsKeys::awakeIsEnabled); }
    void setAwakeEnabled(bool on) { set(on, SettingsKeys::awakeIsEnabled); }
    bool isSweepEnabled() const { return readBool(SettingsKeys::sweepIsEnabled); }
    void setSweepEnabled(bool on) { set(on, SettingsKeys::sweepIsEnabled); }
    bool isAutoQuitEnabled() const { return readBool(SettingsKeys::autoQuitIsEnabled); }
    void setAutoQuitEnabled(bool on) { set(on, SettingsKeys::autoQuitIsEnabled); }

    // Sweep and auto-quit
    double quitDelay() const { return m_defaults->doubleForKey(SettingsKeys::sweepDelay); }
    void setQuitDelay(double seconds) { set(seconds, SettingsKeys::sweepDelay); }
    bool keepSelfBackgroundedApps() const { return readBool(SettingsKeys::sweepKeepSelfBackgrounded); }
    void setKeepSelfBackgroundedApps(bool on) { set(on, SettingsKeys::sweepKeepSelfBackgrounded); }
    bool sweepQuitChips() const { return readBool(SettingsKeys::sweepQuitChips); }
    void setSweepQuitChips(bool on) { set(on, SettingsKeys::sweepQuitChips); }
    /// "sweep.onlyListedApps" while "sweep.listMode" is "onlyListed", else "sweep.listedApps".
    QSet<QString> listedApps() const { return readSet(listedAppsKey()); }
    void setListedApps(const QSet<QString>& apps) { writeSet(listedAppsKey(), apps); }
    void toggleListedApp(const QString& bundleID) { toggle(listedAppsKey(), bundleID); }
    /// At least 1.
    qint64 autoQuitMinutes() const;
    void setAutoQuitMinutes(qint64 minutes) { set(minutes, SettingsKeys::autoQuitMinutes); }
    /// "autoQuit.excludedApps" while "autoQuit.listMode" is "excludeListed", else "autoQuit.apps".
    QSet<QString> autoQuitApps() const { return readSet(autoQuitAppsKey()); }
    void setAutoQuitApps(const QSet<QString>& apps) { writeSet(autoQuitAppsKey(), apps); }
    void toggleAutoQuitApp(const QString& bundleID) { toggle(autoQuitAppsKey(), bundleID); }

    // Swipe, keep-awake and breaks
    SpaceFeedback spaceFeedback() const;
    void setSpaceFeedback(SpaceFeedback feedback);
    bool awakeAllowDisplaySleep() const { return readBool(SettingsKeys::awakeAllowDisplaySleep); }
    void setAwakeAllowDisplaySleep(bool on) { set(on, SettingsKeys::awakeAllowDisplaySleep); }
    bool awakeEndOnLowBattery() const { return readBool(SettingsKeys::awakeEndOnLowBattery); }
    void setAwakeEndOnLowBattery(bool on) { set(on, SettingsKeys::awakeEndOnLowBattery); }
    bool awakeOnExternalDisplay() const { return readBool(SettingsKeys::awakeOnExternalDisplay); }
    void setAwakeOnExternalDisplay(bool on) { set(on, SettingsKeys::awakeOnExternalDisplay); }
    bool awakeOnDriveMounted() const { return readBool(SettingsKeys::awakeOnDriveMounted); }
    void setAwakeOnDriveMounted(bool on) { set(on, SettingsKeys::awakeOnDriveMounted); }
    QSet<QString> awakeTriggerApps() const { return readSet(SettingsKeys::awakeTriggerApps); }
    void setAwakeTriggerApps(const QSet<QString>& apps) { writeSet(SettingsKeys::awakeTriggerApps, apps); }
    void toggleTriggerApp(const QString& bundleID) { toggle(SettingsKeys::awakeTriggerApps, bundleID); }
    qint64 breaksWorkIntervalMinutes() const { return readInt(SettingsKeys::breaksWorkIntervalMinutes); }
    void setBreaksWorkIntervalMinutes(qint64 minutes)
    {
        set(minutes, SettingsKeys::breaksWorkIntervalMinutes);
    }
    qint64 breaksBreakSeconds() const { return readInt(SettingsKeys::breaksBreakSeconds); }
    void setBreaksBreakSeconds(qint64 seconds) { set(seconds, SettingsKeys::breaksBreakSeconds); }
    bool breaksPreWarn() const { return readBool(SettingsKeys::breaksPreWarn); }
    void setBreaksPreWarn(bool on) { set(on, SettingsKeys::breaksPreWarn); }
    bool breaksSmartDefer() const { return readBool(SettingsKeys::breaksSmartDefer); }
    void setBreaksSmartDefer(bool on) { set(on, SettingsKeys::breaksSmartDefer); }
    bool breaksDelayedSkip() const { return readBool(SettingsKeys::breaksDelayedSkip); }
    void setBreaksDelayedSkip(bool on) { set(on, SettingsKeys::breaksDelayedSkip); }
    QSet<QString> breaksExcludedApps() const { return readSet(SettingsKeys::breaksExcludedApps); }
    void setBreaksExcludedApps(const QSet<QString>& apps)
    {
        writeSet(SettingsKeys::breaksExcludedApps, apps);
    }
    void toggleBreaksExcludedApp(const QString& bundleID)
    {
        toggle(SettingsKeys::breaksExcludedApps, bundleID);
    }

    // Snap, jump and the notch
    bool snapKeyboardShortcuts() const { return readBool(SettingsKeys::snapKeyboardShortcuts); }
    void setSnapKeyboardShortcuts(bool on) { set(on, SettingsKeys::snapKeyboardShortcuts); }
    bool snapOnDrag() const { return readBool(SettingsKeys::snapOnDrag); }
    void setSnapOnDrag(bool on) { set(on, SettingsKeys::snapOnDrag); }
    bool snapMouseSnap() const { return readBool(SettingsKeys::snapMouseSnap); }
    void setSnapMouseSnap(bool on) { set(on, SettingsKeys::snapMouseSnap); }
    bool jumpHideOnRepeat() const { return readBool(SettingsKeys::jumpHideOnRepeat); }
    void setJumpHideOnRepeat(bool on) { set(on, SettingsKeys::jumpHideOnRepeat); }
    bool jumpCycleSameLetter() const { return readBool(SettingsKeys::jumpCycleSameLetter); }
    void setJumpCycleSameLetter(bool on) { set(on, SettingsKeys::jumpCycleSameLetter); }
    /// Letter (one character) → application id. A stored key that is empty is
    /// skipped; of two stored keys beginning with the same character the first
    /// in key order wins.
    QMap<QString, QString> jumpForced() const;
    void setJumpForced(const QMap<QString, QString>& letters);
    /// Pins `letter` to the application, dropping its earlier pin and the
    /// letter's earlier owner; without a letter (or with a non-letter) it only
    /// unpins the application.
    void setJumpForced(const std::optional<QString>& letter, const QString& bundleID);
    void setJumpIgnored(const QSet<QString>& apps) { writeSet(SettingsKeys::jumpIgnored, apps); }
    QSet<QString> jumpIgnored() const { return readSet(SettingsKeys::jumpIgnored); }
    bool notchLeaderHints() const { return readBool(SettingsKeys::notchLeaderHints); }
    void setNotchLeaderHints(bool on) { set(on, SettingsKeys::notchLeaderHints); }
    bool notchFeatureHints() const { return readBool(SettingsKeys::notchFeatureHints); }
    void setNotchFeatureHints(bool on) { set(on, SettingsKeys::notchFeatureHints); }
    bool notchSnapHints() const { return readBool(SettingsKeys::notchSnapHints); }
    void setNotchSnapHints(bool on) { set(on, SettingsKeys::notchSnapHints); }
    bool notchBatteryChips() const { return readBool(SettingsKeys::notchBatteryChips); }
    void setNotchBatteryChips(bool on) { set(on, SettingsKeys::notchBatteryChips); }
    bool notchDeviceChips() const { return readBool(SettingsKeys::notchDeviceChips); }
    void setNotchDeviceChips(bool on) { set(on, SettingsKeys::notchDeviceChips); }
    bool notchNowPlaying() const { return readBool(SettingsKeys::notchNowPlaying); }
    void setNotchNowPlaying(bool on) { set(on, SettingsKeys::notchNowPlaying); }
    bool notchOnNotchlessDisplays() const { return readBool(SettingsKeys::notchOnNotchlessDisplays); }
    void setNotchOnNotchlessDisplays(bool on) { set(on, SettingsKeys::notchOnNotchlessDisplays); }
    double notchHintDelay() const { return m_defaults->doubleForKey(SettingsKeys::notchHintDelay); }
    void setNotchHintDelay(double seconds) { set(seconds, SettingsKeys::notchHintDelay); }
    /// Within 2 to 20.
    qint64 notchMaxHintItems() const;
    void setNotchMaxHintItems(qint64 count) { set(count, SettingsKeys::notchMaxHintItems); }

    // Shelf, clipboard and diagnostics
    bool shelfConvert() const { return readBool(SettingsKeys::shelfConvert); }
    void setShelfConvert(bool on) { set(on, SettingsKeys::shelfConvert); }
    bool shelfHaptics() const { return readBool(SettingsKeys::shelfHaptics); }
    void setShelfHaptics(bool on) { set(on, SettingsKeys::shelfHaptics); }
    bool shelfSkipThumbnail() const { return readBool(SettingsKeys::shelfSkipThumbnail); }
    void setShelfSkipThumbnail(bool on) { set(on, SettingsKeys::shelfSkipThumbnail); }
    bool shelfAutoScreenshots() const { return readBool(SettingsKeys::shelfAutoScreenshots); }
    void setShelfAutoScreenshots(bool on) { set(on, SettingsKeys::shelfAutoScreenshots); }
    bool shelfRemoveOnDragOut() const { return readBool(SettingsKeys::shelfRemoveOnDragOut); }
    void setShelfRemoveOnDragOut(bool on) { set(on, SettingsKeys::shelfRemoveOnDragOut); }
    QSet<QString> clipboardExcludedApps() const { return readSet(SettingsKeys::clipboardExcludedApps); }
    void setClipboardExcludedApps(const QSet<QString>& apps)
    {
        writeSet(SettingsKeys::clipboardExcludedApps, apps);
    }
    void toggleClipboardExcludedApp(const QString& bundleID)
    {
        toggle(SettingsKeys::clipboardExcludedApps, bundleID);
    }
    bool diagnosticsLogging() const { return readBool(SettingsKeys::diagnosticsLogging); }
    void setDiagnosticsLogging(bool on) { set(on, SettingsKeys::diagnosticsLogging); }

private:
    struct Observer {
        QUuid id;
        std::function<void()> handler;
    };

    bool readBool(const QString& key) const { return m_defaults->boolForKey(key); }
    qint64 readInt(const QString& key) const { return m_defaults->integerForKey(key); }
    QSet<QString> readSet(const QString& key) const;
    void writeSet(const QString& key, const QSet<QString>& values);
    void toggle(const QString& key, const QString& bundleID);
    QString listedAppsKey() const;
    QString autoQuitAppsKey() const;
    void notifyObservers();

    platform::UserDefaults& m_userDefaults;
    platform::DefaultsStore& m_root;
    platform::DefaultsStore* m_defaults;
    QString m_suiteName;
    std::vector<Observer> m_observers;
};

} // namespace quillon
