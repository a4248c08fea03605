#include "features/snap/MouseSnapMonitor.h"

namespace quillon {

MouseSnapMonitor::~MouseSnapMonitor()
{
    cleanup();
}

void MouseSnapMonitor::begin()
{
    m_open = true;
}

void MouseSnapMonitor::end()
{
    if (m_pendingSector && onSnap)
        onSnap(*m_pendingSector);
}

void MouseSnapMonitor::cleanup()
{
    m_open = false;
    m_pendingSector.reset();
}

} // namespace quillon
