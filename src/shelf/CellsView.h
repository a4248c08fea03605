#pragma once

#include "platform/MainQueue.h"
#include "shelf/ShelfConvert.h"
#include "shelf/ShelfStore.h"

#include <QHash>
#include <QSet>
#include <QWidget>
#include <functional>
#include <optional>

class QMenu;
class QScrollArea;

namespace quillon {

/// The open shelf's row of cards: one file tile per item, with its preview or
/// a generic page, a band naming the type, a count bubble for several files
/// and the name below. Hovering shows the remove cross; `pulse` flashes the
/// cards that already held files added again.
class CellsView final : public QWidget {
public:
    explicit CellsView(const QList<ShelfItem>& items, QWidget* parent = nullptr);
    ~CellsView() override;

    void update(const QList<ShelfItem>& items);
    const QList<ShelfItem>& items() const { return m_items; }

    struct Hit {
        int index;
        ShelfItem item;
    };
    /// The first card whose hit area holds `point` (view coordinates).
    std::optional<Hit> item(const QPointF& point) const;
    /// Hover at `point`, or none once the pointer left: answers whether the
    /// point lies on the hovered card's remove cross.
    bool updateHover(const std::optional<QPointF>& point);
    void selectAll();
    /// What an action applies to: the selected items in card order, or all
    /// of them when none is selected.
    QList<ShelfItem> targetItems() const;
    /// The files held by the items of `ids`.
    int fileCount(const QSet<QUuid>& ids) const;
    /// The mouse, in view coordinates, with Ctrl standing for Command.
    void press(const QPointF& point, Qt::KeyboardModifiers modifiers, int clickCount);
    void dragTo(const QPointF& point);
    void release(Qt::KeyboardModifiers modifiers, int clickCount);
    /// The context menu for a right click at `point` (view coordinates),
    /// owned by the view and not yet shown: "Clear All" over empty space;
    /// over a card (selected alone first unless already selected) open,
    /// reveal, copy path, the selection's conversions, remove and clear.
    /// Marks the menu open until it hides.
    QMenu* menuFor(const QPointF& point);
    void menuOpen();
    /// Shows the selected items' files in the file manager, in one window.
    void menuReveal();
    /// The selected items' paths as plain text, one a line.
    void menuCopyPath();
    /// A conversion by its format's raw value; an unknown one is ignored.
    void menuConvert(const QString& raw);
    void menuRemoveSelected();
    void menuClearAll();
    void menuDidClose();
    /// The selected items in card order.
    QList<ShelfItem> selectedItems() const;

    /// Flashes the cards of `ids` for 0.6 s; a new pulse restarts the time.
    void pulse(const QSet<QUuid>& ids);

    /// The preview of `url` when cached; otherwise asks for it once (never
    /// again after it failed) and answers none for now.
    std::optional<QImage> thumbnail(const QUrl& url);

    QSet<QUuid> selection;
    std::optional<int> anchorIndex;
    std::optional<QUuid> hoveredItemID;
    QSet<QUuid> cutIDs;
    QSet<QUuid> pulsedIDs;
    std::optional<QRectF> marqueeRect;

    bool isDraggingOut = false;
    QList<QUrl> draggingURLs;
    QSet<QUuid> draggedItemIDs;
    /// Uptime when the last drag-out ended.
    double dragOutEndedAt = -1e9;
    bool isMenuOpen = false;
    /// A rubber band is being drawn.
    bool marqueeActive() const { return m_marqueeOrigin.has_value(); }

    std::function<void(const QList<ShelfItem>&)> onOpenItems;
    std::function<void(const QSet<QUuid>&)> onRemoveConfirmed;
    std::function<void()> onDragSessionEnded;
    std::function<void(const QSet<QUuid>&)> onDragOutAccepted;
    std::function<void()> onDragOutChanged;
    std::function<void()> onMenuClosed;
    std::function<void(const QList<QUrl>&, ShelfConvert::Format)> onConvert;

    const QSet<QUrl>& failedThumbnails() const { return m_failedThumbnails; }
    int requestsInFlight() const { return int(m_thumbnailRequests.size()); }

    /// Card colours (sRGB).
    static QColor cardTop();
    static QColor cardBottom();
    static QColor cardBehind();

    /// Draws one card into `card` (view coordinates), as the view does.
    void drawFileCard(QPainter& painter, const ShelfItem& item, const QRectF& card, bool dimmed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void drawCard(QPainter& painter, const ShelfItem& item, const QRectF& card);
    void drawThumbnail(QPainter& painter, const QImage& image, const QRectF& card);
    void drawGroupBubble(QPainter& painter, int count, const QRectF& card);
    void drawRemoveCross(QPainter& painter, const QRectF& cross);
    void thumbnailArrived(const QUrl& url, const QImage& image);
    void beginDragOut();
    /// The row's scroll area, when it sits in one.
    QScrollArea* scrollArea() const;
    /// The rubber band from its origin to `p`, selecting what it touches.
    void stretchBand(const QPointF& p);
    /// While the band's end lies past the scroll area's left or right edge,
    /// the row scrolls towards it a step per frame.
    void autoscrollStep();

    std::optional<ShelfItem> m_pressedItem;
    QPointF m_mouseDownPoint;
    std::optional<QPointF> m_marqueeOrigin;
    int m_clickCount = 0;
    /// Where the band's end is, in the scroll area's viewport.
    QPointF m_bandInViewport;
    platform::WorkItem m_autoscroll;

    QList<ShelfItem> m_items;
    QSet<QUrl> m_failedThumbnails;
    QHash<QUrl, int> m_thumbnailRequests;
    platform::WorkItem m_pulseClear;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
