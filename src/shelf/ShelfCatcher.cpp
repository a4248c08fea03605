#include "shelf/ShelfCatcher.h"

#include "shelf/DragData.h"
#include "shelf/ShelfDrop.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPointer>

namespace quillon {

ShelfCatcher::ShelfCatcher(Kind kind)
    : m_kind(kind)
{
    setAcceptDrops(true);
    setMouseTracking(true);
}

void ShelfCatcher::dragEnterEvent(QDragEnterEvent* event)
{
    if (!ShelfDrop::offersFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (onActivate)
        onActivate();
}

void ShelfCatcher::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ShelfCatcher::dropEvent(QDropEvent* event)
{
    QPointer<ShelfCatcher> self(this);
    const bool taken = ShelfDrop::receive(DragData::fromMimeData(*event->mimeData()), [self](const QList<QUrl>& urls) {
        if (self && !urls.isEmpty() && self->onDrop)
            self->onDrop(urls);
    });
    if (taken) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ShelfCatcher::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (m_kind == Kind::chip && onActivate)
        onActivate();
}

void ShelfCatcher::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_inside || m_hovered)
        return;
    m_hovered = true;
    if (onHover)
        onHover(true);
}

void ShelfCatcher::enterEvent(QEnterEvent*)
{
    m_inside = true;
}

void ShelfCatcher::leaveEvent(QEvent*)
{
    m_inside = false;
    if (!m_hovered)
        return;
    m_hovered = false;
    if (onHover)
        onHover(false);
}

} // namespace quillon
