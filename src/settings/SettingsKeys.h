#pragma once

#include "platform/PlistValue.h"

#include <QMap>
#include <QString>
#include <QStringList>

/// Every key the settings store knows, in one place. Readers that have no
/// typed accessor read these keys from `Settings::defaults()` directly.
namespace quillon::SettingsKeys {

// Sweep and auto-quit
inline const QString sweepIsEnabled = QStringLiteral("sweep.isEnabled");
inline const QString sweepDelay = QStringLiteral("sweep.delay");
inline const QString sweepListMode = QStringLiteral("sweep.listMode");
inline const QString sweepStrategy = QStringLiteral("sweep.strategy");
inline const QString sweepKeepSelfBackgrounded = QStringLiteral("sweep.keepSelfBackgrounded");
inline const QString sweepQuitChips = QStringLiteral("sweep.quitChips");
inline const QString sweepListedApps = QStringLiteral("sweep.listedApps");
inline const QString sweepOnlyListedApps = QStringLiteral("sweep.onlyListedApps");
inline const QString autoQuitIsEnabled = QStringLiteral("autoQuit.isEnabled");
inline const QString autoQuitListMode = QStringLiteral("autoQuit.listMode");
inline const QString autoQuitMinutes = QStringLiteral("autoQuit.minutes");
inline const QString autoQuitApps = QStringLiteral("autoQuit.apps");
inline const QString autoQuitExcludedApps = QStringLiteral("autoQuit.excludedApps");

// Swipe, keep-awake and breaks
inline const QString swipeIsEnabled = QStringLiteral("swipe.isEnabled");
inline const QString swipeShowsOSD = QStringLiteral("swipe.showsOSD");
inline const QString awakeIsEnabled = QStringLiteral("awake.isEnabled");
inline const QString awakeDurationMinutes = QStringLiteral("awake.durationMinutes");
inline const QString awakeAllowDisplaySleep = QStringLiteral("awake.allowDisplaySleep");
inline const QString awakeEndOnLowBattery = QStringLiteral("awake.endOnLowBattery");
inline const QString awakeOnExternalDisplay = QStringLiteral("awake.onExternalDisplay");
inline const QString awakeOnDriveMounted = QStringLiteral("awake.onDriveMounted");
inline const QString awakeTriggerApps = QStringLiteral("awake.triggerApps");
inline const QString breaksIsEnabled = QStringLiteral("breaks.isEnabled");
inline const QString breaksWorkIntervalMinutes = QStringLiteral("breaks.workIntervalMinutes");
inline const QString breaksBreakSeconds = QStringLiteral("breaks.breakSeconds");
inline const QString breaksPreWarn = QStringLiteral("breaks.preWarn");
inline const QString breaksSmartDefer = QStringLiteral("breaks.smartDefer");
inline const QString breaksDelayedSkip = QStringLiteral("breaks.delayedSkip");
inline const QString breaksExcludedApps = QStringLiteral("breaks.excludedApps");

// Snap, jump and the notch
inline const QString snapIsEnabled = QStringLiteral("snap.isEnabled");
inline const QString snapKeyboardShortcuts = QStringLiteral("snap.keyboardShortcuts");
inline const QString snapOnDrag = QStringLiteral("snap.onDrag");
inline const QString snapMouseSnap = QStringLiteral("snap.mouseSnap");
inline const QString jumpIsEnabled = QStringLiteral("jump.isEnabled");
inline const QString jumpHideOnRepeat = QStringLiteral("jump.hideOnRepeat");
inline const QString jumpCycleSameLetter = QStringLiteral("jump.cycleSameLetter");
inline const QString jumpForced = QStringLiteral("jump.forced");
inline const QString jumpIgnored = QStringLiteral("jump.ignored");
inline const QString notchLeaderHints = QStringLiteral("notch.leaderHints");
inline const QString notchFeatureHints = QStringLiteral("notch.featureHints");
inline const QString notchSpaceNumber = QStringLiteral("notch.spaceNumber");
inline const QString notchSnapHints = QStringLiteral("notch.snapHints");
inline const QString notchBatteryChips = QStringLiteral("notch.batteryChips");
inline const QString notchDeviceChips = QStringLiteral("notch.deviceChips");
inline const QString notchNowPlaying = QStringLiteral("notch.nowPlaying");
inline const QString notchOnNotchlessDisplays = QStringLiteral("notch.onNotchlessDisplays");
inline const QString notchHintDelay = QStringLiteral("notch.hintDelay");
inline const QString notchMaxHintItems = QStringLiteral("notch.maxHintItems");

// Shelf, focus, clipboard and the rest
inline const QString shelfIsEnabled = QStringLiteral("shelf.isEnabled");
inline const QString shelfConvert = QStringLiteral("shelf.convert");
inline const QString shelfHaptics = QStringLiteral("shelf.haptics");
inline const QString shelfSkipThumbnail = QStringLiteral("shelf.skipThumbnail");
inline const QString shelfAutoScreenshots = QStringLiteral("shelf.autoScreenshots");
inline const QString shelfRemoveOnDragOut = QStringLiteral("shelf.removeOnDragOut");
inline const QString focusIsEnabled = QStringLiteral("focus.isEnabled");
inline const QString focusAlpha = QStringLiteral("focus.alpha");
inline const QString clipboardIsEnabled = QStringLiteral("clipboard.isEnabled");
inline const QString clipboardExcludedApps = QStringLiteral("clipboard.excludedApps");
inline const QString clipboardSuggestionsHidden = QStringLiteral("clipboard.suggestionsHidden");
inline const QString ocrIsEnabled = QStringLiteral("ocr.isEnabled");
inline const QString snippetsIsEnabled = QStringLiteral("snippets.isEnabled");
inline const QString colorPickerIsEnabled = QStringLiteral("colorPicker.isEnabled");
inline const QString diagnosticsLogging = QStringLiteral("diagnostics.logging");
inline const QString onboardingIndex = QStringLiteral("onboarding.index");
inline const QString onboardingDismissed = QStringLiteral("onboarding.dismissed");
inline const QString debugSnapZones = QStringLiteral("debug.snapZones");
inline const QString settingsFreeOnClose = QStringLiteral("settings.freeOnClose");

// Kept in the root store whatever profile is active: never registered,
// exported or imported.
inline const QString settingsActiveProfile = QStringLiteral("settings.activeProfile");
inline const QString shelfThumbnailHeldByUs = QStringLiteral("shelf.thumbnailHeldByUs");
inline const QString helpExpandedPrefix = QStringLiteral("help.expanded.");

/// "help.expanded." followed by a pane's raw value.
QString helpExpanded(const QString& paneRawValue);
/// True for the keys above that live in the root store only.
bool isRootOnly(const QString& key);

/// The 57 keys with a registered default, each with its value and type.
const QMap<QString, platform::PlistValue>& registeredDefaults();
/// The 65 keys of a settings export, in their fixed order.
const QStringList& exportedKeys();

} // namespace quillon::SettingsKeys
