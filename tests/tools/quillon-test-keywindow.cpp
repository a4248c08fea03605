// A window that records the keys it receives, for the desktop tests (xterm's
// input cannot be read back). It is ready once the window manager has made it
// the active window and it has the input focus, so no focus change of the
// window manager's comes later. It prints one line on standard output per
// event:
//   ready <window>
//   press <keycode> <state>      release <keycode> <state>
//   focus-in <mode> <detail>     focus-out <mode> <detail>
// Key codes are X key codes, states X modifier masks, all in decimal.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                                        XCB_EVENT_MASK_FOCUS_CHANGE |
                                                        XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 400, 300, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const char title[] = "quillon key window";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        uint32_t(std::strlen(title)), title);
    const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t activeAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    const uint32_t rootMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_map_window(c, window);
    xcb_flush(c);

    bool ready = false, active = false, focused = false;
    const auto checkActive = [&] {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, activeAtom, XCB_ATOM_WINDOW, 0, 1), nullptr);
        active = reply && xcb_get_property_value_length(reply) == 4 &&
                 *static_cast<xcb_window_t*>(xcb_get_property_value(reply)) == window;
        std::free(reply);
    };
    const auto maybeReady = [&] {
        if (!ready && active && focused) {
            ready = true;
            std::printf("ready %u\n", window);
        }
    };
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        switch (event->response_type & 0x7f) {
        case XCB_MAP_NOTIFY:
            checkActive();
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
            xcb_flush(c);
            maybeReady();
            break;
        case XCB_PROPERTY_NOTIFY:
            if (reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == activeAtom) {
                checkActive();
                maybeReady();
            }
            break;
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE: {
            const auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
            std::printf("%s %d %d\n", (event->response_type & 0x7f) == XCB_KEY_PRESS ? "press" : "release",
                        key->detail, key->state);
            break;
        }
        case XCB_FOCUS_IN:
        case XCB_FOCUS_OUT: {
            const auto* focus = reinterpret_cast<xcb_focus_in_event_t*>(event);
            const bool in = (event->response_type & 0x7f) == XCB_FOCUS_IN;
            if (!ready) {
                if (focus->detail != XCB_NOTIFY_DETAIL_POINTER)
                    focused = in;
                maybeReady();
                break;
            }
            std::printf("%s %d %d\n", in ? "focus-in" : "focus-out", focus->mode, focus->detail);
            break;
        }
        default:
            break;
        }
        std::fflush(stdout);
        std::free(event);
    }
    return 0;
}
