#pragma once

#include "features/snap/AXWindow.h"
#include "features/snap/FootprintWindow.h"
#include "features/snap/SnapPosition.h"

#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace quillon {

class DragWatcher;

/// Snapping by dragging a window's title bar to a screen edge or corner:
/// while the pointer is in a zone the footprint shows where the window will
/// go, and letting go there snaps it.
class EdgeSnapMonitor {
public:
    /// The band along an edge and the reach of a corner along its edges.
    static constexpr double edgeBand = 8;
    static constexpr double cornerReach = 50;
    /// Drag events examined for a moving window before giving up.
    static constexpr int maxDetectionAttempts = 20;

    explicit EdgeSnapMonitor(DragWatcher& drag);
    ~EdgeSnapMonitor();
    EdgeSnapMonitor(const EdgeSnapMonitor&) = delete;
    EdgeSnapMonitor& operator=(const EdgeSnapMonitor&) = delete;

    /// A window dropped in a zone: the zone's position and the window's process.
    std::function<void(SnapPosition, int32_t)> onSnap;

    void start();
    void stop();
    bool isStarted() const { return m_started; }

    /// The zone of a y-up point in a visible frame, with its target frame.
    static std::optional<std::pair<SnapPosition, QRectF>> zone(const QPointF& point, const QRectF& visible);

    const FootprintWindow& footprint() const { return m_footprint; }
    std::optional<SnapPosition> pendingSnap() const { return m_pendingSnap; }

private:
    void handleDrag();
    void handleUp();
    void reset();
    static std::optional<std::pair<SnapPosition, QRectF>> zoneUnderPointer();

    DragWatcher& m_drag;
    FootprintWindow m_footprint;
    bool m_started = false;
    bool m_resolved = false;
    std::optional<AXWindow> m_window;
    std::optional<QRectF> m_initialFrame;
    bool m_isDraggingWindow = false;
    int m_detectionAttempts = 0;
    std::optional<SnapPosition> m_pendingSnap;
};

} // namespace quillon
