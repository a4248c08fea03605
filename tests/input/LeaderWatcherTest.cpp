#include "input/LeaderWatcher.h"
#include "fakes/FakePlatform.h"
#include "input/KeyCodes.h"
#include "input/ModifierWatcher.h"

#include <gtest/gtest.h>

using namespace quillon;
namespace F = quillon::platform::KeyFlags;

namespace {

constexpr platform::EventFlags rightCommand = F::command | F::rightCommand;
constexpr platform::EventFlags rightOption = F::option | F::rightOption;
constexpr platform::EventFlags featureLeader = rightCommand | rightOption;
constexpr uint16_t keyA = 0, keyJ = 38, keyK = 40;

// A consumer that takes letters under its leaders.
std::vector<uint16_t> letters(Leader)
{
    std::vector<uint16_t> codes;
    for (const auto& [code, character] : KeyCodes::letterByKeyCode)
        codes.push_back(code);
    return codes;
}

NotchBarItem tile(const QString& badge)
{
    NotchBarItem item;
    item.badge = badge;
    return item;
}

QStringList badges(const std::vector<NotchBarItem>& items)
{
    QStringList out;
    for (const NotchBarItem& item : items)
        out << item.badge.value_or(QString());
    return out;
}

struct LeaderWatcherTest : ::testing::Test {
    LeaderWatcherTest()
    {
        watcher.onHold = [this](Leader leader, const std::vector<NotchBarItem>& items) {
            holds.emplace_back(leader, badges(items));
        };
        watcher.onRelease = [this] { ++releases; };
        watcher.holdDelay = [this] { return delay; };
    }
    void hold(platform::EventFlags flags) { fake.keyEventsImpl.sendFlags(flags); }

    fakes::FakePlatform fake;
    ModifierWatcher modifiers;
    LeaderWatcher watcher{modifiers};
    std::vector<std::pair<Leader, QStringList>> holds;
    int releases = 0;
    double delay = 0.2;
    int ownerA = 0, ownerB = 0;
};

TEST_F(LeaderWatcherTest, RunsWhileItHasConsumersAndStopsWithTheLast)
{
    EXPECT_FALSE(watcher.isRunning());
    watcher.add(&ownerA, {Leader::command}, letters, nullptr, nullptr);
    watcher.add(&ownerB, {Leader::option}, letters, nullptr, nullptr);
    EXPECT_TRUE(watcher.isRunning());
    EXPECT_TRUE(modifiers.isRunning());
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 1);

    watcher.remove(&ownerA);
    EXPECT_TRUE(watcher.isRunning());
    EXPECT_EQ(releases, 0);
    watcher.remove(&ownerB);
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_FALSE(modifiers.isRunning()) << "its modifier handler was the last one";
    EXPECT_FALSE(watcher.keyTap().isStarted());
    EXPECT_EQ(releases, 1) << "stopping takes the hints down";

    // Stopped, the leader arms nothing.
    hold(rightCommand);
    EXPECT_TRUE(fake.interceptorImpl.taps.empty());
}

TEST_F(LeaderWatcherTest, StaysStoppedWithoutKeyTapsAndTriesAgainOnTheNextStart)
{
    fake.interceptorImpl.available = false;
    watcher.add(&ownerA, {Leader::command}, letters, nullptr, nullptr);
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_FALSE(modifiers.isRunning());
    EXPECT_TRUE(fake.log.contains("LeaderWatcher: could not create key tap ("));

    fake.interceptorImpl.available = true;
    watcher.start();
    EXPECT_TRUE(watcher.isRunning());
}

TEST_F(LeaderWatcherTest, KeysGoToConsumersInRegistrationOrderUntilOneTakesThem)
{
    std::vector<QString> calls;
    auto consumer = [&](const QString& name, QChar takes) {
        return [&, name, takes](Leader, QChar ch) {
            calls.push_back(name + ch);
            return ch == takes;
        };
    };
    watcher.add(&ownerA, {Leader::command}, letters, consumer("A", 'j'), nullptr);
    watcher.add(&ownerB, {Leader::command, Leader::feature}, letters, consumer("B", 'k'), nullptr);
    // Registering again replaces the handler but keeps the first place.
    watcher.add(&ownerA, {Leader::command}, letters, consumer("A2", 'j'), nullptr);

    hold(rightCommand);
    for (const uint16_t key : {keyJ, keyK, keyA}) {
        EXPECT_EQ(fake.interceptorImpl.press(key, rightCommand), key != keyA) << "nobody takes A: it passes";
        fake.interceptorImpl.release(key, rightCommand);
    }
    EXPECT_EQ(calls, (std::vector<QString>{"A2j", "A2k", "Bk", "A2a", "Ba"}));

    // Under the feature leader only B serves.
    calls.clear();
    hold(featureLeader);
    EXPECT_TRUE(fake.interceptorImpl.press(keyK, featureLeader));
    EXPECT_EQ(calls, (std::vector<QString>{"Bk"}));
}

// A consumer that leaves from within its key handler stops the watcher while
// the tap is still answering that key; nothing of that key may linger.
TEST_F(LeaderWatcherTest, AConsumerLeavingWhileTakingAKeyLeavesNoStaleKeyBehind)
{
    int calls = 0;
    auto takeAndLeave = [&](Leader, QChar) {
        ++calls;
        watcher.remove(&ownerA);
        return true;
    };
    watcher.add(&ownerA, {Leader::command}, letters, takeAndLeave, nullptr);
    hold(rightCommand);
    EXPECT_TRUE(fake.interceptorImpl.press(keyJ, rightCommand));
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_FALSE(watcher.keyTap().isEnabled());
    hold(0);

    watcher.add(&ownerA, {Leader::command}, letters, takeAndLeave, nullptr);
    hold(rightCommand);
    EXPECT_TRUE(fake.interceptorImpl.press(keyJ, rightCommand));
    EXPECT_EQ(calls, 2) << "the second press is a new key, not a repeat";
}

// Only what some consumer declares for the held leader is taken over, read
// afresh at each press; a leader whose consumers take nothing leaves its own
// key alone too.
TEST_F(LeaderWatcherTest, ArmsOnlyTheKeysItsConsumersDeclareForTheHeldLeader)
{
    std::vector<uint16_t> aKeys{keyJ};
    watcher.add(
        &ownerA, {Leader::command}, [&](Leader) { return aKeys; }, [](Leader, QChar) { return true; },
        nullptr);
    watcher.add(
        &ownerB, {Leader::command, Leader::option},
        [](Leader leader) {
            return leader == Leader::command ? std::vector<uint16_t>{keyK, keyJ} : std::vector<uint16_t>{};
        },
        nullptr, nullptr);
    auto& interceptor = fake.interceptorImpl;
    constexpr uint16_t rightControlKey = 54, rightAltKey = 61;
    // Right Ctrl is taken (the command leader has keys), right Alt is not.
    EXPECT_TRUE(interceptor.holds(rightControlKey));
    EXPECT_FALSE(interceptor.holds(rightAltKey));
    EXPECT_FALSE(interceptor.holds(rightAltKey, rightCommand));

    hold(rightCommand);
    EXPECT_TRUE(interceptor.holds(keyJ, rightCommand));
    EXPECT_TRUE(interceptor.holds(keyK, rightCommand));
    EXPECT_FALSE(interceptor.holds(keyA, rightCommand)) << "nobody declares A";
    hold(0);
    hold(rightOption);
    EXPECT_FALSE(interceptor.holds(keyJ, rightOption)) << "the option leader's consumer declares nothing";
    hold(0);

    // A's declaration changes: read at the next press.
    aKeys = {keyA};
    hold(rightCommand);
    EXPECT_TRUE(interceptor.holds(keyA, rightCommand));
    hold(0);

    // The leader key's own press arms the letters before it goes on, so a
    // letter right behind it is taken.
    EXPECT_FALSE(interceptor.press(rightControlKey, rightCommand));
    EXPECT_TRUE(watcher.keyTap().isEnabled());
    EXPECT_TRUE(interceptor.press(keyA, rightCommand));
    interceptor.release(keyA, rightCommand);
    hold(0);

    // Nobody takes anything under the command leader: right Ctrl is let go.
    watcher.remove(&ownerB);
    aKeys = {};
    watcher.refreshKeys();
    EXPECT_FALSE(interceptor.holds(rightControlKey));
    hold(rightCommand);
    EXPECT_FALSE(watcher.keyTap().isEnabled());
    EXPECT_TRUE(interceptor.taps.empty());
}

TEST_F(LeaderWatcherTest, HintsShowAfterTheHoldDelayInOrderOfRegistration)
{
    watcher.add(&ownerA, {Leader::command}, letters, nullptr, [](Leader) {
        return std::vector{tile("a1"), tile("a2")};
    });
    watcher.add(&ownerB, {Leader::command, Leader::feature}, letters, nullptr,
                [](Leader leader) { return std::vector{tile(leader == Leader::feature ? "bf" : "b")}; });

    delay = 0.35; // read afresh on every press
    hold(rightCommand);
    fake.queue.advance(0.34);
    EXPECT_TRUE(holds.empty());
    fake.queue.advance(0.01);
    ASSERT_EQ(holds.size(), 1u);
    EXPECT_EQ(holds[0], (std::pair<Leader, QStringList>{Leader::command, {"a1", "a2", "b"}}));

    // Option joins: the delay starts again for the feature leader, without a release.
    hold(featureLeader);
    EXPECT_EQ(releases, 0);
    fake.queue.advance(0.35);
    ASSERT_EQ(holds.size(), 2u);
    EXPECT_EQ(holds[1], (std::pair<Leader, QStringList>{Leader::feature, {"bf"}}));

    hold(0);
    EXPECT_EQ(releases, 1);
}

TEST_F(LeaderWatcherTest, NoHintsForAShortPressAnUnservedLeaderOrEmptyTiles)
{
    watcher.add(&ownerA, {Leader::command}, letters, nullptr, [](Leader) { return std::vector{tile("a")}; });
    watcher.add(&ownerB, {Leader::feature}, letters, nullptr,
                [](Leader) { return std::vector<NotchBarItem>{}; });

    // Released before the delay: no hints, one release.
    hold(rightCommand);
    fake.queue.advance(0.1);
    hold(0);
    fake.queue.advance(1);
    EXPECT_TRUE(holds.empty());
    EXPECT_EQ(releases, 1);

    // Right Option: nobody serves it, so nothing is armed; its release still tells.
    hold(rightOption);
    EXPECT_EQ(fake.queue.pendingCount(), 0);
    hold(0);
    EXPECT_EQ(releases, 2);

    // The feature leader's only consumer has no tiles.
    hold(featureLeader);
    fake.queue.advance(1);
    EXPECT_TRUE(holds.empty());
}

TEST_F(LeaderWatcherTest, DismissingDropsThePendingHold)
{
    watcher.add(&ownerA, {Leader::command}, letters, nullptr, [](Leader) { return std::vector{tile("a")}; });
    hold(rightCommand);
    watcher.dismissHint();
    EXPECT_EQ(releases, 1);
    fake.queue.advance(1);
    EXPECT_TRUE(holds.empty());
}

TEST_F(LeaderWatcherTest, TilesKeepTheSourcesOrderAndDuplicates)
{
    using Sources = std::vector<LeaderWatcher::HintSource>;
    auto give = [](QStringList names) {
        return [names](Leader) {
            std::vector<NotchBarItem> items;
            for (const QString& name : names)
                items.push_back(tile(name));
            return items;
        };
    };
    const Sources sources{
        {{Leader::option}, give({"o"})},
        {{Leader::command}, give({"x", "y"})},
        {{Leader::command, Leader::option}, give({"x"})},
        {{Leader::command}, give({})},
    };
    EXPECT_EQ(badges(*LeaderWatcher::tiles(Leader::command, sources)), (QStringList{"x", "y", "x"}));
    EXPECT_EQ(badges(*LeaderWatcher::tiles(Leader::option, sources)), (QStringList{"o", "x"}));
    EXPECT_FALSE(LeaderWatcher::tiles(Leader::feature, sources));
}

} // namespace
