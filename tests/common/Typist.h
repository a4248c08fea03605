#pragma once

#include "common/Desktop.h"
#include "platform/linux/X11Connection.h"

#include <xcb/xinput.h>
#include <xcb/xtest.h>

namespace quillon::testing {

/// Keys and buttons typed through XTest on a connection of the test's own, as
/// a person would press them, and keys of a keyboard device the server takes
/// for real hardware, for keys a person holds.
class Typist {
public:
    Typist()
        : m_x(platform::linux_::X11Connection::open())
    {
    }
    platform::linux_::X11Connection& x() { return *m_x; }

    void key(uint8_t code, bool press) { fake(press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code); }
    void tap(uint8_t code)
    {
        key(code, true);
        key(code, false);
    }
    void button(uint8_t number, bool press) { fake(press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, number); }
    void moveTo(int x, int y)
    {
        xcb_test_fake_input(m_x->get(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_x->root(), int16_t(x),
                            int16_t(y), 0);
        xcb_flush(m_x->get());
    }
    /// A key of a keyboard device other than XTest's.
    void physicalKey(uint16_t device, uint8_t code, bool press)
    {
        const auto* xi = xcb_get_extension_data(m_x->get(), &xcb_input_id);
        // The device events of the first XInput version: key press 1, release 2.
        fake(uint8_t(xi->first_event + (press ? 1 : 2)), code, uint8_t(device));
    }
    /// Whether the core keyboard has the key down.
    bool isDown(uint8_t code)
    {
        xcb_connection_t* c = m_x->get();
        platform::linux_::XcbReply<xcb_query_keymap_reply_t> keymap(
            xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
        return keymap && ((keymap->keys[code / 8] >> (code % 8)) & 1);
    }

private:
    void fake(uint8_t type, uint8_t detail, uint8_t device = 0)
    {
        xcb_test_fake_input(m_x->get(), type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, device);
        xcb_flush(m_x->get());
    }
    std::unique_ptr<platform::linux_::X11Connection> m_x;
};

/// Applies xkb options for one test and restores the layout afterwards.
class KeyboardOptions {
public:
    explicit KeyboardOptions(const QString& option) { run("setxkbmap", {"-option", "", "-option", option}); }
    ~KeyboardOptions() { run("setxkbmap", {"-option", ""}); }
};

} // namespace quillon::testing
