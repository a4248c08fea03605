#include "input/DragWatcher.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

DragWatcher::~DragWatcher() { stop(); }

void DragWatcher::add(const void* owner, Handler handler)
{
    m_handlers.set(owner, std::move(handler));
    if (m_monitor)
        return;
    m_monitor = platform::platform().pointer().addDragMonitor([this](platform::DragPhase phase) {
        if (phase == platform::DragPhase::dragged)
            handleDragged();
        else
            handleEnded();
    });
    if (!m_monitor)
        Log::error(QStringLiteral("DragWatcher: could not watch drags (no X11 session with XInput 2.2?)"));
}

void DragWatcher::remove(const void* owner)
{
    m_handlers.remove(owner);
    if (m_handlers.empty())
        stop();
}

void DragWatcher::stop()
{
    if (m_monitor)
        platform::platform().pointer().removeDragMonitor(*m_monitor);
    m_monitor.reset();
    m_inDrag = false;
}

void DragWatcher::handleDragged()
{
    m_inDrag = true;
    m_handlers.notify(Event::dragged);
}

void DragWatcher::handleEnded()
{
    // Once per drag.
    if (!m_inDrag)
        return;
    m_inDrag = false;
    m_handlers.notify(Event::ended);
}

} // namespace quillon
