#include "fakes/FakePlatform.h"
#include "input/KeyTap.h"
#include "input/SyntheticPaste.h"
#include "input/TransientKeyTap.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::KeyEvent;
namespace F = quillon::platform::KeyFlags;

namespace {

constexpr platform::EventFlags rightCommand = F::command | F::rightCommand;
constexpr platform::EventFlags rightOption = F::option | F::rightOption;
constexpr platform::EventFlags leftOption = F::option | F::leftOption;
constexpr platform::EventFlags leftCommand = F::command | F::leftCommand;
constexpr platform::EventFlags leftShift = F::shift | F::leftShift;
constexpr platform::EventFlags leftControl = F::control | F::leftControl;
constexpr uint16_t keyA = 0, keyJ = 38, keyV = 9, key1 = 18, keySemicolon = 41, keyGrave = 50, keyComma = 43,
                   keyEscape = 53;

struct KeyTaps : ::testing::Test {
    fakes::FakePlatform fake;
    fakes::FakeKeyInterceptor& interceptor = fake.interceptorImpl;
};

// --- KeyTap

struct LeaderTap : KeyTaps {
    LeaderTap()
    {
        tap.onKey = [this](Leader leader, QChar ch) {
            taken.emplace_back(leader, ch);
            return ch != 'k';
        };
        tap.onLeaderChange = [this](std::optional<Leader> leader) { changes.push_back(leader); };
    }
    KeyTap tap;
    std::vector<std::pair<Leader, QChar>> taken;
    std::vector<std::optional<Leader>> changes;
};

TEST_F(LeaderTap, ArmedOnlyWhileALeaderIsHeldOrASwallowedKeyIsDown)
{
    ASSERT_TRUE(tap.start());
    EXPECT_FALSE(tap.isEnabled());
    EXPECT_TRUE(interceptor.taps.empty());
    // Ordinary typing reaches no tap at all.
    EXPECT_FALSE(interceptor.press(keyJ));

    tap.handleFlags(rightCommand);
    EXPECT_TRUE(tap.isEnabled());
    EXPECT_TRUE(interceptor.press(keyJ, rightCommand));
    // J's auto-repeats are swallowed without asking the consumer again.
    EXPECT_TRUE(interceptor.press(keyJ, rightCommand, true));
    // The leader goes while J is still down: the tap stays for J's release.
    tap.handleFlags(0);
    EXPECT_TRUE(tap.isEnabled());
    // Its repeats, which the keyboard grab still brings here, stay swallowed.
    EXPECT_TRUE(tap.handleKey(KeyEvent{KeyEvent::Type::keyDown, keyJ, 0, true}));
    EXPECT_TRUE(interceptor.release(keyJ));
    EXPECT_FALSE(tap.isEnabled());
    EXPECT_TRUE(interceptor.taps.empty());

    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::command, 'j'}}));
    EXPECT_EQ(changes, (std::vector<std::optional<Leader>>{Leader::command, std::nullopt}));
}

TEST_F(LeaderTap, EachLeaderTakesTheKeysItsConsumersCanBeHanded)
{
    struct Row {
        platform::EventFlags leader;
        uint16_t key;
        platform::EventFlags held;
        bool taken;
    };
    const Row rows[] = {
        {rightCommand, keyJ, rightCommand, true},
        {rightCommand, keyJ, rightCommand | leftShift, true},
        {rightCommand, keySemicolon, rightCommand, true},
        {rightCommand, keyComma, rightCommand, true},
        {rightCommand, key1, rightCommand, true},
        {rightCommand, keyGrave, rightCommand, false},
        // Control with any leader passes, so it is never taken.
        {rightCommand, keyJ, rightCommand | leftControl, false},
        {rightCommand | leftOption, keyGrave, rightCommand | leftOption, true},
        {rightCommand | leftOption, key1, rightCommand | leftOption, true},
        {rightCommand | rightOption, keyJ, rightCommand | rightOption, true},
        {rightCommand | leftOption, keySemicolon, rightCommand | leftOption, false},
        {rightOption, keyJ, rightOption, true},
        {rightOption, keyJ, rightOption | leftShift, true},
        {rightOption, key1, rightOption, false},
        // Right Option with Command passes.
        {rightOption, keyJ, rightOption | leftCommand, false},
    };
    ASSERT_TRUE(tap.start());
    for (const Row& row : rows) {
        tap.handleFlags(row.leader);
        EXPECT_EQ(interceptor.holds(row.key, row.held), row.taken)
            << std::hex << row.leader << " " << std::dec << row.key << " " << std::hex << row.held;
        tap.handleFlags(0);
        EXPECT_TRUE(interceptor.taps.empty());
    }
}

TEST_F(LeaderTap, OptionJoiningRearmsForTheFeatureLeaderAndARefusedKeyPasses)
{
    ASSERT_TRUE(tap.start());
    tap.handleFlags(rightCommand);
    tap.handleFlags(rightCommand | leftOption);
    ASSERT_EQ(interceptor.taps.size(), 1u);
    EXPECT_TRUE(interceptor.holds(keyGrave, rightCommand | leftOption));
    EXPECT_FALSE(interceptor.holds(keySemicolon, rightCommand));
    EXPECT_TRUE(interceptor.press(keyGrave, rightCommand | leftOption));
    EXPECT_TRUE(interceptor.release(keyGrave));
    // The consumer refuses K: it passes, and so does its release.
    EXPECT_FALSE(interceptor.press(40, rightCommand | leftOption));
    EXPECT_FALSE(interceptor.release(40));

    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::feature, '~'}, {Leader::feature, 'k'}}));
    EXPECT_EQ(changes, (std::vector<std::optional<Leader>>{Leader::command, Leader::feature}));
}

// A key taken under one leader and still down when the leader changes to one
// that has no use for it: its release must still reach the tap, or the tap
// would stay armed and swallow the key's next press unasked.
TEST_F(LeaderTap, ASwallowedKeyIsStillHeardAfterTheLeaderChanges)
{
    ASSERT_TRUE(tap.start());
    tap.handleFlags(rightCommand);
    EXPECT_TRUE(interceptor.press(keyComma, rightCommand));
    tap.handleFlags(rightCommand | leftOption);
    tap.handleFlags(rightOption);
    EXPECT_TRUE(interceptor.release(keyComma, rightOption));
    tap.handleFlags(0);
    EXPECT_FALSE(tap.isEnabled());
    EXPECT_TRUE(interceptor.taps.empty());

    tap.handleFlags(rightCommand);
    EXPECT_TRUE(interceptor.press(keyComma, rightCommand));
    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::command, ','}, {Leader::command, ','}}));
}

TEST_F(LeaderTap, WithoutKeyTapsTheLeaderIsStillReportedButNothingIsTaken)
{
    interceptor.available = false;
    EXPECT_FALSE(tap.start());
    tap.handleFlags(rightOption);
    EXPECT_FALSE(tap.isEnabled());
    EXPECT_EQ(interceptor.arms, 0);
    EXPECT_EQ(changes, (std::vector<std::optional<Leader>>{Leader::option}));

    // Once taps work, stop forgets the held leader and disarms.
    interceptor.available = true;
    ASSERT_TRUE(tap.start());
    tap.handleFlags(rightCommand);
    EXPECT_TRUE(interceptor.press(keyJ, rightCommand));
    tap.stop();
    EXPECT_TRUE(interceptor.taps.empty());
    EXPECT_FALSE(tap.isEnabled());
}

// --- TransientKeyTap

struct Transient : KeyTaps {
    std::vector<TransientKeyTap::KeyEvent> seen;
    auto recorder(bool answer)
    {
        return [this, answer](const TransientKeyTap::KeyEvent& e) {
            seen.push_back(e);
            return answer;
        };
    }
};

TEST_F(Transient, ConsumingTapSwallowsWhatItsOwnerAsksAndHearsReleasesOnlyWhenWatched)
{
    const platform::KeyGrab keys{{keyEscape, keyA}, {0, F::shift}};
    {
        TransientKeyTap tap(true, false, 0, keys);
        tap.onKey = recorder(true);
        tap.arm();
        tap.arm();
        EXPECT_EQ(interceptor.arms, 1);
        EXPECT_TRUE(interceptor.press(keyEscape));
        EXPECT_TRUE(interceptor.release(keyEscape));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].code, keyEscape);
        EXPECT_FALSE(seen[0].isKeyUp);
    }
    // Gone with its owner.
    EXPECT_TRUE(interceptor.taps.empty());

    seen.clear();
    TransientKeyTap watching(true, true, 0, keys);
    watching.onKey = recorder(false);
    watching.arm();
    EXPECT_FALSE(interceptor.press(keyA, leftShift, true));
    EXPECT_FALSE(interceptor.release(keyA, leftShift));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].isRepeat);
    EXPECT_EQ(seen[0].flags, leftShift);
    EXPECT_TRUE(seen[1].isKeyUp);
    watching.disarm();
    EXPECT_TRUE(interceptor.taps.empty());
}

TEST_F(Transient, ListeningTapHearsEveryKeyAndNeverTakesOne)
{
    TransientKeyTap tap(false, false);
    tap.onKey = recorder(true);
    tap.arm();
    EXPECT_TRUE(interceptor.taps.empty());
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 1);
    fake.keyEventsImpl.send({KeyEvent::Type::keyDown, keyV, leftCommand, false});
    fake.keyEventsImpl.send({KeyEvent::Type::keyUp, keyV, leftCommand, false});
    fake.keyEventsImpl.sendFlags(0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].code, keyV);
    tap.disarm();
    EXPECT_EQ(fake.keyEventsImpl.listenerCount(), 0);
}

TEST_F(Transient, OurOwnPastePassesUntouchedAndTheSameKeyFromOthersDoesNot)
{
    TransientKeyTap tap(true, true, 0, platform::KeyGrab{{keyV}, {F::command}});
    tap.onKey = recorder(true);
    tap.arm();

    ASSERT_TRUE(SyntheticPaste::paste());
    KeyEvent down{KeyEvent::Type::keyDown, keyV, leftCommand, false};
    down.fromSyntheticDevice = true;
    EXPECT_FALSE(interceptor.press(down));
    EXPECT_TRUE(seen.empty());
    // Once the stroke has come back, the next synthetic V is somebody else's.
    EXPECT_TRUE(interceptor.press(down));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(Transient, ScrollWheelReachesTheOwnerOnlyWhenWatchedAndTypesNoText)
{
    fake.keyCharactersImpl.text[{keyA, leftShift}] = "A";
    TransientKeyTap plain(true, true, 0, platform::KeyGrab{{keyA}, {F::shift}});
    plain.arm();
    EXPECT_EQ(fake.pointerImpl.scrollMonitorCount(), 0);

    TransientKeyTap tap(true, false, TransientKeyTap::scrollWheelMask, platform::KeyGrab{{keyA}, {F::shift}});
    tap.onKey = recorder(true);
    tap.arm();
    fake.pointerImpl.scroll(5);
    EXPECT_TRUE(interceptor.press(keyA, leftShift));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, -1);
    EXPECT_EQ(seen[0].characters(), "");
    EXPECT_EQ(seen[1].characters(), "A");
    tap.disarm();
    EXPECT_EQ(fake.pointerImpl.scrollMonitorCount(), 0);
}

TEST_F(Transient, WithoutKeyTapsArmingDoesNothing)
{
    interceptor.available = false;
    TransientKeyTap tap(true, true, TransientKeyTap::scrollWheelMask, platform::KeyGrab{{keyA}});
    tap.arm();
    EXPECT_FALSE(tap.isArmed());
    EXPECT_EQ(fake.pointerImpl.scrollMonitorCount(), 0);
}

// --- SyntheticPaste

TEST_F(KeyTaps, PostKeyPostsWholeStrokesAndRefusesCodesOutOfRange)
{
    using Stroke = fakes::FakeKeySynth::Stroke;
    struct Row {
        int code;
        bool posted;
    };
    const Row rows[] = {
        {-1, false}, {65536, false}, {std::numeric_limits<int>::min(), false}, {0, true}, {65535, true}};
    for (const Row& row : rows)
        EXPECT_EQ(SyntheticPaste::postKey(row.code, F::shift), row.posted) << row.code;
    EXPECT_EQ(fake.keySynthImpl.strokes, (std::vector<Stroke>{{0, F::shift}, {65535, F::shift}}));
    EXPECT_TRUE(fake.log.contains("SyntheticPaste: key code 65536 is out of range"));

    EXPECT_TRUE(SyntheticPaste::paste());
    EXPECT_EQ(fake.keySynthImpl.strokes.back(), (Stroke{keyV, F::command}));
    fake.keySynthImpl.available = false;
    EXPECT_FALSE(SyntheticPaste::paste());
}

} // namespace
