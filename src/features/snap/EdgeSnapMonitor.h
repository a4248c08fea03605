#pragma once

#include "features/snap/SnapPosition.h"

#include <cstdint>
#include <functional>

namespace quillon {

class DragWatcher;

/// Snapping by dragging a window's title bar to a screen edge or corner.
class EdgeSnapMonitor {
public:
    explicit EdgeSnapMonitor(DragWatcher& drag);
    ~EdgeSnapMonitor();
    EdgeSnapMonitor(const EdgeSnapMonitor&) = delete;
    EdgeSnapMonitor& operator=(const EdgeSnapMonitor&) = delete;

    /// A window dropped in a zone: the zone's position and the window's process.
    std::function<void(SnapPosition, int32_t)> onSnap;

    void start();
    void stop();
    bool isStarted() const { return m_started; }

private:
    DragWatcher& m_drag;
    bool m_started = false;
};

} // namespace quillon
