// A small X11 client for the desktop tests: opens one window per --title and
// prints "window <id>" for each, then follows commands on standard input:
//   desktop <n> <index>   ask the window manager to move window n (0-based)
//   sticky <n>            ask for window n on every desktop
//   title <n> <text>      rename window n
// A window the window manager asks to close is destroyed; the program ends
// when its last window is gone, unless --stay is given. --tray registers a
// StatusNotifierItem from the program's own session-bus connection (printing
// "tray registered" or "tray failed") and keeps it, and the program, after
// its windows close.
//
//   quillon-test-window [--class instance,Class] [--type normal|dialog|dock|utility|none]
//                       [--net-pid N] [--stay] [--tray] --title T [--title T2 …]
#include <systemd/sd-bus.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

xcb_connection_t* c;
xcb_screen_t* screen;

xcb_atom_t atom(const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

void setTitle(xcb_window_t w, const std::string& title)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                        uint32_t(title.size()), title.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, uint32_t(title.size()),
                        title.data());
}

void toRoot(xcb_window_t w, const char* message, uint32_t d0, uint32_t d1)
{
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = w;
    e.type = atom(message);
    e.data.data32[0] = d0;
    e.data.data32[1] = d1;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&e));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> titles;
    std::string wmClass = "quillon-test-window,QuillonTestWindow";
    std::string type = "normal";
    long netPid = getpid();
    bool stay = false;
    bool tray = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--title")
            titles.push_back(next), ++i;
        else if (arg == "--class")
            wmClass = next, ++i;
        else if (arg == "--type")
            type = next, ++i;
        else if (arg == "--net-pid")
            netPid = std::atol(next), ++i;
        else if (arg == "--stay")
            stay = true;
        else if (arg == "--tray")
            tray = true;
    }
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    std::string classValue = wmClass;
    std::replace(classValue.begin(), classValue.end(), ',', '\0');
    classValue.push_back('\0');
    const xcb_atom_t deleteWindow = atom("WM_DELETE_WINDOW");

    std::vector<xcb_window_t> windows;
    for (size_t n = 0; n < titles.size(); ++n) {
        const xcb_window_t w = xcb_generate_id(c);
        const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, int16_t(40 + 30 * n), int16_t(60 + 30 * n), 320,
                          200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        setTitle(w, titles[n]);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(classValue.size()), classValue.data());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("WM_PROTOCOLS"), XCB_ATOM_ATOM, 32, 1, &deleteWindow);
        if (netPid > 0) {
            const uint32_t pid = uint32_t(netPid);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
        }
        if (type != "none") {
            std::string name = "_NET_WM_WINDOW_TYPE_" + type;
            for (auto& ch : name)
                ch = char(std::toupper(ch));
            const xcb_atom_t t = atom(name.c_str());
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &t);
        }
        xcb_map_window(c, w);
        windows.push_back(w);
    }
    xcb_flush(c);
    for (const xcb_window_t w : windows)
        std::printf("window %u\n", w);
    sd_bus* bus = nullptr;
    if (tray) {
        stay = true;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const bool registered =
            sd_bus_open_user(&bus) >= 0 &&
            sd_bus_call_method(bus, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                               "org.kde.StatusNotifierWatcher", "RegisterStatusNotifierItem", &error, nullptr, "s",
                               "/StatusNotifierItem") >= 0;
        sd_bus_error_free(&error);
        std::printf(registered ? "tray registered\n" : "tray failed\n");
    }
    std::fflush(stdout);

    size_t open = windows.size();
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string input;
    while (open > 0 || stay) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const auto kind = event->response_type & 0x7f;
            if (kind == XCB_CLIENT_MESSAGE) {
                auto* e = reinterpret_cast<xcb_client_message_event_t*>(event);
                if (e->data.data32[0] == deleteWindow)
                    xcb_destroy_window(c, e->window);
            } else if (kind == XCB_DESTROY_NOTIFY) {
                --open;
            }
            std::free(event);
        }
        xcb_flush(c);
        if (xcb_connection_has_error(c))
            return 1;
        if (open == 0 && !stay)
            break;
        if (poll(fds, fds[1].fd >= 0 ? 2 : 1, -1) < 0)
            continue;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[256];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                fds[1].fd = -1;
                continue;
            }
            input.append(buffer, size_t(n));
            size_t end;
            while ((end = input.find('\n')) != std::string::npos) {
                std::istringstream line(input.substr(0, end));
                input.erase(0, end + 1);
                std::string command;
                size_t index = 0;
                line >> command >> index;
                if (index >= windows.size())
                    continue;
                if (command == "desktop") {
                    uint32_t desktop = 0;
                    line >> desktop;
                    toRoot(windows[index], "_NET_WM_DESKTOP", desktop, 2);
                } else if (command == "sticky") {
                    toRoot(windows[index], "_NET_WM_DESKTOP", 0xFFFFFFFFu, 2);
                } else if (command == "title") {
                    std::string title;
                    std::getline(line >> std::ws, title);
                    setTitle(windows[index], title);
                }
            }
            xcb_flush(c);
        }
    }
    if (bus)
        sd_bus_flush_close_unref(bus);
    xcb_disconnect(c);
    return 0;
}
