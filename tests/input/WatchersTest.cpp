#include "fakes/FakePlatform.h"
#include "input/DragWatcher.h"
#include "input/HotKeyWatcher.h"
#include "input/ModifierWatcher.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::KeyEvent;
namespace F = quillon::platform::KeyFlags;

namespace {

struct Watchers : ::testing::Test {
    fakes::FakePlatform fake;
    int ownerA = 0;
    int ownerB = 0;
};

// --- ModifierWatcher

TEST_F(Watchers, ModifierListeningIsOpenExactlyWhileSomebodyListens)
{
    ModifierWatcher watcher;
    std::vector<platform::EventFlags> seenA, seenB;
    watcher.add(&ownerA, [&](platform::EventFlags f) { seenA.push_back(f); });
    watcher.add(&ownerB, [&](platform::EventFlags f) { seenB.push_back(f); });
    watcher.add(&ownerA, [&](platform::EventFlags f) { seenA.push_back(f | 1u << 31); });
    EXPECT_EQ(fake.keyEventsImpl.installs, 1);
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 1);

    fake.keyEventsImpl.sendFlags(F::command | F::rightCommand);
    // Only modifier changes reach the handlers.
    fake.keyEventsImpl.send({KeyEvent::Type::keyDown, 0, F::command | F::rightCommand, false});
    EXPECT_EQ(seenA, (std::vector<platform::EventFlags>{F::command | F::rightCommand | 1u << 31}));
    EXPECT_EQ(seenB, (std::vector<platform::EventFlags>{F::command | F::rightCommand}));

    watcher.remove(&ownerA);
    EXPECT_TRUE(watcher.isRunning());
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 1);
    watcher.remove(&ownerB);
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 0);
    fake.keyEventsImpl.sendFlags(0);
    EXPECT_EQ(seenB.size(), 1u);
}

TEST_F(Watchers, ModifierHandlerMayRemoveItsOwnerWhileCalled)
{
    ModifierWatcher watcher;
    int calls = 0;
    watcher.add(&ownerA, [&](platform::EventFlags) {
        ++calls;
        watcher.remove(&ownerA);
    });
    fake.keyEventsImpl.sendFlags(F::shift | F::leftShift);
    fake.keyEventsImpl.sendFlags(0);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(watcher.isRunning());
}

TEST_F(Watchers, ModifierWatcherWithoutAKeyStreamLogsAndRetriesOnTheNextAdd)
{
    fake.keyEventsImpl.available = false;
    ModifierWatcher watcher;
    int calls = 0;
    watcher.add(&ownerA, [&](platform::EventFlags) { ++calls; });
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_TRUE(fake.log.contains("ModifierWatcher: could not create flags tap ("));

    fake.keyEventsImpl.available = true;
    watcher.add(&ownerB, [](platform::EventFlags) {});
    ASSERT_TRUE(watcher.isRunning());
    fake.keyEventsImpl.sendFlags(F::option | F::rightOption);
    EXPECT_EQ(calls, 1); // the first owner's handler was kept
}

// --- DragWatcher

TEST_F(Watchers, DragReportsEveryMovementAndOneEnd)
{
    DragWatcher watcher;
    std::vector<DragWatcher::Event> seen;
    watcher.add(&ownerA, [&](DragWatcher::Event e) { seen.push_back(e); });
    watcher.add(&ownerB, [](DragWatcher::Event) {});
    EXPECT_EQ(fake.pointerImpl.dragMonitorCount(), 1);

    fake.pointerImpl.drag(platform::DragPhase::ended); // a click: no drag under way
    fake.pointerImpl.drag(platform::DragPhase::dragged);
    fake.pointerImpl.drag(platform::DragPhase::dragged);
    fake.pointerImpl.drag(platform::DragPhase::ended);
    fake.pointerImpl.drag(platform::DragPhase::ended);
    using E = DragWatcher::Event;
    EXPECT_EQ(seen, (std::vector<E>{E::dragged, E::dragged, E::ended}));

    watcher.remove(&ownerB);
    EXPECT_EQ(fake.pointerImpl.dragMonitorCount(), 1);
}

TEST_F(Watchers, RemovingTheLastDragHandlerMidDragForgetsTheDrag)
{
    DragWatcher watcher;
    std::vector<DragWatcher::Event> seen;
    watcher.add(&ownerA, [&](DragWatcher::Event e) { seen.push_back(e); });
    fake.pointerImpl.drag(platform::DragPhase::dragged);
    watcher.remove(&ownerA);
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_EQ(fake.pointerImpl.dragMonitorCount(), 0);

    // A new listener does not get the end of the drag it never saw.
    std::vector<DragWatcher::Event> later;
    watcher.add(&ownerB, [&](DragWatcher::Event e) { later.push_back(e); });
    fake.pointerImpl.drag(platform::DragPhase::ended);
    EXPECT_EQ(seen, std::vector<DragWatcher::Event>{DragWatcher::Event::dragged});
    EXPECT_TRUE(later.empty());
}

// --- HotKeyWatcher

TEST_F(Watchers, HotKeysGetIdsFromOneThatAreNeverReused)
{
    HotKeyWatcher watcher;
    using namespace platform::HotKeyModifiers;
    int left = 0, right = 0;
    const auto first = watcher.registerHotKey(123, controlKey | optionKey, [&] { ++left; });
    const auto second = watcher.registerHotKey(124, controlKey | optionKey, [&] { ++right; });
    ASSERT_EQ(first, 1u);
    ASSERT_EQ(second, 2u);
    EXPECT_EQ(fake.hotKeysImpl.handlerCount(), 1);
    const auto& attempt = fake.hotKeysImpl.attempts.front();
    EXPECT_EQ(attempt.keyCode, 123u);
    EXPECT_EQ(attempt.modifiers, controlKey | optionKey);
    EXPECT_EQ(attempt.id, (platform::HotKeyId{HotKeyWatcher::signature, 1}));

    fake.hotKeysImpl.fireId({HotKeyWatcher::signature, 2});
    EXPECT_EQ(right, 1);
    EXPECT_EQ(left, 0);

    watcher.unregister(*first);
    fake.hotKeysImpl.fireId({HotKeyWatcher::signature, 1});
    EXPECT_EQ(left, 0);
    EXPECT_EQ(fake.hotKeysImpl.registered.size(), 1u);
    EXPECT_EQ(watcher.registerHotKey(123, controlKey | optionKey, [] {}), 3u);

    watcher.unregister(*second);
    watcher.unregister(3);
    EXPECT_FALSE(watcher.hasHandler());
    EXPECT_EQ(fake.hotKeysImpl.handlerCount(), 0);
    EXPECT_EQ(watcher.registerHotKey(126, controlKey, [] {}), 4u);
}

TEST_F(Watchers, HotKeyPressesWithAForeignSignatureAreIgnored)
{
    HotKeyWatcher watcher;
    int calls = 0;
    ASSERT_EQ(watcher.registerHotKey(0, platform::HotKeyModifiers::cmdKey, [&] { ++calls; }), 1u);
    fake.hotKeysImpl.fireId({0x41424344, 1});
    EXPECT_EQ(calls, 0);
    fake.hotKeysImpl.fire(fake.hotKeysImpl.registered.begin()->first);
    EXPECT_EQ(calls, 1);
}

TEST_F(Watchers, RefusedHotKeyIsLoggedAndLeavesNoHandlerInstalled)
{
    HotKeyWatcher watcher;
    fake.hotKeysImpl.refused.insert({49, platform::HotKeyModifiers::cmdKey});
    EXPECT_EQ(watcher.registerHotKey(49, platform::HotKeyModifiers::cmdKey, [] {}), std::nullopt);
    EXPECT_TRUE(fake.log.contains("HotKeyWatcher: registration failed (status 10)"));
    EXPECT_FALSE(watcher.hasHandler());
    EXPECT_EQ(fake.hotKeysImpl.handlerCount(), 0);

    // A failure beside a registered key keeps the handler for that key, and
    // the refused attempt used up no id.
    ASSERT_EQ(watcher.registerHotKey(0, platform::HotKeyModifiers::cmdKey, [] {}), 1u);
    EXPECT_EQ(watcher.registerHotKey(49, platform::HotKeyModifiers::cmdKey, [] {}), std::nullopt);
    EXPECT_TRUE(watcher.hasHandler());
    EXPECT_EQ(watcher.registerHotKey(1, platform::HotKeyModifiers::cmdKey, [] {}), 2u);
}

TEST_F(Watchers, OutOfRangeHotKeyCodesAreRefusedNotTrapped)
{
    HotKeyWatcher watcher;
    for (const int64_t code : {int64_t(-1), int64_t(1) << 32}) {
        EXPECT_EQ(watcher.registerHotKey(code, 0, [] {}), std::nullopt) << code;
        EXPECT_TRUE(fake.log.contains(QStringLiteral("HotKeyWatcher: invalid key code %1").arg(code)));
    }
    EXPECT_TRUE(fake.hotKeysImpl.attempts.empty());
    EXPECT_FALSE(watcher.hasHandler());
    EXPECT_EQ(watcher.registerHotKey(0, 0, [] {}), 1u);
}

TEST_F(Watchers, HotKeyActionMayUnregisterItself)
{
    HotKeyWatcher watcher;
    int calls = 0;
    std::optional<uint32_t> id;
    id = watcher.registerHotKey(0, 0, [&] {
        ++calls;
        watcher.unregister(*id);
    });
    const int ref = fake.hotKeysImpl.registered.begin()->first;
    fake.hotKeysImpl.fire(ref);
    fake.hotKeysImpl.fireId({HotKeyWatcher::signature, *id});
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(watcher.hasHandler());
}

} // namespace
