#include "features/snap/EdgeSnapMonitor.h"

#include "input/DragWatcher.h"
#include "platform/Platform.h"

#include <cmath>

namespace quillon {

EdgeSnapMonitor::EdgeSnapMonitor(DragWatcher& drag)
    : m_drag(drag)
{
}

EdgeSnapMonitor::~EdgeSnapMonitor()
{
    stop();
}

void EdgeSnapMonitor::start()
{
    // The watcher is dropped from the table before this object goes.
    m_drag.add(this, [this](DragWatcher::Event event) {
        if (event == DragWatcher::Event::dragged)
            handleDrag();
        else
            handleUp();
    });
    m_started = true;
}

void EdgeSnapMonitor::stop()
{
    if (m_started)
        m_drag.remove(this);
    m_started = false;
    m_footprint.dispose();
    reset();
}

void EdgeSnapMonitor::reset()
{
    m_resolved = false;
    m_window.reset();
    m_initialFrame.reset();
    m_isDraggingWindow = false;
    m_detectionAttempts = 0;
    m_pendingSnap.reset();
}

std::optional<std::pair<SnapPosition, QRectF>> EdgeSnapMonitor::zone(const QPointF& p, const QRectF& v)
{
    // y grows upwards: the top edge is the rectangle's bottom() in Qt's terms.
    const double minX = v.left(), maxX = v.right(), minY = v.top(), maxY = v.bottom();
    std::optional<SnapPosition> position;
    if ((p.x() <= minX + edgeBand && p.y() >= maxY - cornerReach) ||
        (p.y() >= maxY - edgeBand && p.x() <= minX + cornerReach))
        position = SnapPosition::topLeft;
    else if ((p.x() >= maxX - edgeBand && p.y() >= maxY - cornerReach) ||
             (p.y() >= maxY - edgeBand && p.x() >= maxX - cornerReach))
        position = SnapPosition::topRight;
    else if ((p.x() <= minX + edgeBand && p.y() <= minY + cornerReach) ||
             (p.y() <= minY + edgeBand && p.x() <= minX + cornerReach))
        position = SnapPosition::bottomLeft;
    else if ((p.x() >= maxX - edgeBand && p.y() <= minY + cornerReach) ||
             (p.y() <= minY + edgeBand && p.x() >= maxX - cornerReach))
        position = SnapPosition::bottomRight;
    else if (p.x() <= minX + edgeBand)
        position = SnapPosition::leftHalf;
    else if (p.x() >= maxX - edgeBand)
        position = SnapPosition::rightHalf;
    else if (p.y() >= maxY - edgeBand)
        position = SnapPosition::maximize;
    else if (p.y() <= minY + edgeBand)
        position = SnapPosition::bottomHalf;
    if (!position)
        return std::nullopt;
    return std::make_pair(*position, *snapFrame(*position, v, QSizeF(0, 0)));
}

std::optional<std::pair<SnapPosition, QRectF>> EdgeSnapMonitor::zoneUnderPointer()
{
    const QPointF p = platform::platform().pointer().location();
    const auto screen = containing(p);
    if (!screen)
        return std::nullopt;
    return zone(p, screen->visibleFrame);
}

void EdgeSnapMonitor::handleDrag()
{
    if (!m_resolved) {
        m_resolved = true;
        const auto window = AXWindow::focused();
        if (window && window->isResizable()) {
            m_window = window;
            m_initialFrame = window->frame();
        }
    }
    if (!m_window || !m_initialFrame)
        return;
    if (!m_isDraggingWindow) {
        if (++m_detectionAttempts > maxDetectionAttempts)
            return;
        const auto current = m_window->frame();
        if (!current) {
            // Closed or unreadable: passive until the button comes up.
            m_detectionAttempts = maxDetectionAttempts + 1;
            return;
        }
        if (current->topLeft() == m_initialFrame->topLeft())
            return;
        if (std::abs(current->width() - m_initialFrame->width()) >= 2 ||
            std::abs(current->height() - m_initialFrame->height()) >= 2)
            return;
        m_isDraggingWindow = true;
    }
    const auto zone = zoneUnderPointer();
    if (!zone) {
        if (m_pendingSnap) {
            m_pendingSnap.reset();
            m_footprint.hide();
        }
        return;
    }
    if (m_pendingSnap != zone->first) {
        m_pendingSnap = zone->first;
        m_footprint.show(zone->second);
    }
}

void EdgeSnapMonitor::handleUp()
{
    // A window that closed during the drag is not snapped.
    if (m_isDraggingWindow && m_window && m_window->frame()) {
        if (const auto zone = zoneUnderPointer(); zone && onSnap)
            onSnap(zone->first, m_window->pid);
    }
    m_footprint.hide();
    reset();
}

} // namespace quillon
