// Key taps, synthetic keys, key text and the secure-input probe against a
// real X server: a window of ours records the keys it really receives, while
// keys are typed through XTest as a person would press them.
#include "input/KeyTap.h"
#include "common/Desktop.h"
#include "common/KeyWindow.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "input/KeyCodes.h"
#include "input/LeaderWatcher.h"
#include "input/ModifierWatcher.h"
#include "input/SyntheticPaste.h"
#include "input/TransientKeyTap.h"
#include "platform/linux/UPowerSources.h"
#include "platform/linux/X11InputAccess.h"
#include "platform/linux/X11KeyEvents.h"
#include "platform/linux/X11KeyInterceptor.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/XInput.h"
#include "platform/linux/XkbKeyCharacters.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::KeyboardOptions;
using quillon::testing::KeyWindow;
using quillon::testing::Typist;
namespace F = quillon::platform::KeyFlags;

namespace {

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xLeftCtrl = 37, xRightCtrl = 105, xLeftShift = 50, xRightAlt = 108;
constexpr uint8_t xA = 38, xS = 39, xJ = 44, xK = 45, xV = 55, xX = 53, xEscape = 9, xF = 41, xE = 26,
                  xC = 54, xB = 56;
// Virtual key codes.
constexpr uint16_t vA = 0, vS = 1, vX = 7, vV = 9, vEscape = 53;

/// The fakes for everything but the keyboard facilities, which are the real ones.
class KeysPlatform final : public fakes::ForwardingPlatform {
public:
    KeysPlatform()
        : access([this] { return interceptor.holdsKeyboard(); })
    {
    }
    platform::KeyEvents& keyEvents() override { return keys; }
    platform::Pointer& pointer() override { return mouse; }
    platform::KeyInterceptor& keyInterceptor() override { return interceptor; }
    platform::KeySynth& keySynth() override { return synth; }
    platform::KeyCharacters& keyCharacters() override { return characters; }
    platform::InputAccess& inputAccess() override { return access; }

    X11KeyEvents keys;
    X11Pointer mouse;
    X11KeyInterceptor interceptor;
    X11KeySynth synth;
    XkbKeyCharacters characters;
    X11InputAccess access;
};

struct Keys : ::testing::Test {
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        ASSERT_TRUE(window.waitReady());
    }
    KeysPlatform platform;
    Typist typist;
    KeyWindow window;
};

/// A leader tap fed by the shared modifier watcher, as the leader watcher
/// wires it; its consumer takes J and nothing else.
struct LeaderRig {
    LeaderRig()
    {
        tap.onKey = [this](Leader leader, QChar ch) {
            taken.emplace_back(leader, ch);
            return ch == 'j';
        };
        EXPECT_TRUE(tap.start());
        watcher.add(this, [this](platform::EventFlags flags) { tap.handleFlags(flags); });
    }
    ~LeaderRig() { watcher.remove(this); }
    ModifierWatcher watcher;
    KeyTap tap;
    std::vector<std::pair<Leader, QChar>> taken;
};

// Holds a leader key, waits until its grabs are armed, types J (taken) and K
// (refused), and lets go.
void typeUnderLeader(Keys& t, LeaderRig& rig, uint8_t leaderKey)
{
    t.typist.key(leaderKey, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return t.platform.interceptor.grabCount() > 0; }));
    t.typist.tap(xJ);
    t.typist.tap(xK);
    t.typist.key(leaderKey, false);
    // The leader's grabs go with the leader.
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !rig.tap.isEnabled(); }));
    EXPECT_EQ(t.platform.interceptor.grabCount(), 0);
}

TEST_F(Keys, LeaderSwallowsTheLetterItsConsumerTakesAndPassesTheRest)
{
    LeaderRig rig;
    typeUnderLeader(*this, rig, xRightCtrl);
    // J alone is ordinary typing again.
    typist.tap(xJ);
    ASSERT_TRUE(window.waitReleased(xJ));

    using P = std::pair<Leader, QChar>;
    EXPECT_EQ(rig.taken, (std::vector<P>{P(Leader::command, 'j'), P(Leader::command, 'k')}));
    // J under the leader never reached the window, neither its press nor its
    // release; the refused K did, with Control held; the leader key passes.
    const auto j = window.of(xJ);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0].kind, "press");
    EXPECT_EQ(j[0].state & XCB_MOD_MASK_CONTROL, 0);
    const auto k = window.of(xK);
    ASSERT_EQ(k.size(), 2u);
    EXPECT_EQ(k[0].kind, "press");
    EXPECT_NE(k[0].state & XCB_MOD_MASK_CONTROL, 0);
    EXPECT_EQ(window.count("press", xRightCtrl), 1);
}

TEST_F(Keys, RightAltLeadsAlsoAsALevelThreeShift)
{
    KeyboardOptions altGr("lv3:ralt_switch");
    LeaderRig rig;
    typeUnderLeader(*this, rig, xRightAlt);
    typist.tap(xJ);
    ASSERT_TRUE(window.waitReleased(xJ));

    ASSERT_FALSE(rig.taken.empty());
    EXPECT_EQ(rig.taken.front(), std::make_pair(Leader::option, QChar('j')));
    EXPECT_EQ(window.count("press", xJ), 1);
    EXPECT_EQ(window.count("press", xK), 1);
}

TEST_F(Keys, SwallowedLetterHeldPastTheLeaderKeepsTheTapUntilItComesUp)
{
    LeaderRig rig;
    typist.key(xRightCtrl, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return platform.interceptor.grabCount() > 0; }));
    typist.key(xJ, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !rig.taken.empty(); }));
    typist.key(xRightCtrl, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return window.count("release", xRightCtrl) == 1; }));
    EXPECT_TRUE(rig.tap.isEnabled());
    typist.key(xJ, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !rig.tap.isEnabled(); }));
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(window.count("press", xJ), 0);
    EXPECT_EQ(rig.taken.size(), 1u);
}

// A tap that ignores modifiers takes its keys with any held, but a chord
// another program holds stays that program's; disarming it leaves an older
// tap's grab of the same key in place.
TEST_F(Keys, EveryModifierTapTakesAnyChordButThoseAnotherProgramHolds)
{
    constexpr uint8_t xLeftAlt = 64;
    Typist other;
    const uint16_t ctrlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    xcb_grab_key(other.x().get(), 0, other.x().root(), ctrlAlt, xA, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_flush(other.x().get());
    std::free(xcb_get_input_focus_reply(other.x().get(), xcb_get_input_focus(other.x().get()), nullptr));

    TransientKeyTap older(true, false, 0, platform::KeyGrab{{vS}});
    std::vector<int> olderSaw;
    older.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        olderSaw.push_back(e.code);
        return true;
    };
    older.arm();
    TransientKeyTap any(true, false, 0, platform::KeyGrab{{vA, vS}, platform::KeyGrab::everyModifier()});
    std::vector<std::pair<int, platform::EventFlags>> anySaw;
    any.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        anySaw.emplace_back(e.code, e.flags & (F::shift | F::command | F::option));
        return true;
    };
    any.arm();
    ASSERT_TRUE(any.isArmed());
    EXPECT_TRUE(platform.interceptor.isRefused(vA, F::command | F::option));
    EXPECT_FALSE(platform.interceptor.isRefused(vA, F::command | F::shift));
    EXPECT_FALSE(platform.interceptor.isRefused(vS, F::command | F::option));

    const auto chord = [&](std::vector<uint8_t> held, uint8_t key) {
        for (const uint8_t k : held)
            typist.key(k, true);
        typist.tap(key);
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            typist.key(*it, false);
    };
    chord({}, xA);
    chord({xLeftShift}, xA);
    chord({xLeftCtrl, xLeftShift, xLeftAlt}, xA);
    chord({xLeftCtrl, xLeftAlt}, xA); // the other program's
    chord({xLeftCtrl, xLeftAlt}, xS);
    typist.tap(xB);
    ASSERT_TRUE(window.waitReleased(xB));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return anySaw.size() >= 4; }));
    using P = std::pair<int, platform::EventFlags>;
    EXPECT_EQ(anySaw, (std::vector<P>{P(vA, 0), P(vA, F::shift), P(vA, F::command | F::shift | F::option),
                                      P(vS, F::command | F::option)}));
    EXPECT_EQ(window.count("press", xA), 0);
    EXPECT_EQ(window.count("press", xS), 0);
    EXPECT_TRUE(olderSaw.empty());

    any.disarm();
    {
        // Arming waits for the server's replies, so it has taken every
        // request of ours before: the disarm is through.
        TransientKeyTap sync(true, false, 0, platform::KeyGrab{{vX}});
        sync.arm();
    }
    typist.tap(xS);
    typist.tap(xB);
    ASSERT_TRUE(window.waitReleased(xB, 2));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return olderSaw.size() == 1; }));
    EXPECT_EQ(window.count("press", xS), 0);
    older.disarm();
    EXPECT_EQ(platform.interceptor.grabCount(), 0);
    xcb_ungrab_key(other.x().get(), xA, other.x().root(), ctrlAlt);
    xcb_flush(other.x().get());
}

TEST_F(Keys, TransientTapsSwallowOrPassAndTheNewestDecidesFirst)
{
    platform::KeyGrab keys{{vA, vEscape}};
    TransientKeyTap older(true, true, 0, keys);
    std::vector<int> olderSaw;
    older.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        olderSaw.push_back(e.isKeyUp ? -e.code - 1 : e.code);
        return e.code == vA;
    };
    TransientKeyTap newer(true, false, 0, keys);
    std::vector<int> newerSaw;
    newer.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        newerSaw.push_back(e.code);
        return e.code == vEscape;
    };

    // One tap: it passes Escape and swallows A.
    older.arm();
    ASSERT_TRUE(older.isArmed());
    typist.tap(xEscape);
    typist.tap(xA);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(window.count("press", xEscape), 1);
    EXPECT_EQ(window.count("press", xA), 0);
    EXPECT_EQ(window.count("release", xA), 0);
    // With key-ups watched it hears the releases too (told after the fact,
    // so perhaps after the window's later keys).
    quillon::testing::waitFor([&] { return olderSaw.size() >= 4; });
    EXPECT_EQ(olderSaw, (std::vector<int>{vEscape, -vEscape - 1, vA, -vA - 1}));

    // Two taps: the newer swallows Escape; A, which it passes, goes on to the
    // older, which swallows it.
    olderSaw.clear();
    newer.arm();
    typist.tap(xEscape);
    typist.tap(xA);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS, 2));
    EXPECT_EQ(window.count("press", xEscape), 1);
    EXPECT_EQ(window.count("press", xA), 0);
    EXPECT_EQ(newerSaw, (std::vector<int>{vEscape, vA}));
    quillon::testing::waitFor([&] { return olderSaw.size() >= 3; });
    EXPECT_EQ(olderSaw, (std::vector<int>{-vEscape - 1, vA, -vA - 1}));

    // The newer one goes: the keys both held stay grabbed for the older one.
    newer.disarm();
    typist.tap(xA);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS, 3));
    EXPECT_EQ(window.count("press", xA), 0);
    older.disarm();
    typist.tap(xA);
    ASSERT_TRUE(window.waitReleased(xA));
    EXPECT_EQ(platform.interceptor.grabCount(), 0);
}

TEST_F(Keys, PostedPasteReachesTheWindowAsOurOwnAndOtherTypingDoesNot)
{
    // A consuming tap on Ctrl+V and Ctrl+X, and a listening one: both would
    // take any key that is not ours.
    TransientKeyTap consuming(true, true, 0, platform::KeyGrab{{vV, vX}, {F::command}});
    std::vector<int> consumed;
    consuming.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        consumed.push_back(e.isKeyUp ? -e.code - 1 : e.code);
        return true;
    };
    TransientKeyTap listening(false, true);
    std::vector<int> heard;
    listening.onKey = [&](const TransientKeyTap::KeyEvent& e) {
        if (e.code == vV || e.code == vX)
            heard.push_back(e.isKeyUp ? -e.code - 1 : e.code);
        return true;
    };
    consuming.arm();
    listening.arm();

    // Our Ctrl+V and, at the same moment, Ctrl+X typed by another XTest
    // client. That one holds the right Ctrl: the XTest device is one keyboard,
    // and the left Ctrl our paste lets go of would let go of its Ctrl too.
    ASSERT_TRUE(SyntheticPaste::paste());
    QProcess::execute("xdotool", {"key", "Control_R+x"});
    ASSERT_TRUE(window.waitReleased(xV));
    ASSERT_TRUE(quillon::testing::waitFor([&] { return heard.size() >= 2 && consumed.size() >= 2; }))
        << "heard " << ::testing::PrintToString(heard) << " consumed " << ::testing::PrintToString(consumed)
        << " window " << window.count("press", xX) << " X presses";
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));

    // One press and one release of V, with Ctrl held for both, and Ctrl let go after.
    const auto v = window.of(xV);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].kind, "press");
    EXPECT_EQ(v[0].state & 0xff, XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(v[1].kind, "release");
    EXPECT_EQ(v[1].state & 0xff, XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(window.count("press", xLeftCtrl), 2);
    EXPECT_EQ(window.count("release", xLeftCtrl), 2);
    EXPECT_FALSE(typist.isDown(xLeftCtrl));
    // The other client's key is nobody's own: the taps had it, the window not.
    EXPECT_EQ(window.count("press", xX), 0);
    EXPECT_EQ(consumed, (std::vector<int>{vX, -vX - 1}));
    EXPECT_EQ(heard, (std::vector<int>{vX, -vX - 1}));
}

TEST_F(Keys, PasteLetsGoOfAHeldShiftAndGivesItBackOnlyWhileHeld)
{
    // A keyboard the server takes for hardware, so the held Shift is a person's.
    auto xi = XInput::open([](const xcb_generic_event_t*) {});
    ASSERT_TRUE(xi);
    const auto keyboards = xi->physicalKeyboards();
    if (keyboards.empty())
        GTEST_SKIP() << "the X server has no keyboard device besides XTest";
    const uint16_t keyboard = keyboards.front();

    typist.physicalKey(keyboard, xLeftShift, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return window.count("press", xLeftShift) == 1; }));
    ASSERT_TRUE(SyntheticPaste::paste());
    ASSERT_TRUE(window.waitReleased(xV));
    const auto v = window.of(xV);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].state & 0xff, XCB_MOD_MASK_CONTROL);
    // Still held by the person: Shift is down again, and typing is shifted.
    ASSERT_TRUE(quillon::testing::waitFor([&] { return window.count("press", xLeftShift) == 2; }));
    EXPECT_TRUE(typist.isDown(xLeftShift));
    typist.tap(xF);
    ASSERT_TRUE(window.waitReleased(xF));
    EXPECT_NE(window.of(xF)[0].state & XCB_MOD_MASK_SHIFT, 0);

    // Let go: Shift is up, and no device keeps it down — a synthetic Shift
    // press and release (such as xdotool's) still work.
    typist.physicalKey(keyboard, xLeftShift, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !platform.synth.isRestoring(); }));
    EXPECT_FALSE(typist.isDown(xLeftShift));
    typist.key(xLeftShift, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return typist.isDown(xLeftShift); }));
    typist.key(xLeftShift, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !typist.isDown(xLeftShift); }));
}

TEST_F(Keys, SecureInputIsAnotherClientsKeyboardGrabAndTheProbeDisturbsNothing)
{
    // Without a grab: keys typed around every probe all arrive, in order, and
    // the window never loses the focus.
    const uint8_t letters[] = {xA, xS, xJ, xK, xF};
    for (int round = 0; round < 4; ++round) {
        for (const uint8_t letter : letters) {
            typist.key(letter, true);
            EXPECT_FALSE(platform.access.secureInputActive());
            typist.key(letter, false);
        }
    }
    typist.tap(xEscape);
    ASSERT_TRUE(window.waitReleased(xEscape));
    std::vector<int> pressed;
    for (const auto& e : window.events) {
        if (e.kind == "press")
            pressed.push_back(e.code);
    }
    std::vector<int> expected;
    for (int round = 0; round < 4; ++round)
        expected.insert(expected.end(), std::begin(letters), std::end(letters));
    expected.push_back(xEscape);
    EXPECT_EQ(pressed, expected);
    EXPECT_FALSE(window.lostFocus());

    // Another client holds the keyboard, as a password prompt does.
    xcb_connection_t* other = typist.x().get();
    XcbReply<xcb_grab_keyboard_reply_t> grab(
        xcb_grab_keyboard_reply(other,
                                xcb_grab_keyboard(other, 0, typist.x().root(), XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr));
    ASSERT_TRUE(grab && grab->status == XCB_GRAB_STATUS_SUCCESS);
    EXPECT_TRUE(platform.access.secureInputActive());
    xcb_ungrab_keyboard(other, XCB_CURRENT_TIME);
    xcb_flush(other);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return !platform.access.secureInputActive(); }));
}

TEST_F(Keys, KeyTextFollowsTheLayoutAndTheModifiers)
{
    struct Row {
        uint16_t key;
        platform::EventFlags flags;
        QString text;
    };
    const Row rows[] = {
        {vA, 0, "a"},
        {vA, F::shift | F::leftShift, "A"},
        {vV, F::command | F::leftCommand, "v"},
        {18, F::shift | F::rightShift, "!"},
        {122, 0, ""}, // F1 types nothing
    };
    for (const Row& row : rows)
        EXPECT_EQ(platform.characters.characters(row.key, row.flags), row.text) << row.key;

    // A layout change is picked up.
    quillon::testing::run("setxkbmap", {"de"});
    EXPECT_EQ(platform.characters.characters(16, 0), "z"); // the Y key types z on a German layout
    quillon::testing::run("setxkbmap", {"us"});
    EXPECT_EQ(platform.characters.characters(16, 0), "y");
}

/// The leader watcher as the application runs it, with one consumer whose
/// declared keys a test sets, and the auto-repeat fast enough to happen
/// within a test.
struct LeaderKeys : Keys {
    LeaderKeys() { quillon::testing::run("xset", {"r", "rate", "200", "30"}); }
    ~LeaderKeys() override
    {
        watcher.remove(this);
        quillon::testing::run("xset", {"r", "rate"});
    }
    void serve(std::vector<uint16_t> keys, std::set<Leader> leaders = {Leader::command})
    {
        declared = std::move(keys);
        watcher.add(
            this, leaders, [this](Leader) { return declared; },
            [this](Leader leader, QChar ch) {
                taken.emplace_back(leader, ch);
                return true;
            },
            nullptr);
    }
    /// What the window received and the log said, for a failure message.
    std::string seen() const
    {
        QStringList lines;
        for (const auto& e : window.events)
            lines << QStringLiteral("%1 %2 %3").arg(e.kind).arg(e.code).arg(e.state);
        for (const auto& line : platform.fake.log.lines)
            lines << line.message;
        return lines.join('\n').toStdString();
    }
    ModifierWatcher modifiers;
    LeaderWatcher watcher{modifiers};
    std::vector<uint16_t> declared;
    std::vector<std::pair<Leader, QChar>> taken;
};

TEST_F(LeaderKeys, KeysNobodyServesReachTheWindowWithoutAGrabOrFocusChange)
{
    // The consumer serves both leaders but takes nothing just now (as the
    // chords do with nothing live under them).
    serve({}, {Leader::command, Leader::option});
    for (const uint8_t leader : {xRightAlt, xRightCtrl}) {
        typist.key(leader, true);
        typist.tap(leader == xRightAlt ? xE : xC);
        typist.key(leader, false);
    }
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(window.count("press", xE), 1);
    EXPECT_EQ(window.count("press", xC), 1);
    EXPECT_FALSE(window.lostFocus());
    EXPECT_TRUE(taken.empty());
    EXPECT_EQ(platform.interceptor.grabCount(), 0);

    // Now it takes J under right Ctrl: J is grabbed, C still is not. Right
    // Ctrl's own grab and J's each cost the window one focus change; C none.
    declared = {KeyCodes::keyCode('j').value()};
    watcher.refreshKeys();
    typist.key(xRightCtrl, true);
    typist.tap(xJ);
    typist.tap(xC);
    typist.key(xRightCtrl, false);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS, 2));
    EXPECT_EQ(window.count("press", xJ), 0);
    EXPECT_EQ(window.count("release", xJ), 0);
    EXPECT_EQ(window.count("press", xC), 2);
    EXPECT_EQ(window.grabFocusOuts(), 2);
    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::command, 'j'}}));
}

TEST_F(LeaderKeys, AChordTypedRightBehindTheLeaderIsTaken)
{
    serve({KeyCodes::keyCode('b').value()});
    ASSERT_GT(platform.interceptor.grabCount(), 0) << "right Ctrl is grabbed as soon as it leads to keys";
    // No wait at all between the leader and the letter.
    typist.key(xRightCtrl, true);
    typist.tap(xB);
    typist.key(xRightCtrl, false);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::command, 'b'}})) << seen();
    EXPECT_EQ(window.count("press", xB), 0);
    EXPECT_EQ(window.count("release", xB), 0);
}

TEST_F(LeaderKeys, ALetterHeldPastTheLeaderNeverRepeatsIntoTheWindow)
{
    serve({KeyCodes::keyCode('b').value()});
    typist.key(xRightCtrl, true);
    typist.key(xB, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !taken.empty(); }));
    typist.key(xRightCtrl, false);
    // A second of auto-repeat at 30 a second, past the leader's release.
    QElapsedTimer held;
    held.start();
    quillon::testing::waitFor([&] { return held.elapsed() >= 1000; }, 2000);
    typist.key(xB, false);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(window.count("press", xB), 0);
    EXPECT_EQ(window.count("release", xB), 0) << "its release is swallowed with it";
    EXPECT_EQ(window.count("release", xRightCtrl), 1);
    EXPECT_EQ(taken.size(), 1u);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return !platform.interceptor.holdsKeyboard(); }));
    EXPECT_FALSE(platform.access.secureInputActive());
}

TEST_F(LeaderKeys, ABusyMainThreadNeverHoldsTheKeyboard)
{
    serve({KeyCodes::keyCode('j').value()});
    typist.key(xRightCtrl, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return watcher.keyTap().isEnabled(); }));

    bool reachedWhileBusy = false, otherKeyWhileBusy = false;
    bool returned = false;
    QTimer::singleShot(0, [&] {
        // The armed J is frozen waiting for this thread, which is busy.
        typist.tap(xJ);
        typist.tap(xK);
        reachedWhileBusy = window.blockingWaitFor("release", xJ, 1500);
        otherKeyWhileBusy = window.blockingWaitFor("release", xK, 1500);
        QThread::sleep(1);
        returned = true;
    });
    ASSERT_TRUE(quillon::testing::waitFor([&] { return returned; }));
    EXPECT_TRUE(reachedWhileBusy) << "the passed key waited for the main thread";
    EXPECT_TRUE(otherKeyWhileBusy) << seen();
    // The late answer changes nothing: the consumer never had J.
    quillon::testing::waitFor([] { return false; }, 200);
    EXPECT_TRUE(taken.empty());
    int stalls = 0;
    for (const auto& line : platform.fake.log.lines)
        stalls += line.message.contains("did not answer a key within");
    EXPECT_EQ(stalls, 1);

    // Back to normal: J is taken again.
    typist.tap(xJ);
    typist.key(xRightCtrl, false);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS));
    EXPECT_EQ(taken, (std::vector<std::pair<Leader, QChar>>{{Leader::command, 'j'}}));
    EXPECT_EQ(window.count("press", xJ), 1);
}

TEST_F(LeaderKeys, AChordFiresWhileAPowerReadingIsPending)
{
    QProcess upower;
    upower.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-upower"), {"--reply-delay-ms", "2000"});
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] { return upower.canReadLine() && upower.readLine().startsWith("ready"); }));
    UPowerSources power{QStringLiteral("/nonexistent")};
    bool readingArrived = false;
    const auto token = power.addChangeHandler([&] { readingArrived = power.internalBattery().has_value(); });
    ASSERT_TRUE(token);

    serve({KeyCodes::keyCode('b').value()});
    typist.key(xRightCtrl, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return watcher.keyTap().isEnabled(); })) << seen();
    typist.tap(xB);
    typist.key(xRightCtrl, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !taken.empty(); })) << seen();
    EXPECT_FALSE(readingArrived) << "the chord waited for the power reading";
    EXPECT_TRUE(quillon::testing::waitFor([&] { return readingArrived; }));
    power.removeChangeHandler(*token);
    upower.closeWriteChannel();
    upower.waitForFinished(3000);
}

// Our own paste lets go of the held leader and presses it again around its
// stroke: the leader watcher must not take that for the person's.
TEST_F(LeaderKeys, PastingWhileALeaderIsHeldLeavesTheLeaderAlone)
{
    // A keyboard the server takes for hardware, so the held leader is a person's.
    auto xi = XInput::open([](const xcb_generic_event_t*) {});
    ASSERT_TRUE(xi);
    const auto keyboards = xi->physicalKeyboards();
    if (keyboards.empty())
        GTEST_SKIP() << "the X server has no keyboard device besides XTest";
    const uint16_t keyboard = keyboards.front();

    serve({KeyCodes::keyCode('a').value()}, {Leader::feature});
    watcher.add(
        this, {Leader::feature}, [this](Leader) { return declared; }, nullptr,
        [](Leader) { return std::vector<NotchBarItem>(1); });
    int holds = 0, releases = 0;
    watcher.onHold = [&](Leader, const std::vector<NotchBarItem>&) { ++holds; };
    watcher.onRelease = [&] { ++releases; };
    watcher.holdDelay = [] { return 0.2; };
    typist.physicalKey(keyboard, xRightCtrl, true);
    typist.physicalKey(keyboard, xRightAlt, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return watcher.keyTap().isEnabled(); }));
    platform.fake.queue.advance(0.5);
    ASSERT_EQ(holds, 1);

    ASSERT_TRUE(SyntheticPaste::paste());
    bool dropped = false;
    ASSERT_TRUE(quillon::testing::waitFor([&] {
        dropped = dropped || !watcher.keyTap().isEnabled();
        return window.count("release", xV) > 0;
    }));
    // Whatever was still on its way has arrived by now.
    typist.tap(xS);
    ASSERT_TRUE(quillon::testing::waitFor([&] {
        dropped = dropped || !watcher.keyTap().isEnabled();
        return window.count("release", xS) > 0;
    }));
    platform.fake.queue.advance(0.5);
    EXPECT_FALSE(dropped) << "the leader's keys were let go during the paste";
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(releases, 0);
    typist.physicalKey(keyboard, xRightAlt, false);
    typist.physicalKey(keyboard, xRightCtrl, false);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return releases == 1; }));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return !platform.synth.isRestoring(); }));
}

} // namespace
