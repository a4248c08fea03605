#include "settings/SettingsKeys.h"

namespace quillon::SettingsKeys {

QString helpExpanded(const QString& paneRawValue)
{
    return helpExpandedPrefix + paneRawValue;
}

bool isRootOnly(const QString& key)
{
    return key == settingsActiveProfile || key == shelfThumbnailHeldByUs ||
           key.startsWith(helpExpandedPrefix);
}

const QMap<QString, platform::PlistValue>& registeredDefaults()
{
    static const QMap<QString, platform::PlistValue> defaults = {
        {sweepIsEnabled, false},
        {sweepDelay, 2.0},
        {sweepListMode, "excludeListed"},
        {sweepStrategy, "efficient"},
        {sweepKeepSelfBackgrounded, true},
        {sweepQuitChips, false},
        {autoQuitIsEnabled, false},
        {autoQuitListMode, "onlyListed"},
        {autoQuitMinutes, qint64(15)},

        {swipeIsEnabled, false},
        {swipeShowsOSD, true},
        {awakeIsEnabled, false},
        {awakeDurationMinutes, qint64(0)},
        {awakeAllowDisplaySleep, false},
        {awakeEndOnLowBattery, true},
        {awakeOnExternalDisplay, false},
        {awakeOnDriveMounted, false},
        {breaksIsEnabled, false},
        {breaksWorkIntervalMinutes, qint64(20)},
        {breaksBreakSeconds, qint64(20)},
        {breaksPreWarn, true},
        {breaksSmartDefer, true},
        {breaksDelayedSkip, true},

        {snapIsEnabled, false},
        {snapKeyboardShortcuts, true},
        {snapOnDrag, true},
        {snapMouseSnap, true},
        {jumpIsEnabled, false},
        {jumpHideOnRepeat, true},
        {jumpCycleSameLetter, true},
        {notchLeaderHints, true},
        {notchFeatureHints, true},
        {notchSpaceNumber, true},
        {notchSnapHints, true},
        {notchBatteryChips, false},
        {notchDeviceChips, false},
        {notchNowPlaying, false},
        {notchOnNotchlessDisplays, true},
        {notchHintDelay, 0.2},
        {notchMaxHintItems, qint64(8)},

        {shelfIsEnabled, false},
        {shelfConvert, true},
        {shelfHaptics, true},
        {shelfSkipThumbnail, false},
        {shelfAutoScreenshots, false},
        {shelfRemoveOnDragOut, false},
        {focusIsEnabled, false},
        {focusAlpha, 0.3},
        {clipboardIsEnabled, false},
        {ocrIsEnabled, false},
        {snippetsIsEnabled, false},
        {colorPickerIsEnabled, false},
        {diagnosticsLogging, false},
        {onboardingIndex, qint64(0)},
        {onboardingDismissed, false},
        {debugSnapZones, false},
        {settingsFreeOnClose, false},
    };
    return defaults;
}

const QStringList& exportedKeys()
{
    static const QStringList keys = {
        sweepIsEnabled,
        sweepDelay,
        sweepListMode,
        sweepListedApps,
        sweepOnlyListedApps,
        sweepStrategy,
        sweepKeepSelfBackgrounded,
        swipeIsEnabled,
        swipeShowsOSD,
        awakeIsEnabled,
        awakeDurationMinutes,
        awakeAllowDisplaySleep,
        awakeEndOnLowBattery,
        snapIsEnabled,
        snapKeyboardShortcuts,
        snapOnDrag,
        jumpIsEnabled,
        jumpForced,
        jumpIgnored,
        jumpHideOnRepeat,
        jumpCycleSameLetter,
        notchLeaderHints,
        notchFeatureHints,
        notchSpaceNumber,
        notchSnapHints,
        notchBatteryChips,
        notchOnNotchlessDisplays,
        shelfIsEnabled,
        shelfConvert,
        shelfHaptics,
        shelfSkipThumbnail,
        notchDeviceChips,
        awakeTriggerApps,
        focusIsEnabled,
        focusAlpha,
        snapMouseSnap,
        breaksIsEnabled,
        breaksWorkIntervalMinutes,
        breaksBreakSeconds,
        breaksPreWarn,
        breaksSmartDefer,
        breaksDelayedSkip,
        breaksExcludedApps,
        clipboardIsEnabled,
        clipboardExcludedApps,
        clipboardSuggestionsHidden,
        ocrIsEnabled,
        notchHintDelay,
        notchMaxHintItems,
        sweepQuitChips,
        shelfAutoScreenshots,
        snippetsIsEnabled,
        debugSnapZones,
        colorPickerIsEnabled,
        notchNowPlaying,
        awakeOnExternalDisplay,
        awakeOnDriveMounted,
        autoQuitIsEnabled,
        autoQuitApps,
        autoQuitExcludedApps,
        autoQuitListMode,
        autoQuitMinutes,
        settingsFreeOnClose,
        diagnosticsLogging,
        shelfRemoveOnDragOut,
    };
    return keys;
}

} // namespace quillon::SettingsKeys
