#include "features/snap/SnapFeature.h"
#include "features/SnapFixture.h"
#include "input/DragWatcher.h"
#include "input/HotKeyWatcher.h"
#include "input/ModifierWatcher.h"
#include "platform/HotKeys.h"
#include "settings/Settings.h"

namespace quillon {
namespace {

using platform::KeyFlags::command;
using platform::KeyFlags::control;
using platform::KeyFlags::option;
using platform::KeyFlags::shift;

class SnapFeatureTest : public testing::SnapFixture {
protected:
    SnapFeatureTest()
    {
        feature.onChordHold = [this](bool snappable) { holds.push_back(snappable); };
        feature.onChordRelease = [this] { ++releases; };
        feature.onShortcut = [this](SnapPosition position) { shortcuts.push_back(position); };
    }

    void flags(platform::EventFlags value) { fake.keyEventsImpl.sendFlags(value); }
    /// Fires the registered hot key of a key code and mask.
    void press(uint32_t keyCode, uint32_t modifiers)
    {
        for (const auto& [ref, key] : fake.hotKeysImpl.registered) {
            if (key.keyCode == keyCode && key.modifiers == modifiers)
                return fake.hotKeysImpl.fire(ref);
        }
        ADD_FAILURE() << "no hot key " << keyCode;
    }

    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    ModifierWatcher modifiers;
    DragWatcher drags;
    HotKeyWatcher hotKeyWatcher;
    SnapFeature feature{settings, modifiers, drags, hotKeyWatcher};
    std::vector<bool> holds;
    int releases = 0;
    std::vector<SnapPosition> shortcuts;
};

TEST_F(SnapFeatureTest, ChordHeldForTheDelayReportsTheWindowReleasedEarlyOnlyReleases)
{
    feature.activate();
    flags(control | option);
    fake.queue.advance(0.1);
    flags(0);
    fake.queue.advance(1.0);
    EXPECT_TRUE(holds.empty());
    EXPECT_EQ(releases, 1);
    EXPECT_FALSE(feature.mouseSnap().isOpen());

    settings.setNotchHintDelay(0.5);
    flags(control | option | 0x10000 /* caps lock does not matter */);
    fake.queue.advance(0.4);
    EXPECT_TRUE(holds.empty());
    fake.queue.advance(0.1);
    EXPECT_EQ(holds, std::vector<bool>{true});
    EXPECT_TRUE(feature.mouseSnap().isOpen()) << "the dial opens over a snappable window";
    flags(0);
    EXPECT_EQ(releases, 2);
    EXPECT_FALSE(feature.mouseSnap().isOpen());

    fake.windowControlImpl.findMutable(windowId)->resizable = false;
    flags(control | option);
    fake.queue.advance(0.5);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
    EXPECT_FALSE(feature.mouseSnap().isOpen());
}

TEST_F(SnapFeatureTest, OnlyExactlySuperAndAltMakeTheChord)
{
    feature.activate();
    for (const platform::EventFlags other : {shift, command, platform::EventFlags(0)}) {
        flags(control | option | other);
        fake.queue.advance(1.0);
        flags(0);
    }
    flags(control);
    fake.queue.advance(1.0);
    EXPECT_EQ(holds, std::vector<bool>{true}) << "only the plain chord held";
    // Shift joining a held chord breaks it.
    flags(control | option);
    flags(control | option | shift);
    fake.queue.advance(1.0);
    EXPECT_EQ(holds.size(), 1u);
}

TEST_F(SnapFeatureTest, SubTogglesApplyOnEveryActivation)
{
    struct Row {
        bool shortcuts, drag, mouse, hints;
        size_t hotKeys;
        bool edge, chord;
    };
    const Row table[] = {
        {true, true, true, true, 18, true, true},      {false, true, true, false, 0, true, true},
        {true, false, false, true, 18, false, true},   {true, true, false, false, 18, true, false},
        {false, false, false, false, 0, false, false},
    };
    for (const Row& row : table) {
        settings.setSnapKeyboardShortcuts(row.shortcuts);
        settings.setSnapOnDrag(row.drag);
        settings.setSnapMouseSnap(row.mouse);
        settings.setNotchSnapHints(row.hints);
        feature.activate();
        EXPECT_EQ(feature.hotKeys().ids().size(), row.hotKeys);
        EXPECT_EQ(fake.hotKeysImpl.registered.size(), row.hotKeys);
        EXPECT_EQ(feature.edgeSnap().isStarted(), row.edge);
        EXPECT_EQ(feature.isWatchingChord(), row.chord);
        EXPECT_EQ(modifiers.isRunning(), row.chord);
    }
    feature.activate();
    feature.deactivate();
    EXPECT_FALSE(feature.isActive());
    EXPECT_TRUE(fake.hotKeysImpl.registered.empty());
    EXPECT_FALSE(modifiers.isRunning());
}

TEST_F(SnapFeatureTest, StoppingTheWatchReleasesOnlyAChordThatWasWatched)
{
    // Both sources of the watch off: reconcile after reconcile must not drop
    // another feature's hint row.
    settings.setSnapMouseSnap(false);
    settings.setNotchSnapHints(false);
    feature.activate();
    feature.activate();
    feature.deactivate();
    EXPECT_EQ(releases, 0);

    settings.setNotchSnapHints(true);
    feature.activate();
    settings.setNotchSnapHints(false);
    feature.activate();
    EXPECT_EQ(releases, 1) << "the watch that stops lets go once";
    feature.activate();
    EXPECT_EQ(releases, 1);
}

TEST_F(SnapFeatureTest, HotKeysRegisterOnceMapToSuperAltAndSnap)
{
    feature.activate();
    feature.hotKeys().registerAll();
    EXPECT_EQ(fake.hotKeysImpl.registered.size(), 18u);
    using namespace platform::HotKeyModifiers;
    press(123, controlKey | optionKey);
    EXPECT_EQ(upFrame(), QRectF(0, 0, 720, 875));
    press(51, controlKey | optionKey);
    EXPECT_EQ(upFrame(), QRectF(100, 500, 400, 300));
    EXPECT_EQ(shortcuts, (std::vector<SnapPosition>{SnapPosition::leftHalf, SnapPosition::restore}));

    feature.hotKeys().unregisterAll();
    EXPECT_TRUE(feature.hotKeys().ids().empty());
    EXPECT_TRUE(fake.hotKeysImpl.registered.empty());
    feature.hotKeys().registerAll();
    EXPECT_EQ(fake.hotKeysImpl.registered.size(), 18u);
}

TEST_F(SnapFeatureTest, ARefusedCombinationIsSkippedAndTheOthersWork)
{
    using namespace platform::HotKeyModifiers;
    fake.hotKeysImpl.refused = {{123, controlKey | optionKey}, {124, controlKey | optionKey | cmdKey}};
    feature.activate();
    EXPECT_EQ(feature.hotKeys().ids().size(), 16u);
    press(124, controlKey | optionKey);
    EXPECT_EQ(upFrame(), QRectF(720, 0, 720, 875));
}

TEST_F(SnapFeatureTest, AHotKeySnapClosesAnOpenDialWithoutApplyingIt)
{
    feature.activate();
    flags(control | option);
    fake.queue.advance(1.0);
    ASSERT_TRUE(feature.mouseSnap().isOpen());
    using namespace platform::HotKeyModifiers;
    press(126, controlKey | optionKey);
    EXPECT_FALSE(feature.mouseSnap().isOpen());
    flags(0);
    EXPECT_EQ(fake.windowControlImpl.frameRequests.size(), 1u) << "only the hot key's snap";
    EXPECT_EQ(upFrame(), QRectF(0, 437.5, 1440, 437.5));
}

} // namespace
} // namespace quillon
