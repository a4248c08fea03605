#pragma once

#include "platform/MainQueue.h"
#include "platform/WindowControl.h"
#include "platform/linux/Ewmh.h"

#include <functional>
#include <memory>
#include <vector>

namespace quillon::platform::linux_ {

/// Windows read and acted on through EWMH, on a connection of its own (reads
/// come from background work too).
class X11WindowControl final : public WindowControl {
public:
    explicit X11WindowControl(std::unique_ptr<X11Connection> connection);

    std::optional<std::vector<WindowId>> windows(int32_t pid) override;
    std::optional<WindowKind> kind(WindowId window) override;
    std::optional<QString> title(WindowId window) override;
    std::optional<QRectF> frame(WindowId window) override;
    std::optional<WindowId> focusedWindow() override;
    std::optional<WindowId> mainWindow(int32_t pid) override;
    void raise(WindowId window, std::function<void(bool raised)> done) override;
    bool close(WindowId window) override;

    /// How long a raise waits for the window manager.
    static constexpr double raiseTimeout = 0.5;

private:
    struct PendingRaise {
        int id;
        WindowId window;
        std::function<void(bool)> done;
        WorkItem timeout;
    };

    bool isClient(WindowId window);
    void activeWindowChanged();
    void finishRaise(int id, bool raised);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::vector<PendingRaise> m_raises;
    int m_lastRaise = 0;
    /// The raise work items hold this weakly.
    std::shared_ptr<X11WindowControl*> m_self = std::make_shared<X11WindowControl*>(this);
};

} // namespace quillon::platform::linux_
