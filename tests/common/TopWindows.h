#pragma once

// Windows on the root of a desktop test's X server. Include only from
// tests/desktop.

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QPoint>
#include <QRect>
#include <optional>
#include <vector>

namespace quillon::testing {

struct TopWindow {
    xcb_window_t id;
    QRect geometry;
};

/// Override-redirect windows mapped on the root: the window manager keeps no
/// list of them, so they are found in the window tree itself.
inline std::vector<TopWindow> overrideRedirectWindows(platform::linux_::X11Connection& x)
{
    using platform::linux_::XcbReply;
    std::vector<TopWindow> result;
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), x.root()), nullptr));
    if (!tree)
        return result;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        XcbReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            x.get(), xcb_get_window_attributes(x.get(), children[i]), nullptr));
        if (!attributes || !attributes->override_redirect || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        XcbReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), children[i]), nullptr));
        if (geometry)
            result.push_back(
                {children[i], QRect(geometry->x, geometry->y, geometry->width, geometry->height)});
    }
    return result;
}

/// The centre of the active window, on the root; none without one.
inline std::optional<QPoint> activeWindowCentre(platform::linux_::X11Connection& x)
{
    using platform::linux_::XcbReply;
    const auto active = platform::linux_::Ewmh(x).windowValue(x.root(), "_NET_ACTIVE_WINDOW");
    if (!active || !*active)
        return std::nullopt;
    xcb_connection_t* c = x.get();
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, *active), nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, *active, x.root(), 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    return QPoint(origin->dst_x + geometry->width / 2, origin->dst_y + geometry->height / 2);
}

} // namespace quillon::testing
