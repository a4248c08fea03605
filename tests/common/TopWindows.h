#pragma once

// Windows on the root of a desktop test's X server. Include only from
// tests/desktop.

#include "platform/linux/X11Connection.h"

#include <QRect>
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

} // namespace quillon::testing
