#pragma once

#include "platform/Observers.h"
#include "platform/Spaces.h"
#include "platform/linux/Ewmh.h"

#include <atomic>
#include <memory>

namespace quillon::platform::linux_ {

/// Workspaces as EWMH desktops. The state is resolved again whenever the
/// window manager changes what it supports, is replaced or goes away, and
/// published as one immutable snapshot that any thread may read.
class X11Spaces final : public Spaces {
public:
    /// Works without an X server too: workspaces are then unavailable.
    explicit X11Spaces(std::unique_ptr<X11Connection> connection);
    ~X11Spaces() override;

    std::shared_ptr<const SpacesSnapshot> snapshot() const override { return m_snapshot.load(); }
    std::optional<std::vector<uint64_t>> spacesOfWindow(WindowId window) override;
    bool switchTo(int index) override;
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

private:
    void resolve();
    void handle(const xcb_generic_event_t* event);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    int m_eventToken = 0;
    xcb_window_t m_checkWindow = XCB_WINDOW_NONE;
    std::atomic<std::shared_ptr<const SpacesSnapshot>> m_snapshot;
    Observers<> m_handlers;
};

} // namespace quillon::platform::linux_
