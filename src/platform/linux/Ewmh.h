#pragma once

#include "platform/linux/X11Connection.h"

#include <QString>
#include <optional>
#include <vector>

namespace quillon::platform::linux_ {

/// The one helper for EWMH and ICCCM properties and client messages. Every
/// X11 implementation reads and writes window-manager state through it.
class Ewmh {
public:
    explicit Ewmh(X11Connection& connection) : m_x(connection) {}

    X11Connection& connection() const { return m_x; }

    /// 32-bit values of a property (CARDINAL, WINDOW, ATOM lists); empty when missing.
    std::vector<uint32_t> values32(xcb_window_t window, const char* property, xcb_atom_t type);
    std::optional<uint32_t> cardinal(xcb_window_t window, const char* property);
    std::optional<xcb_window_t> windowValue(xcb_window_t window, const char* property);
    std::vector<xcb_atom_t> atoms(xcb_window_t window, const char* property);
    /// A UTF8_STRING property (such as _NET_WM_NAME).
    std::optional<QString> utf8(xcb_window_t window, const char* property);
    /// The title: _NET_WM_NAME, else WM_NAME.
    std::optional<QString> title(xcb_window_t window);

    /// True when the window manager lists every one of `names` in _NET_SUPPORTED.
    bool supports(std::initializer_list<const char*> names);

    /// True while a compositing manager runs: some client owns the
    /// _NET_WM_CM_Sn selection of this screen.
    bool compositorRunning();

    /// A client message to the root window, as EWMH asks of pagers and tools.
    void sendToRoot(xcb_window_t window, const char* message, uint32_t d0 = 0, uint32_t d1 = 0, uint32_t d2 = 0,
                    uint32_t d3 = 0, uint32_t d4 = 0);

private:
    X11Connection& m_x;
};

} // namespace quillon::platform::linux_
