#include "platform/linux/KeyCodeMap.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

using namespace quillon::platform;
using namespace quillon::platform::linux_;
namespace F = quillon::platform::KeyFlags;

namespace {

constexpr uint8_t x(int evdev)
{
    return uint8_t(evdev + 8);
}

TEST(KeyCodeMap, MapsPhysicalKeysBothWays)
{
    struct Row {
        int evdev;
        uint16_t virtualKey;
    };
    const Row rows[] = {
        {KEY_A, 0},           {KEY_V, 9},         {KEY_RIGHTBRACE, 30}, {KEY_ENTER, 36},
        {KEY_SEMICOLON, 41},  {KEY_COMMA, 43},    {KEY_SLASH, 44},      {KEY_DOT, 47},
        {KEY_GRAVE, 50},      {KEY_1, 18},        {KEY_0, 29},          {KEY_SPACE, 49},
        {KEY_ESC, 53},        {KEY_LEFTCTRL, 55}, {KEY_RIGHTCTRL, 54},  {KEY_LEFTALT, 58},
        {KEY_RIGHTALT, 61},   {KEY_LEFTMETA, 59}, {KEY_RIGHTMETA, 62},  {KEY_LEFTSHIFT, 56},
        {KEY_RIGHTSHIFT, 60}, {KEY_LEFT, 123},    {KEY_RIGHT, 124},     {KEY_DOWN, 125},
        {KEY_UP, 126},        {KEY_F1, 122},      {KEY_F12, 111},       {KEY_DELETE, 117},
        {KEY_KP0, 82},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(KeyCodeMap::virtualKey(x(row.evdev)), row.virtualKey) << row.evdev;
        EXPECT_EQ(KeyCodeMap::xKeyCode(row.virtualKey), x(row.evdev)) << row.virtualKey;
    }
    EXPECT_EQ(KeyCodeMap::virtualKey(0), std::nullopt);
    EXPECT_EQ(KeyCodeMap::virtualKey(x(KEY_POWER)), std::nullopt);
    EXPECT_EQ(KeyCodeMap::xKeyCode(52), std::nullopt);
    EXPECT_EQ(KeyCodeMap::xKeyCode(500), std::nullopt);
}

// Flags come from the modifier keys physically held, each with its side's bit.
TEST(KeyStream, ModifierFlagsFollowThePhysicalKeysHeld)
{
    struct Step {
        int evdev;
        bool press;
        std::optional<KeyEvent::Type> type;
        EventFlags flags;
    };
    using T = KeyEvent::Type;
    const Step steps[] = {
        {KEY_RIGHTCTRL, true, T::flagsChanged, F::command | F::rightCommand},
        {KEY_LEFTCTRL, true, T::flagsChanged, F::command | F::rightCommand | F::leftCommand},
        {KEY_RIGHTCTRL, false, T::flagsChanged, F::command | F::leftCommand},
        {KEY_A, true, T::keyDown, F::command | F::leftCommand},
        {KEY_A, false, T::keyUp, F::command | F::leftCommand},
        {KEY_LEFTCTRL, false, T::flagsChanged, 0},
        {KEY_RIGHTALT, true, T::flagsChanged, F::option | F::rightOption},
        {KEY_RIGHTALT, true, std::nullopt, F::option | F::rightOption}, // a modifier's repeat changes nothing
        {KEY_LEFTSHIFT, true, T::flagsChanged, F::option | F::rightOption | F::shift | F::leftShift},
        {KEY_RIGHTSHIFT, true, T::flagsChanged,
         F::option | F::rightOption | F::shift | F::leftShift | F::rightShift},
        {KEY_LEFTSHIFT, false, T::flagsChanged, F::option | F::rightOption | F::shift | F::rightShift},
        {KEY_RIGHTSHIFT, false, T::flagsChanged, F::option | F::rightOption},
        {KEY_RIGHTALT, false, T::flagsChanged, 0},
        {KEY_LEFTMETA, true, T::flagsChanged, F::control | F::leftControl},
        {KEY_RIGHTMETA, true, T::flagsChanged, F::control | F::leftControl | F::rightControl},
        {KEY_LEFTMETA, false, T::flagsChanged, F::control | F::rightControl},
        {KEY_LEFTALT, true, T::flagsChanged, F::control | F::rightControl | F::option | F::leftOption},
        {KEY_POWER, true, std::nullopt, F::control | F::rightControl | F::option | F::leftOption},
    };
    KeyStream stream;
    for (const Step& step : steps) {
        const auto event = stream.handle(x(step.evdev), step.press);
        ASSERT_EQ(event.has_value(), step.type.has_value()) << step.evdev;
        EXPECT_EQ(stream.flags(), step.flags) << step.evdev;
        if (event) {
            EXPECT_EQ(event->type, *step.type) << step.evdev;
            EXPECT_EQ(event->flags, step.flags) << step.evdev;
            EXPECT_EQ(event->keyCode, KeyCodeMap::virtualKey(x(step.evdev))) << step.evdev;
        }
    }
}

TEST(KeyStream, SecondPressOfAHeldKeyIsARepeat)
{
    KeyStream stream;
    EXPECT_FALSE(stream.handle(x(KEY_J), true)->isRepeat);
    EXPECT_TRUE(stream.handle(x(KEY_J), true)->isRepeat);
    EXPECT_FALSE(stream.handle(x(KEY_J), false)->isRepeat);
    EXPECT_FALSE(stream.handle(x(KEY_J), true)->isRepeat);
}

TEST(KeyStream, SeedingCountsModifiersHeldBeforeListening)
{
    uint8_t keys[32] = {};
    const uint8_t rightCtrl = x(KEY_RIGHTCTRL);
    keys[rightCtrl / 8] |= uint8_t(1u << (rightCtrl % 8));
    KeyStream stream;
    stream.seed(keys);
    EXPECT_EQ(stream.flags(), F::command | F::rightCommand);
    const auto option = stream.handle(x(KEY_LEFTALT), true);
    EXPECT_EQ(option->flags, F::command | F::rightCommand | F::option | F::leftOption);
    EXPECT_EQ(stream.handle(x(KEY_RIGHTCTRL), false)->flags, F::option | F::leftOption);
}

// Positions come from the key names, not from the key codes: a server with
// the old XFree86 key codes still has right Ctrl at right Ctrl.
TEST(KeyCodeMap, KeysAreMatchedByTheirXkbNamesOnAnyKeyCodeSet)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    ASSERT_TRUE(context);
    const auto mapOf = [&](const char* rules) {
        const xkb_rule_names names{rules, "pc105", "us", "", ""};
        xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        auto byX = keymap ? KeyCodeMap::byName(keymap) : std::nullopt;
        if (keymap)
            xkb_keymap_unref(keymap);
        return byX;
    };
    const auto evdev = mapOf("evdev");
    const auto xfree86 = mapOf("base");
    xkb_context_unref(context);
    ASSERT_TRUE(evdev && xfree86);
    struct Row {
        uint8_t evdevKey, xfree86Key;
        uint16_t virtualKey;
    };
    const Row rows[] = {
        {38, 38, 0},     // A
        {105, 109, 54},  // right Ctrl
        {108, 113, 61},  // right Alt
        {111, 98, 126},  // Up
        {118, 106, 114}, // Insert
    };
    for (const Row& row : rows) {
        EXPECT_EQ((*evdev)[row.evdevKey], row.virtualKey) << int(row.evdevKey);
        EXPECT_EQ((*xfree86)[row.xfree86Key], row.virtualKey) << int(row.xfree86Key);
    }
}

} // namespace
