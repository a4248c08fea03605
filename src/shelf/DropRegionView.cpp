#include "shelf/DropRegionView.h"

#include "shelf/CellsView.h"
#include "shelf/DragData.h"
#include "shelf/ShelfDrop.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPointer>

namespace quillon {

namespace {

bool isInternal(const QDropEvent* event)
{
    return dynamic_cast<CellsView*>(event->source()) != nullptr;
}

} // namespace

DropRegionView::DropRegionView(QWidget* parent)
    : QWidget(parent)
{
    setAcceptDrops(true);
}

QPointF DropRegionView::location(const QPointF& local) const
{
    if (!reference || reference == this)
        return local;
    return reference->mapFromGlobal(mapToGlobal(local));
}

void DropRegionView::answer(QDropEvent* event)
{
    const Qt::DropAction action =
        onUpdated ? onUpdated(location(event->position()), isInternal(event)) : Qt::CopyAction;
    if (action == Qt::IgnoreAction) {
        // Keep receiving moves: the answer may change over another part.
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void DropRegionView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!ShelfDrop::offersFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    if (onEntered)
        onEntered();
    answer(event);
    // Entering must be accepted for the moves to follow.
    event->accept();
}

void DropRegionView::dragMoveEvent(QDragMoveEvent* event)
{
    answer(event);
}

void DropRegionView::dragLeaveEvent(QDragLeaveEvent*)
{
    if (onExited)
        onExited();
}

void DropRegionView::dropEvent(QDropEvent* event)
{
    const QPointF at = location(event->position());
    const bool internal = isInternal(event);
    QPointer<DropRegionView> self(this);
    const bool taken = ShelfDrop::receive(DragData::fromMimeData(*event->mimeData()),
                                          [self, at, internal](const QList<QUrl>& urls) {
                                              if (self && !urls.isEmpty() && self->onPerform)
                                                  self->onPerform(urls, at, internal);
                                          });
    if (taken) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
    // Qt sends no leave after a drop: the exit runs here.
    if (self && onExited)
        onExited();
}

} // namespace quillon
