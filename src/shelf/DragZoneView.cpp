#include "shelf/DragZoneView.h"

#include "platform/Platform.h"

#include <QPainter>

namespace quillon {

DragZoneView::DragZoneView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

DragZoneView::~DragZoneView()
{
    *m_alive = false;
    m_debounce.cancel();
}

void DragZoneView::setHighlighted(bool on)
{
    const bool current = m_pendingHighlight.value_or(m_highlighted);
    if (on == current)
        return;
    m_pendingHighlight = on;
    m_debounce.cancel();
    std::weak_ptr<bool> alive = m_alive;
    m_debounce = platform::platform().mainQueue().after(0.05, [this, alive, on] {
        if (alive.expired())
            return;
        m_pendingHighlight.reset();
        if (on != m_highlighted) {
            m_highlighted = on;
            update();
        }
    });
}

void DragZoneView::setAlpha(double alpha)
{
    m_alpha = alpha;
    // A zone that has faded out lets the mouse through to what lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents, alpha < 0.01);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_TransparentForMouseEvents, alpha < 0.01);
}

void DragZoneView::paintEvent(QPaintEvent*)
{
    ++m_paintCount;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
}

} // namespace quillon
