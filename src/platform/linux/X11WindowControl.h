#pragma once

#include "platform/WindowControl.h"
#include "platform/linux/Ewmh.h"

#include <memory>

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
    bool raise(WindowId window) override;
    bool close(WindowId window) override;

private:
    bool isClient(WindowId window);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
};

} // namespace quillon::platform::linux_
