#include "SettingsFixture.h"

using namespace quillon;
namespace Keys = quillon::SettingsKeys;
using platform::PlistValue;
using platform::StringDictionary;

namespace {

using SettingsStoreTest = quillon::testing::SettingsFixture;

// Reads and writes a key through its typed accessor pair, as plist values.
struct Accessor {
    std::function<PlistValue(const Settings&)> get;
    std::function<void(Settings&, const PlistValue&)> set;
};

Accessor boolean(bool (Settings::*get)() const, void (Settings::*set)(bool))
{
    return {[=](const Settings& s) { return PlistValue((s.*get)()); },
            [=](Settings& s, const PlistValue& v) { (s.*set)(*v.asBool()); }};
}

Accessor integer(qint64 (Settings::*get)() const, void (Settings::*set)(qint64))
{
    return {[=](const Settings& s) { return PlistValue((s.*get)()); },
            [=](Settings& s, const PlistValue& v) { (s.*set)(*v.asInt()); }};
}

Accessor real(double (Settings::*get)() const, void (Settings::*set)(double))
{
    return {[=](const Settings& s) { return PlistValue((s.*get)()); },
            [=](Settings& s, const PlistValue& v) { (s.*set)(*v.asDouble()); }};
}

const Accessor noAccessor{};

struct DefaultRow {
    QString key;
    PlistValue registered;
    Accessor accessor;
};

const std::vector<DefaultRow>& defaultRows()
{
    using S = Settings;
    static const std::vector<DefaultRow> rows = {
        {Keys::sweepIsEnabled, false, boolean(&S::isSweepEnabled, &S::setSweepEnabled)},
        {Keys::sweepDelay, 2.0, real(&S::quitDelay, &S::setQuitDelay)},
        {Keys::sweepListMode, "excludeListed", noAccessor},
        {Keys::sweepStrategy, "efficient", noAccessor},
        {Keys::sweepKeepSelfBackgrounded, true,
         boolean(&S::keepSelfBackgroundedApps, &S::setKeepSelfBackgroundedApps)},
        {Keys::sweepQuitChips, false, boolean(&S::sweepQuitChips, &S::setSweepQuitChips)},
        {Keys::autoQuitIsEnabled, false, boolean(&S::isAutoQuitEnabled, &S::setAutoQuitEnabled)},
        {Keys::autoQuitListMode, "onlyListed", noAccessor},
        {Keys::autoQuitMinutes, qint64(15), integer(&S::autoQuitMinutes, &S::setAutoQuitMinutes)},
        {Keys::swipeIsEnabled, false, boolean(&S::isSwipeEnabled, &S::setSwipeEnabled)},
        {Keys::swipeShowsOSD, true, noAccessor},
        {Keys::awakeIsEnabled, false, boolean(&S::isAwakeEnabled, &S::setAwakeEnabled)},
        {Keys::awakeDurationMinutes, qint64(0), noAccessor},
        {Keys::awakeAllowDisplaySleep, false,
         boolean(&S::awakeAllowDisplaySleep, &S::setAwakeAllowDisplaySleep)},
        {Keys::awakeEndOnLowBattery, true, boolean(&S::awakeEndOnLowBattery, &S::setAwakeEndOnLowBattery)},
        {Keys::awakeOnExternalDisplay, false,
         boolean(&S::awakeOnExternalDisplay, &S::setAwakeOnExternalDisplay)},
        {Keys::awakeOnDriveMounted, false, boolean(&S::awakeOnDriveMounted, &S::setAwakeOnDriveMounted)},
        {Keys::breaksIsEnabled, false, boolean(&S::isBreaksEnabled, &S::setBreaksEnabled)},
        {Keys::breaksWorkIntervalMinutes, qint64(20),
         integer(&S::breaksWorkIntervalMinutes, &S::setBreaksWorkIntervalMinutes)},
        {Keys::breaksBreakSeconds, qint64(20), integer(&S::breaksBreakSeconds, &S::setBreaksBreakSeconds)},
        {Keys::breaksPreWarn, true, boolean(&S::breaksPreWarn, &S::setBreaksPreWarn)},
        {Keys::breaksSmartDefer, true, boolean(&S::breaksSmartDefer, &S::setBreaksSmartDefer)},
        {Keys::breaksDelayedSkip, true, boolean(&S::breaksDelayedSkip, &S::setBreaksDelayedSkip)},
        {Keys::snapIsEnabled, false, boolean(&S::isSnapEnabled, &S::setSnapEnabled)},
        {Keys::snapKeyboardShortcuts, true, boolean(&S::snapKeyboardShortcuts, &S::setSnapKeyboardShortcuts)},
        {Keys::snapOnDrag, true, boolean(&S::snapOnDrag, &S::setSnapOnDrag)},
        {Keys::snapMouseSnap, true, boolean(&S::snapMouseSnap, &S::setSnapMouseSnap)},
        {Keys::jumpIsEnabled, false, boolean(&S::isJumpEnabled, &S::setJumpEnabled)},
        {Keys::jumpHideOnRepeat, true, boolean(&S::jumpHideOnRepeat, &S::setJumpHideOnRepeat)},
        {Keys::jumpCycleSameLetter, true, boolean(&S::jumpCycleSameLetter, &S::setJumpCycleSameLetter)},
        {Keys::notchLeaderHints, true, boolean(&S::notchLeaderHints, &S::setNotchLeaderHints)},
        {Keys::notchFeatureHints, true, boolean(&S::notchFeatureHints, &S::setNotchFeatureHints)},
        {Keys::notchSpaceNumber, true, noAccessor},
        {Keys::notchSnapHints, true, boolean(&S::notchSnapHints, &S::setNotchSnapHints)},
        {Keys::notchBatteryChips, false, boolean(&S::notchBatteryChips, &S::setNotchBatteryChips)},
        {Keys::notchDeviceChips, false, boolean(&S::notchDeviceChips, &S::setNotchDeviceChips)},
        {Keys::notchNowPlaying, false, boolean(&S::notchNowPlaying, &S::setNotchNowPlaying)},
        {Keys::notchOnNotchlessDisplays, true,
         boolean(&S::notchOnNotchlessDisplays, &S::setNotchOnNotchlessDisplays)},
        {Keys::notchHintDelay, 0.2, real(&S::notchHintDelay, &S::setNotchHintDelay)},
        {Keys::notchMaxHintItems, qint64(8), integer(&S::notchMaxHintItems, &S::setNotchMaxHintItems)},
        {Keys::shelfIsEnabled, false, boolean(&S::isShelfEnabled, &S::setShelfEnabled)},
        {Keys::shelfConvert, true, boolean(&S::shelfConvert, &S::setShelfConvert)},
        {Keys::shelfHaptics, true, boolean(&S::shelfHaptics, &S::setShelfHaptics)},
        {Keys::shelfSkipThumbnail, false, boolean(&S::shelfSkipThumbnail, &S::setShelfSkipThumbnail)},
        {Keys::shelfAutoScreenshots, false, boolean(&S::shelfAutoScreenshots, &S::setShelfAutoScreenshots)},
        {Keys::shelfRemoveOnDragOut, false, boolean(&S::shelfRemoveOnDragOut, &S::setShelfRemoveOnDragOut)},
        {Keys::focusIsEnabled, false, boolean(&S::isFocusEnabled, &S::setFocusEnabled)},
        {Keys::focusAlpha, 0.3, noAccessor},
        {Keys::clipboardIsEnabled, false, boolean(&S::isClipboardEnabled, &S::setClipboardEnabled)},
        {Keys::ocrIsEnabled, false, boolean(&S::isOCREnabled, &S::setOCREnabled)},
        {Keys::snippetsIsEnabled, false, boolean(&S::isSnippetsEnabled, &S::setSnippetsEnabled)},
        {Keys::colorPickerIsEnabled, false, boolean(&S::isColorPickerEnabled, &S::setColorPickerEnabled)},
        {Keys::diagnosticsLogging, false, boolean(&S::diagnosticsLogging, &S::setDiagnosticsLogging)},
        {Keys::onboardingIndex, qint64(0), noAccessor},
        {Keys::onboardingDismissed, false, noAccessor},
        {Keys::debugSnapZones, false, noAccessor},
        {Keys::settingsFreeOnClose, false, noAccessor},
    };
    return rows;
}

TEST_F(SettingsStoreTest, FreshStoreReadsEveryRegisteredDefaultThroughItsAccessor)
{
    ASSERT_EQ(defaultRows().size(), 57u);
    ASSERT_EQ(Keys::registeredDefaults().size(), 57);
    for (const auto& row : defaultRows()) {
        SCOPED_TRACE(row.key.toStdString());
        const auto registered = settings->defaults().object(row.key);
        ASSERT_TRUE(registered.has_value());
        // Same kind and value: a double default must not be registered as an integer.
        EXPECT_EQ(*registered, row.registered);
        EXPECT_FALSE(root().storedValue(row.key).has_value());
        if (row.accessor.get) {
            EXPECT_EQ(row.accessor.get(*settings), row.registered);
        }
    }
    EXPECT_EQ(notifications, 0);
}

TEST_F(SettingsStoreTest, EachSetterWritesItsOwnKeyAndItsGetterReadsIt)
{
    for (const auto& row : defaultRows()) {
        if (!row.accessor.set)
            continue;
        SCOPED_TRACE(row.key.toStdString());
        const PlistValue changed = quillon::testing::otherValue(row.registered);
        notifications = 0;
        row.accessor.set(*settings, changed);
        EXPECT_EQ(root().storedKeys(), QStringList{row.key});
        EXPECT_EQ(*root().storedValue(row.key), changed);
        EXPECT_EQ(row.accessor.get(*settings), changed);
        EXPECT_EQ(notifications, 1);
        root().remove(row.key);
    }
}

TEST_F(SettingsStoreTest, ChangeSetterNotifiesOnlyWhenTheValueChanges)
{
    struct Case {
        const char* name;
        QString key;
        std::optional<PlistValue> stored;
        PlistValue written;
        bool notifies;
    };
    const std::vector<Case> cases = {
        {"equal to the registered default", Keys::snapOnDrag, std::nullopt, true, false},
        {"unequal to the registered default", Keys::snapOnDrag, std::nullopt, false, true},
        {"equal stored value", Keys::sweepListMode, "onlyListed", "onlyListed", false},
        {"2 vs 2.0", Keys::awakeDurationMinutes, qint64(2), 2.0, false},
        {"true vs 1", Keys::snapIsEnabled, qint64(1), true, false},
        {"\"1\" vs 1", Keys::sweepListMode, "1", qint64(1), true},
        {"2 vs 3", Keys::awakeDurationMinutes, qint64(2), qint64(3), true},
        {"0.2 vs \"0.2\"", Keys::notchHintDelay, std::nullopt, "0.2", true},
        {"lists compare in order", Keys::jumpIgnored, QStringList{"a", "b"}, QStringList{"b", "a"}, true},
        {"no value and no default", Keys::jumpIgnored, std::nullopt, QStringList{}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored)
            root().set(c.key, *c.stored);
        notifications = 0;
        settings->set(c.written, c.key);
        EXPECT_EQ(notifications, c.notifies ? 1 : 0);
        // Written whatever the outcome, with the kind it was given.
        EXPECT_EQ(root().storedValue(c.key), c.written);
        root().remove(c.key);
    }
}

TEST_F(SettingsStoreTest, ObserversRunInOrderOverASnapshotOfTheList)
{
    std::vector<QString> calls;
    settings->removeObserver(QUuid::createUuid()); // unknown: changes nothing
    QUuid second;
    settings->addObserver([&] {
        calls.push_back("first");
        settings->removeObserver(second);
        settings->addObserver([&] { calls.push_back("late"); });
    });
    second = settings->addObserver([&] { calls.push_back("second"); });

    settings->setSnapEnabled(true);
    // Removed and added during the pass: the pass still calls exactly those it began with.
    EXPECT_EQ(calls, (std::vector<QString>{"first", "second"}));
    EXPECT_EQ(notifications, 1);
}

TEST_F(SettingsStoreTest, WriteFromAnObserverRunsOneNestedPassWithoutLosingOrDoublingCalls)
{
    std::vector<QString> calls;
    settings->addObserver([&] {
        calls.push_back("writer");
        if (!settings->isFocusEnabled())
            settings->setFocusEnabled(true);
    });
    settings->addObserver([&] { calls.push_back("reader"); });

    settings->setSnapEnabled(true);
    // The outer pass is interrupted by the nested one and then finishes.
    EXPECT_EQ(calls, (std::vector<QString>{"writer", "writer", "reader", "reader"}));
    EXPECT_EQ(notifications, 2);
}

TEST_F(SettingsStoreTest, TheSameHandlerRegisteredTwiceHasTwoIdentities)
{
    int calls = 0;
    const auto handler = [&] { ++calls; };
    const QUuid a = settings->addObserver(handler);
    const QUuid b = settings->addObserver(handler);
    EXPECT_NE(a, b);
    settings->removeObserver(a);
    settings->setSnapEnabled(true);
    EXPECT_EQ(calls, 1);
}

TEST_F(SettingsStoreTest, SpaceFeedbackMapsOntoTwoBooleans)
{
    struct Case {
        Settings::SpaceFeedback feedback;
        bool spaceNumber, showsOSD;
    };
    for (const Case c : {Case{Settings::SpaceFeedback::onScreen, false, true},
                         Case{Settings::SpaceFeedback::none, false, false},
                         Case{Settings::SpaceFeedback::notch, true, true}}) {
        settings->setSpaceFeedback(c.feedback);
        EXPECT_EQ(root().boolForKey(Keys::notchSpaceNumber), c.spaceNumber);
        EXPECT_EQ(root().boolForKey(Keys::swipeShowsOSD), c.showsOSD);
        EXPECT_EQ(settings->spaceFeedback(), c.feedback);
    }
    // With the notch number on, the on-screen flag does not matter.
    root().set(Keys::swipeShowsOSD, false);
    EXPECT_EQ(settings->spaceFeedback(), Settings::SpaceFeedback::notch);
    EXPECT_EQ(Settings::spaceFeedbackFromRaw(1), Settings::SpaceFeedback::onScreen);
    EXPECT_FALSE(Settings::spaceFeedbackFromRaw(3).has_value());
    EXPECT_FALSE(Settings::profileFromRaw(0).has_value());
}

TEST_F(SettingsStoreTest, AppListsFollowTheirListMode)
{
    struct Case {
        QString modeKey;
        std::optional<PlistValue> mode;
        std::function<void(Settings&, const QSet<QString>&)> write;
        std::function<QSet<QString>(const Settings&)> read;
        QString expectedKey;
    };
    const auto writeSweep = [](Settings& s, const QSet<QString>& v) { s.setListedApps(v); };
    const auto readSweep = [](const Settings& s) { return s.listedApps(); };
    const auto writeAuto = [](Settings& s, const QSet<QString>& v) { s.setAutoQuitApps(v); };
    const auto readAuto = [](const Settings& s) { return s.autoQuitApps(); };
    const std::vector<Case> cases = {
        {Keys::sweepListMode, std::nullopt, writeSweep, readSweep, Keys::sweepListedApps},
        {Keys::sweepListMode, "onlyListed", writeSweep, readSweep, Keys::sweepOnlyListedApps},
        {Keys::sweepListMode, "OnlyListed", writeSweep, readSweep, Keys::sweepListedApps},
        {Keys::autoQuitListMode, "excludeListed", writeAuto, readAuto, Keys::autoQuitExcludedApps},
        {Keys::autoQuitListMode, "other", writeAuto, readAuto, Keys::autoQuitApps},
        {Keys::autoQuitListMode, std::nullopt, writeAuto, readAuto, Keys::autoQuitApps},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedKey.toStdString() + " " +
                     (c.mode ? c.mode->debugDescription().toStdString() : ""));
        if (c.mode)
            root().set(c.modeKey, *c.mode);
        c.write(*settings, {"org.b", "org.a", "org.c"});
        EXPECT_EQ(root().stringArrayForKey(c.expectedKey), (QStringList{"org.a", "org.b", "org.c"}));
        EXPECT_EQ(c.read(*settings), (QSet<QString>{"org.a", "org.b", "org.c"}));
        for (const QString& key : root().storedKeys())
            root().remove(key);
    }
    // With no list mode at all, the auto-quit default mode selects the same list.
    root().set(Keys::autoQuitApps, QStringList{"x", "x"});
    EXPECT_EQ(settings->autoQuitApps(), QSet<QString>{"x"});
}

TEST_F(SettingsStoreTest, ClampedReadsLeaveTheStoredValueAlone)
{
    struct Case {
        QString key;
        PlistValue stored;
        qint64 read;
    };
    const std::vector<Case> cases = {
        {Keys::notchMaxHintItems, qint64(0), 2}, {Keys::notchMaxHintItems, qint64(50), 20},
        {Keys::notchMaxHintItems, qint64(2), 2}, {Keys::notchMaxHintItems, qint64(20), 20},
        {Keys::autoQuitMinutes, qint64(0), 1},   {Keys::autoQuitMinutes, qint64(-5), 1},
        {Keys::autoQuitMinutes, qint64(1), 1},   {Keys::notchMaxHintItems, 1e300, 20},
    };
    for (const auto& c : cases) {
        root().set(c.key, c.stored);
        const qint64 read =
            c.key == Keys::autoQuitMinutes ? settings->autoQuitMinutes() : settings->notchMaxHintItems();
        EXPECT_EQ(read, c.read) << c.key.toStdString() << " " << c.stored.debugDescription().toStdString();
        EXPECT_EQ(root().storedValue(c.key), c.stored);
    }
}

TEST_F(SettingsStoreTest, TogglingTwiceGivesBackTheSetAndKeepsItSorted)
{
    struct Case {
        QString key;
        std::function<void(Settings&, const QString&)> toggle;
    };
    const std::vector<Case> cases = {
        {Keys::awakeTriggerApps, [](Settings& s, const QString& id) { s.toggleTriggerApp(id); }},
        {Keys::breaksExcludedApps, [](Settings& s, const QString& id) { s.toggleBreaksExcludedApp(id); }},
        {Keys::clipboardExcludedApps,
         [](Settings& s, const QString& id) { s.toggleClipboardExcludedApp(id); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        root().set(c.key, QStringList{"org.m", "org.b"});
        c.toggle(*settings, "org.a");
        EXPECT_EQ(root().stringArrayForKey(c.key), (QStringList{"org.a", "org.b", "org.m"}));
        c.toggle(*settings, "org.a");
        EXPECT_EQ(root().stringArrayForKey(c.key), (QStringList{"org.b", "org.m"}));
    }
    settings->setJumpIgnored({"z", "a"});
    EXPECT_EQ(root().stringArrayForKey(Keys::jumpIgnored), (QStringList{"a", "z"}));
}

TEST_F(SettingsStoreTest, PinningALetterTakesItFromItsOwnerAndUnpinsTheAppsOldLetter)
{
    settings->setJumpForced(QMap<QString, QString>{{"A", "org.b"}, {"K", "org.c"}, {"M", "org.d"}});
    settings->setJumpForced(QStringLiteral("K"), "org.b");
    EXPECT_EQ(settings->jumpForced(), (QMap<QString, QString>{{"K", "org.b"}, {"M", "org.d"}}));
    EXPECT_EQ(root().dictionaryForKey(Keys::jumpForced), (StringDictionary{{"K", "org.b"}, {"M", "org.d"}}));

    settings->setJumpForced(QStringLiteral("7"), "org.d"); // not a letter: only unpins
    settings->setJumpForced(std::nullopt, "org.b");
    EXPECT_TRUE(settings->jumpForced().isEmpty());

    settings->setJumpForced(QStringLiteral("é"), "org.e");
    EXPECT_EQ(settings->jumpForced(), (QMap<QString, QString>{{"é", "org.e"}}));
}

TEST_F(SettingsStoreTest, StoredLetterMapsAreReadForgivingly)
{
    root().set(Keys::jumpForced,
               StringDictionary{{"", "org.empty"}, {"Kx", "org.k1"}, {"Ky", "org.k2"}, {"e\u0301", "org.e"}});
    // Empty keys are skipped; the first key of each first character wins;
    // a letter with a combining mark is one character.
    EXPECT_EQ(settings->jumpForced(), (QMap<QString, QString>{{"K", "org.k1"}, {"e\u0301", "org.e"}}));

    root().set(Keys::jumpForced, QStringList{"K"});
    EXPECT_TRUE(settings->jumpForced().isEmpty());
}

TEST_F(SettingsStoreTest, KeysOutsideTheProfilesAlwaysGoToTheRootStore)
{
    EXPECT_TRUE(Keys::isRootOnly(Keys::shelfThumbnailHeldByUs));
    EXPECT_TRUE(Keys::isRootOnly(Keys::helpExpanded("snap")));
    EXPECT_FALSE(Keys::isRootOnly(Keys::snapIsEnabled));
    EXPECT_EQ(Keys::helpExpanded("snap"), "help.expanded.snap");

    settings->setProfile(Settings::Profile::two);
    settings->set(true, Keys::shelfThumbnailHeldByUs);
    settings->set(false, Keys::helpExpanded("snap"));
    EXPECT_EQ(root().storedValue(Keys::shelfThumbnailHeldByUs), PlistValue(true));
    EXPECT_EQ(root().storedValue("help.expanded.snap"), PlistValue(false));
    EXPECT_TRUE(profileTwoStore().storedKeys().isEmpty());
}

TEST_F(SettingsStoreTest, FeatureSwitchKeyPathsReadAndWriteThroughTheSetter)
{
    const Settings::BoolKeyPath path{&Settings::isShelfEnabled, &Settings::setShelfEnabled};
    EXPECT_FALSE(path.get(*settings));
    path.set(*settings, true);
    EXPECT_TRUE(settings->isShelfEnabled());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(path, (Settings::BoolKeyPath{&Settings::isShelfEnabled, &Settings::setShelfEnabled}));
}

} // namespace
