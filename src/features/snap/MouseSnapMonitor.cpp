#include "features/snap/MouseSnapMonitor.h"

#include "features/snap/SnapDialView.h"
#include "platform/Platform.h"
#include "support/Log.h"

#include <cmath>
#include <numbers>

namespace quillon {

MouseSnapMonitor::MouseSnapMonitor() = default;

MouseSnapMonitor::~MouseSnapMonitor()
{
    cleanup();
}

std::optional<SnapPosition> MouseSnapMonitor::sector(double dx, double dy)
{
    if (dx * dx + dy * dy < deadZone * deadZone)
        return std::nullopt;
    double angle = std::atan2(dy, dx) * 180 / std::numbers::pi;
    if (angle < 0)
        angle += 360;
    // Segment i spans its centre i × 45° ± 22.5°; 337.5° and up wrap to 0.
    const int segment = int(std::floor((angle + 22.5) / 45)) % 8;
    return SnapDialView::order[size_t(segment)];
}

void MouseSnapMonitor::begin()
{
    if (m_monitor || m_origin)
        return;
    Log::debug("MouseSnapMonitor: begin");
    platform::Pointer& pointer = platform::platform().pointer();
    m_origin = pointer.location();
    showRing(*m_origin);
    // Removed in cleanup(), before this object goes.
    m_monitor = pointer.addMoveMonitor([this] { handleMove(); });
}

void MouseSnapMonitor::showRing(const QPointF& at)
{
    platform::OverlayWindows& overlays = platform::platform().overlayWindows();
    if (!m_ring) {
        m_ring = std::make_unique<SnapDialView>();
        overlays.prepare(*m_ring, platform::OverlayStyle{level, true});
    }
    m_ring->setSelected(std::nullopt);
    const double half = SnapDialView::side / 2;
    overlays.setFrame(*m_ring, QRectF(at.x() - half, at.y() - half, SnapDialView::side, SnapDialView::side));
    if (!overlays.translucent())
        overlays.setShape(*m_ring,
                          SnapDialView::outline(QRectF(0, 0, SnapDialView::side, SnapDialView::side)));
    overlays.show(*m_ring);
}

void MouseSnapMonitor::handleMove()
{
    if (!m_origin)
        return;
    const QPointF p = platform::platform().pointer().location();
    const auto s = sector(p.x() - m_origin->x(), p.y() - m_origin->y());
    if (s == m_pendingSector)
        return;
    m_pendingSector = s;
    if (m_ring)
        m_ring->setSelected(s);
    if (!s) {
        m_footprint.hide();
        return;
    }
    const auto screen = containing(p);
    if (!screen) {
        m_footprint.hide();
        return;
    }
    m_footprint.show(*snapFrame(*s, screen->visibleFrame, QSizeF(0, 0)));
}

void MouseSnapMonitor::end()
{
    if (!m_pendingSector)
        return;
    Log::debug([&] { return QStringLiteral("MouseSnapMonitor: snap ") + caseName(*m_pendingSector); });
    if (onSnap)
        onSnap(*m_pendingSector);
}

void MouseSnapMonitor::cleanup()
{
    if (m_monitor)
        platform::platform().pointer().removeMoveMonitor(*m_monitor);
    m_monitor.reset();
    m_footprint.dispose();
    if (m_ring)
        platform::platform().overlayWindows().hide(*m_ring);
    m_ring.reset();
    m_origin.reset();
    m_pendingSector.reset();
}

} // namespace quillon
