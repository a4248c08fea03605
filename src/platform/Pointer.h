#pragma once

#include <QPointF>
#include <functional>
#include <optional>

namespace quillon::platform {

/// A mouse button going down anywhere on the desktop.
struct MouseDown {
    /// 1 left, 2 middle, 3 right, 8 and up the extra buttons; the wheel
    /// (4 to 7) is reported only to scroll monitors.
    int button = 1;
    /// The press landed on one of this process's own windows.
    bool overOwnWindow = false;
};

/// The phases of a drag with the left button.
enum class DragPhase {
    dragged,
    ended,
};

/// The mouse pointer and global mouse monitors. Monitors only listen; they
/// run on the main thread and are installed only while somebody listens.
class Pointer {
public:
    virtual ~Pointer() = default;

    /// The pointer position in the y-up global space.
    virtual QPointF location() const = 0;

    /// Every button press anywhere. None when the session gives no such events.
    virtual std::optional<int> addMouseDownMonitor(std::function<void(const MouseDown&)> handler) = 0;
    virtual void removeMouseDownMonitor(int token) = 0;

    /// Left-button drags that began outside this process's overlays and
    /// pop-ups (a drag out of an ordinary window of ours counts): `dragged`
    /// for every movement with the button held, then `ended` once when the
    /// button comes up, wherever that is (our own windows included).
    virtual std::optional<int> addDragMonitor(std::function<void(DragPhase)> handler) = 0;
    virtual void removeDragMonitor(int token) = 0;

    /// Every turn of a scroll wheel anywhere, with its button (4 up, 5 down,
    /// 6 left, 7 right). None when the session gives no such events.
    virtual std::optional<int> addScrollMonitor(std::function<void(int button)> handler) = 0;
    virtual void removeScrollMonitor(int token) = 0;

    /// Every movement of the pointer anywhere, whatever the buttons; the
    /// handler reads location() itself. A burst of motion read at once calls
    /// it once. None when the session gives no such events.
    virtual std::optional<int> addMoveMonitor(std::function<void()> handler) = 0;
    virtual void removeMoveMonitor(int token) = 0;
};

} // namespace quillon::platform
