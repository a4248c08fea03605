#pragma once

#include "platform/WindowServer.h"
#include "platform/linux/Ewmh.h"

#include <memory>

namespace quillon::platform::linux_ {

/// The window list from the window manager's stacking list, read on a
/// connection of its own so that the census can run on a background thread.
class X11WindowServer final : public WindowServer {
public:
    /// Works without an X server too: every list is then unreadable.
    explicit X11WindowServer(std::unique_ptr<X11Connection> connection);

    std::optional<std::vector<WindowEntry>> windowList(bool onScreenOnly) override;

    /// The layer of a window of this kind and state.
    static int layer(std::optional<WindowKind> kind, bool above);

private:
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
};

} // namespace quillon::platform::linux_
