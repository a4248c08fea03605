#pragma once

#include "features/snap/FootprintWindow.h"
#include "features/snap/SnapPosition.h"

#include <QPointF>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class SnapDialView;

/// The snap dial: opened at the pointer while the snap chord is held, it
/// selects the position in the pointer's direction and previews it with the
/// footprint on the screen under the pointer.
class MouseSnapMonitor {
public:
    /// Below this distance from the centre nothing is selected.
    static constexpr double deadZone = 25;
    static constexpr int level = 8;

    MouseSnapMonitor();
    ~MouseSnapMonitor();
    MouseSnapMonitor(const MouseSnapMonitor&) = delete;
    MouseSnapMonitor& operator=(const MouseSnapMonitor&) = delete;

    std::function<void(SnapPosition)> onSnap;

    /// Opens the dial at the pointer; nothing while it is open.
    void begin();
    /// Applies the selected segment, if any.
    void end();
    /// Closes the dial without applying anything.
    void cleanup();

    bool isOpen() const { return m_origin.has_value(); }
    /// The pointer's move monitor, present only while the dial is open.
    std::optional<int> monitor() const { return m_monitor; }
    std::optional<SnapPosition> pendingSector() const { return m_pendingSector; }
    const FootprintWindow& footprint() const { return m_footprint; }
    SnapDialView* ring() const { return m_ring.get(); }

    /// The segment of a y-up offset from the centre; none in the dead zone.
    static std::optional<SnapPosition> sector(double dx, double dy);

private:
    void showRing(const QPointF& at);
    void handleMove();

    std::optional<int> m_monitor;
    std::unique_ptr<SnapDialView> m_ring;
    FootprintWindow m_footprint;
    std::optional<QPointF> m_origin;
    std::optional<SnapPosition> m_pendingSector;
};

} // namespace quillon
