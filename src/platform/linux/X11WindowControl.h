#pragma once

#include "platform/MainQueue.h"
#include "platform/WindowControl.h"
#include "platform/linux/Ewmh.h"

#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTimer;

namespace quillon::platform::linux_ {

/// Windows read and acted on through EWMH, on a connection of its own (reads
/// come from background work too).
class X11WindowControl final : public WindowControl {
public:
    explicit X11WindowControl(std::unique_ptr<X11Connection> connection);
    ~X11WindowControl() override;

    std::optional<std::vector<WindowId>> windows(int32_t pid) override;
    std::optional<WindowKind> kind(WindowId window) override;
    std::optional<QString> title(WindowId window) override;
    std::optional<QRectF> frame(WindowId window) override;
    std::optional<WindowId> focusedWindow() override;
    std::optional<WindowId> mainWindow(int32_t pid) override;
    void raise(WindowId window, std::function<void(bool raised)> done) override;
    bool close(WindowId window) override;
    bool isResizable(WindowId window) override;
    void setFrame(WindowId window, const QRectF& frame,
                  std::function<void(std::optional<QRectF> readBack)> done) override;

    /// How long a move may take before what reads back is reported anyway.
    static constexpr int frameTimeoutMs = 200;

    /// How long a raise waits for the window manager.
    static constexpr double raiseTimeout = 0.5;

private:
    struct PendingRaise {
        int id;
        WindowId window;
        std::function<void(bool)> done;
        WorkItem timeout;
    };

    /// A move the window manager has not answered yet.
    struct PendingFrame {
        QRect target; // visible frame, root coordinates
        int configures = 0;
        int expected = 1;
        /// Left a maximised or full-screen state: its decorations change, so
        /// the move is checked against the new ones once.
        bool leftState = false;
        std::function<void(std::optional<QRectF>)> done;
        std::unique_ptr<QTimer> timeout;
    };

    bool isClient(WindowId window);
    void handle(const xcb_generic_event_t* event);
    void activeWindowChanged();
    void finishRaise(int id, bool raised);
    void configured(WindowId window);
    void finishFrame(WindowId window);
    /// Sends the move of `target` (the visible frame) for the decorations
    /// the window has now.
    void requestFrame(WindowId window, const QRect& target, const ClientInfo& info);

    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    int m_eventToken = 0;
    std::map<WindowId, PendingFrame> m_pendingFrames;
    xcb_atom_t m_activeAtom = 0;
    std::vector<PendingRaise> m_raises;
    int m_lastRaise = 0;
    /// The raise work items hold this weakly.
    std::shared_ptr<X11WindowControl*> m_self = std::make_shared<X11WindowControl*>(this);
};

} // namespace quillon::platform::linux_
