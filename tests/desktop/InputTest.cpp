// The X11 key, pointer and hot-key sources against a real X server: keys and
// buttons are typed with XTest, as a person would press them.
#include "common/Desktop.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "input/DragWatcher.h"
#include "input/HotKeyWatcher.h"
#include "input/KeyTapLogic.h"
#include "input/ModifierWatcher.h"
#include "platform/linux/X11HotKeys.h"
#include "platform/linux/X11KeyEvents.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11Pointer.h"

#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::KeyboardOptions;
using quillon::testing::Typist;
namespace F = quillon::platform::KeyFlags;

namespace {

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t leftCtrl = 37, rightCtrl = 105, leftShift = 50, leftAlt = 64, rightAlt = 108,
                  leftSuper = 133;
constexpr uint8_t keyA = 38, keyS = 39, keyF12 = 96;

/// The fakes for everything but the input sources, which are the real ones.
class InputPlatform final : public fakes::ForwardingPlatform {
public:
    platform::KeyEvents& keyEvents() override { return keys; }
    platform::Pointer& pointer() override { return mouse; }
    platform::HotKeys& hotKeys() override { return hot; }

    X11KeyEvents keys;
    X11Pointer mouse;
    X11HotKeys hot;
};

/// Key repeat after 20 ms, 100 times a second, for one test.
class FastAutoRepeat {
public:
    FastAutoRepeat() { quillon::testing::run("xset", {"r", "rate", "20", "100"}); }
    ~FastAutoRepeat() { quillon::testing::run("xset", {"r", "rate", "660", "25"}); }
};

struct Input : ::testing::Test {
    void SetUp() override
    {
        if (!quillon::testing::onDesktop())
            GTEST_SKIP() << "needs the virtual desktop (run through scripts/with-desktop)";
    }
    InputPlatform platform;
    Typist typist;
};

TEST_F(Input, ModifierWatcherSeesEachModifierKeyWithItsSideAlsoWhenRightAltIsAltGr)
{
    ModifierWatcher watcher;
    std::vector<platform::EventFlags> seen;
    watcher.add(this, [&](platform::EventFlags flags) { seen.push_back(flags); });
    ASSERT_TRUE(watcher.isRunning());

    struct Row {
        uint8_t key;
        platform::EventFlags flags;
        std::optional<Leader> leader;
    };
    const Row rows[] = {
        {leftShift, F::shift | F::leftShift, std::nullopt},
        {leftCtrl, F::command | F::leftCommand, std::nullopt},
        {rightCtrl, F::command | F::rightCommand, Leader::command},
        {rightAlt, F::option | F::rightOption, Leader::option},
    };
    const auto check = [&](const Row& row, const char* layout) {
        seen.clear();
        typist.tap(row.key);
        ASSERT_TRUE(quillon::testing::waitFor([&] { return seen.size() >= 2; }))
            << layout << " key " << int(row.key);
        EXPECT_EQ(seen[0], row.flags) << layout << " key " << int(row.key);
        EXPECT_EQ(KeyTapLogic::leaderFrom(seen[0]), row.leader) << layout << " key " << int(row.key);
        EXPECT_EQ(seen[1], 0u) << layout << " key " << int(row.key);
    };
    for (const Row& row : rows)
        check(row, "us");

    // Right Alt as a level-three shift still leads as right Alt.
    KeyboardOptions altGr("lv3:ralt_switch");
    check(rows[3], "lv3:ralt_switch");

    // Right Ctrl held while Alt joins: the feature leader.
    seen.clear();
    typist.key(rightCtrl, true);
    typist.key(leftAlt, true);
    typist.key(leftAlt, false);
    typist.key(rightCtrl, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return seen.size() >= 4; }));
    EXPECT_EQ(KeyTapLogic::leaderFrom(seen[1]), Leader::feature);
    EXPECT_EQ(KeyTapLogic::leaderFrom(seen[2]), Leader::command);
    watcher.remove(this);
}

TEST_F(Input, RegisteredHotKeyFiresOncePerPress)
{
    HotKeyWatcher watcher;
    using namespace platform::HotKeyModifiers;
    int fired = 0, marker = 0;
    // Super-Alt-A and Super-Alt-S: Control-Option with the A and S keys.
    ASSERT_TRUE(watcher.registerHotKey(0, controlKey | optionKey, [&] { ++fired; }).has_value());
    ASSERT_TRUE(watcher.registerHotKey(1, controlKey | optionKey, [&] { ++marker; }).has_value());

    typist.key(leftSuper, true);
    typist.key(leftAlt, true);
    typist.tap(keyA);
    {
        // A key held long enough to repeat many times over.
        FastAutoRepeat fast;
        typist.key(keyA, true);
        quillon::testing::waitFor([] { return false; }, 400);
        typist.key(keyA, false);
    }
    typist.tap(keyS);
    typist.key(leftAlt, false);
    typist.key(leftSuper, false);
    // The marker arrives after every earlier press has been handled.
    ASSERT_TRUE(quillon::testing::waitFor([&] { return marker == 1; }));
    EXPECT_EQ(fired, 2);

    // Without its modifiers the key is no hot key.
    typist.tap(keyA);
    typist.key(leftSuper, true);
    typist.key(leftAlt, true);
    typist.tap(keyS);
    typist.key(leftAlt, false);
    typist.key(leftSuper, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return marker == 2; }));
    EXPECT_EQ(fired, 2);
}

TEST_F(Input, HotKeyThatAnotherClientGrabbedIsRefused)
{
    X11Connection& other = typist.x();
    const uint16_t ctrlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
    xcb_generic_error_t* error =
        xcb_request_check(other.get(), xcb_grab_key_checked(other.get(), 0, other.root(), ctrlShift, keyF12,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_EQ(error, nullptr);

    HotKeyWatcher watcher;
    using namespace platform::HotKeyModifiers;
    EXPECT_EQ(watcher.registerHotKey(111, cmdKey | shiftKey, [] {}), std::nullopt);
    EXPECT_TRUE(platform.fake.log.contains("HotKeyWatcher: registration failed (status 10)"));
    EXPECT_FALSE(watcher.hasHandler());

    // Once the other client lets go, the same combination is ours.
    error =
        xcb_request_check(other.get(), xcb_ungrab_key_checked(other.get(), keyF12, other.root(), ctrlShift));
    ASSERT_EQ(error, nullptr);
    int fired = 0;
    ASSERT_TRUE(watcher.registerHotKey(111, cmdKey | shiftKey, [&] { ++fired; }).has_value());
    typist.key(leftCtrl, true);
    typist.key(leftShift, true);
    typist.tap(keyF12);
    typist.key(leftShift, false);
    typist.key(leftCtrl, false);
    EXPECT_TRUE(quillon::testing::waitFor([&] { return fired == 1; }));
}

// Moves the pointer a step at a time until `condition` holds: motion is
// watched only from the moment the press has been seen.
bool dragUntil(Typist& typist, QPoint& at, QPoint step, const std::function<bool()>& condition)
{
    for (int i = 0; i < 200; ++i) {
        at += step;
        typist.moveTo(at.x(), at.y());
        if (quillon::testing::waitFor(condition, 20))
            return true;
    }
    return false;
}

TEST_F(Input, DragsFromOutsideOurOverlaysAreReportedWithTheirEndWhereverItIs)
{
    QWidget own;
    own.setWindowTitle("drop target");
    own.setGeometry(700, 300, 300, 300);
    own.show();
    ASSERT_TRUE(
        quillon::testing::waitFor([&] { return own.windowHandle() && own.windowHandle()->isExposed(); }));
    const QPoint inside = own.geometry().center();

    DragWatcher watcher;
    std::vector<DragWatcher::Event> seen;
    watcher.add(this, [&](DragWatcher::Event e) { seen.push_back(e); });
    std::vector<platform::MouseDown> downs;
    const auto downToken =
        platform.mouse.addMouseDownMonitor([&](const platform::MouseDown& d) { downs.push_back(d); });
    ASSERT_TRUE(downToken.has_value());
    const auto drags = [&](DragWatcher::Event e) { return std::count(seen.begin(), seen.end(), e); };

    // From the bare desktop onto our window: every movement, then the end there.
    QPoint at(100, 400);
    typist.moveTo(at.x(), at.y());
    typist.button(1, true);
    ASSERT_TRUE(dragUntil(typist, at, {5, 0}, [&] { return drags(DragWatcher::Event::dragged) > 0; }));
    at = inside;
    typist.moveTo(at.x(), at.y());
    typist.button(1, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return drags(DragWatcher::Event::ended) == 1; }));
    EXPECT_EQ(seen.front(), DragWatcher::Event::dragged);
    EXPECT_EQ(seen.back(), DragWatcher::Event::ended);
    ASSERT_GE(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_FALSE(downs[0].overOwnWindow);

    // A drag out of an ordinary window of ours is reported too (a file pulled
    // from the settings window), while its press is still one on our window.
    // The right button and the wheel make no drag. Raw button events carry no
    // position, so each press is awaited before the pointer moves on, as a
    // person's hand would.
    seen.clear();
    typist.button(3, true);
    typist.button(3, false);
    typist.button(4, true);
    typist.button(4, false);
    typist.button(1, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return downs.size() == 3; }));
    ASSERT_TRUE(dragUntil(typist, at, {3, 0}, [&] { return drags(DragWatcher::Event::dragged) > 0; }));
    typist.button(1, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return drags(DragWatcher::Event::ended) == 1; }));

    // A drag that starts on one of our overlays is not reported.
    X11OverlayWindows overlays;
    QWidget overlay;
    overlays.prepare(overlay, platform::OverlayStyle{0, false, false});
    overlay.setGeometry(200, 600, 200, 150);
    overlays.show(overlay);
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] { return overlay.windowHandle() && overlay.windowHandle()->isExposed(); }));
    const QPoint onOverlay = overlay.geometry().center();
    typist.moveTo(onOverlay.x(), onOverlay.y());
    quillon::testing::waitFor([] { return false; }, 100);
    seen.clear();
    typist.button(1, true);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return downs.size() == 4; }));
    for (int i = 0; i < 10; ++i)
        typist.moveTo(onOverlay.x() + i * 3, onOverlay.y());
    typist.button(1, false);
    overlays.hide(overlay);
    // Then one more drag from outside: once it ends, the earlier events are
    // handled, and the overlay's drag left no end of its own.
    at = QPoint(100, 400);
    typist.moveTo(at.x(), at.y());
    typist.button(1, true);
    ASSERT_TRUE(dragUntil(typist, at, {0, 5}, [&] { return drags(DragWatcher::Event::dragged) > 0; }));
    typist.button(1, false);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return drags(DragWatcher::Event::ended) == 1; }));
    quillon::testing::waitFor([] { return false; }, 200);
    EXPECT_EQ(seen.front(), DragWatcher::Event::dragged);
    EXPECT_EQ(drags(DragWatcher::Event::ended), 1);

    ASSERT_EQ(downs.size(), 5u);
    EXPECT_EQ(downs[1].button, 3);
    EXPECT_TRUE(downs[1].overOwnWindow);
    EXPECT_EQ(downs[2].button, 1);
    EXPECT_TRUE(downs[2].overOwnWindow);
    EXPECT_EQ(downs[3].button, 1);
    EXPECT_TRUE(downs[3].overOwnWindow) << "an overlay is one of our windows";
    EXPECT_FALSE(downs[4].overOwnWindow);

    platform.mouse.removeMouseDownMonitor(*downToken);
    watcher.remove(this);
}

} // namespace
