#include "features/snap/EdgeSnapMonitor.h"

#include "input/DragWatcher.h"

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
    m_started = true;
}

void EdgeSnapMonitor::stop()
{
    m_started = false;
}

} // namespace quillon
