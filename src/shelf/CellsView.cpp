#include "shelf/CellsView.h"

#include "platform/Platform.h"
#include "shelf/ShelfFiles.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfPaint.h"
#include "shelf/ThumbnailCache.h"
#include "support/DS.h"
#include "support/Log.h"
#include "support/Words.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <cmath>

namespace quillon {

using namespace ShelfPaint;

namespace {

// A soft blur of an image's alpha: three box passes come close to a gaussian.
void boxBlurAlpha(QImage& image, int radius)
{
    if (radius < 1)
        return;
    const int w = image.width(), h = image.height();
    std::vector<int> line(size_t(std::max(w, h)));
    for (int pass = 0; pass < 3; ++pass) {
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            const int count = horizontal ? h : w, length = horizontal ? w : h;
            for (int i = 0; i < count; ++i) {
                const auto at = [&](int j) -> QRgb& {
                    return reinterpret_cast<QRgb*>(image.scanLine(horizontal ? i : j))[horizontal ? j : i];
                };
                for (int j = 0; j < length; ++j)
                    line[size_t(j)] = qAlpha(at(j));
                int sum = 0;
                for (int j = -radius; j <= radius; ++j)
                    sum += line[size_t(std::clamp(j, 0, length - 1))];
                for (int j = 0; j < length; ++j) {
                    at(j) = qRgba(0, 0, 0, sum / (2 * radius + 1));
                    sum += line[size_t(std::min(j + radius + 1, length - 1))];
                    sum -= line[size_t(std::max(j - radius, 0))];
                }
            }
        }
    }
}

constexpr double shadowMargin = 16;

// The card's shadow: black at 0.4, blurred by 7, made once per pixel ratio.
const QImage& cardShadow(double ratio)
{
    static QHash<int, QImage> shadows;
    const int key = int(std::lround(ratio * 100));
    auto it = shadows.find(key);
    if (it != shadows.end())
        return *it;
    const QSizeF size = CardGeometry::cardSize + QSizeF(2 * shadowMargin, 2 * shadowMargin);
    QImage image((size * ratio).toSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        QPainterPath path;
        path.addRoundedRect(QRectF(QPointF(shadowMargin, shadowMargin), CardGeometry::cardSize), 6, 6);
        painter.fillPath(path, QColor::fromRgbF(0, 0, 0, 0.4f));
    }
    boxBlurAlpha(image, int(std::lround(7 * ratio / 2)));
    image.setDevicePixelRatio(ratio);
    return *shadows.insert(key, image);
}

QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    }
    return text;
}

} // namespace

CellsView::CellsView(const QList<ShelfItem>& items, QWidget* parent)
    : QWidget(parent)
    , m_items(items)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

CellsView::~CellsView()
{
    *m_alive = false;
    auto& thumbnails = platform::platform().thumbnails();
    for (const int id : std::as_const(m_thumbnailRequests))
        thumbnails.cancel(id);
}

QColor CellsView::cardTop()
{
    return QColor::fromRgbF(0.992f, 0.992f, 0.992f, 1);
}
QColor CellsView::cardBottom()
{
    return QColor::fromRgbF(0.906f, 0.906f, 0.933f, 1);
}
QColor CellsView::cardBehind()
{
    return QColor::fromRgbF(0.725f, 0.725f, 0.769f, 0.55f);
}

void CellsView::update(const QList<ShelfItem>& items)
{
    m_items = items;
    QSet<QUuid> present;
    for (const ShelfItem& item : m_items)
        present.insert(item.id);
    selection.intersect(present);
    QWidget::update();
}

void CellsView::selectAll()
{
    for (const ShelfItem& item : std::as_const(m_items))
        selection.insert(item.id);
    QWidget::update();
}

QList<ShelfItem> CellsView::targetItems() const
{
    const QList<ShelfItem> selected = selectedItems();
    return selected.isEmpty() ? m_items : selected;
}

int CellsView::fileCount(const QSet<QUuid>& ids) const
{
    int count = 0;
    for (const ShelfItem& item : m_items) {
        if (ids.contains(item.id))
            count += int(item.urls.size());
    }
    return count;
}

std::optional<CellsView::Hit> CellsView::item(const QPointF& point) const
{
    const QRectF bounds = rect();
    for (int i = 0; i < m_items.size(); ++i) {
        if (CardGeometry::hit(i, bounds).contains(point))
            return Hit{i, m_items[i]};
    }
    return std::nullopt;
}

bool CellsView::updateHover(const std::optional<QPointF>& point)
{
    std::optional<QUuid> hovered;
    bool overCross = false;
    if (point) {
        if (const auto hit = item(*point)) {
            hovered = hit->item.id;
            overCross = CardGeometry::removeCross(CardGeometry::card(hit->index)).contains(*point);
        }
    }
    if (hovered != hoveredItemID) {
        hoveredItemID = hovered;
        QWidget::update();
    }
    return overCross;
}

void CellsView::press(const QPointF& p, Qt::KeyboardModifiers modifiers, int clickCount)
{
    m_mouseDownPoint = p;
    m_clickCount = clickCount;
    const auto hit = item(p);
    if (hit && hoveredItemID == hit->item.id &&
        CardGeometry::removeCross(CardGeometry::card(hit->index)).contains(p)) {
        if (onRemoveConfirmed)
            onRemoveConfirmed({hit->item.id});
        return;
    }
    if (!hit) {
        m_pressedItem.reset();
        m_marqueeOrigin = p;
        selection.clear();
        anchorIndex.reset();
        QWidget::update();
        return;
    }
    m_pressedItem = hit->item;
    const QUuid id = hit->item.id;
    if (clickCount >= 2) {
        selection = {id};
        QWidget::update();
        if (onOpenItems)
            onOpenItems({hit->item});
        return;
    }
    if (modifiers.testFlag(Qt::ShiftModifier) && anchorIndex) {
        // An anchor left past the end by a shorter list counts as the last card.
        const int anchor = std::min(*anchorIndex, int(m_items.size()) - 1);
        selection.clear();
        for (int i = std::min(anchor, hit->index); i <= std::max(anchor, hit->index); ++i)
            selection.insert(m_items[i].id);
    } else if (modifiers.testFlag(Qt::ControlModifier)) {
        if (!selection.remove(id))
            selection.insert(id);
        anchorIndex = hit->index;
    } else {
        if (!selection.contains(id))
            selection = {id};
        anchorIndex = hit->index;
    }
    QWidget::update();
}

void CellsView::dragTo(const QPointF& p)
{
    if (m_marqueeOrigin) {
        stretchBand(p);
        if (QScrollArea* area = scrollArea()) {
            m_bandInViewport = mapTo(area->viewport(), p);
            if (!m_autoscroll.isPending())
                autoscrollStep();
        }
        return;
    }
    if (m_pressedItem && !isDraggingOut && QLineF(m_mouseDownPoint, p).length() > 4)
        beginDragOut();
}

QScrollArea* CellsView::scrollArea() const
{
    return qobject_cast<QScrollArea*>(parentWidget() ? parentWidget()->parentWidget() : nullptr);
}

void CellsView::stretchBand(const QPointF& p)
{
    marqueeRect = QRectF(*m_marqueeOrigin, p).normalized();
    selection.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        if (CardGeometry::cell(i).adjusted(-4, -2, 4, 2).intersects(*marqueeRect))
            selection.insert(m_items[i].id);
    }
    QWidget::update();
}

void CellsView::autoscrollStep()
{
    // Qt's scroll area does not follow the band: the row is scrolled by hand
    // while the pointer stays past an edge, moving or not.
    QScrollArea* area = scrollArea();
    if (!area || !m_marqueeOrigin)
        return;
    const double x = m_bandInViewport.x(), width = area->viewport()->width();
    const double past = x < 0 ? x : x > width ? x - width : 0;
    QScrollBar* bar = area->horizontalScrollBar();
    const int before = bar->value();
    if (past != 0)
        bar->setValue(before + int(std::clamp(past / 2, -24.0, 24.0)) + (past > 0 ? 1 : -1));
    if (bar->value() == before)
        return;
    // The pointer has not moved on screen: in the row, the band's end has.
    stretchBand(mapFrom(area->viewport(), m_bandInViewport));
    std::weak_ptr<bool> alive = m_alive;
    m_autoscroll = platform::platform().mainQueue().after(1.0 / 60, [this, alive] {
        if (!alive.expired() && *alive.lock())
            autoscrollStep();
    });
}

void CellsView::release(Qt::KeyboardModifiers modifiers, int clickCount)
{
    if (!isDraggingOut && m_pressedItem && clickCount == 1 &&
        !(modifiers & (Qt::ControlModifier | Qt::ShiftModifier))) {
        selection = {m_pressedItem->id};
        QWidget::update();
    }
    m_pressedItem.reset();
    m_marqueeOrigin.reset();
    m_autoscroll.cancel();
    if (marqueeRect) {
        marqueeRect.reset();
        QWidget::update();
        if (onDragSessionEnded)
            onDragSessionEnded();
    }
}

void CellsView::beginDragOut()
{
    if (!selection.contains(m_pressedItem->id)) {
        selection = {m_pressedItem->id};
        QWidget::update();
    }
    QList<ShelfItem> dragged;
    QRectF cards;
    for (int i = 0; i < m_items.size(); ++i) {
        if (selection.contains(m_items[i].id)) {
            dragged.append(m_items[i]);
            cards |= CardGeometry::card(i).adjusted(-2, -8, 8, 6);
        }
    }
    if (dragged.isEmpty())
        return;
    isDraggingOut = true;
    draggingURLs.clear();
    draggedItemIDs.clear();
    for (const ShelfItem& item : dragged) {
        draggingURLs += item.urls;
        draggedItemIDs.insert(item.id);
    }
    if (onDragOutChanged)
        onDragOutChanged();

    // One image for the whole drag: the dragged cards as they are drawn.
    const double ratio = devicePixelRatioF();
    QPixmap pixmap((cards.size() * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-cards.topLeft());
        for (int i = 0; i < m_items.size(); ++i) {
            if (draggedItemIDs.contains(m_items[i].id))
                drawFileCard(painter, m_items[i], CardGeometry::card(i), false);
        }
    }
    auto* data = new QMimeData;
    data->setUrls(draggingURLs);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(pixmap);
    drag->setHotSpot((m_mouseDownPoint - cards.topLeft()).toPoint());
    auto& probe = platform::platform().dragProbe();
    probe.noteOwnDrag(draggingURLs);
    const QSet<QUuid> ids = draggedItemIDs;
    // The drag runs its own event loop; the shelf may close meanwhile.
    QPointer<CellsView> self(this);
    const Qt::DropAction action = drag->exec(Qt::CopyAction);
    probe.endOwnDrag();
    if (!self)
        return;
    isDraggingOut = false;
    draggingURLs.clear();
    draggedItemIDs.clear();
    dragOutEndedAt = platform::platform().clock().uptime();
    m_pressedItem.reset();
    if (onDragOutChanged)
        onDragOutChanged();
    if (onDragSessionEnded)
        onDragSessionEnded();
    if (action != Qt::IgnoreAction && !ids.isEmpty() && onDragOutAccepted)
        onDragOutAccepted(ids);
}

void CellsView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press(event->position(), event->modifiers(), 1);
}

void CellsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press(event->position(), event->modifiers(), 2);
}

void CellsView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        dragTo(event->position());
    else
        updateHover(event->position());
}

void CellsView::leaveEvent(QEvent*)
{
    updateHover(std::nullopt);
}

void CellsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        release(event->modifiers(), m_clickCount);
}

QList<ShelfItem> CellsView::selectedItems() const
{
    QList<ShelfItem> list;
    for (const ShelfItem& item : m_items) {
        if (selection.contains(item.id))
            list.append(item);
    }
    return list;
}

namespace {

QList<QUrl> urlsOf(const QList<ShelfItem>& items)
{
    QList<QUrl> urls;
    for (const ShelfItem& item : items)
        urls += item.urls;
    return urls;
}

QString convertTitle(ShelfConvert::Format format)
{
    switch (format) {
    case ShelfConvert::Format::Pdf:
        return QStringLiteral("Save as PDF");
    case ShelfConvert::Format::Strip:
        return QStringLiteral("Strip Metadata");
    case ShelfConvert::Format::Zip:
        return QStringLiteral("Compress (.zip)");
    default:
        return QStringLiteral("Convert to ") + ShelfConvert::rawValue(format);
    }
}

} // namespace

QMenu* CellsView::menuFor(const QPointF& point)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &QMenu::aboutToHide, this, [this] { menuDidClose(); });
    isMenuOpen = true;
    const auto hit = item(point);
    if (!hit) {
        menu->addAction(QStringLiteral("Clear All"), this, [this] { menuClearAll(); });
        return menu;
    }
    if (!selection.contains(hit->item.id)) {
        selection = {hit->item.id};
        anchorIndex = hit->index;
        QWidget::update();
    }
    menu->addAction(QStringLiteral("Open"), this, [this] { menuOpen(); });
    menu->addAction(Words::adapt(QStringLiteral("Reveal in Finder")), this, [this] { menuReveal(); });
    menu->addAction(QStringLiteral("Copy Path"), this, [this] { menuCopyPath(); });
    const QList<ShelfConvert::Format> formats = ShelfConvert::options(urlsOf(selectedItems()));
    if (!formats.isEmpty()) {
        QMenu* convert = menu->addMenu(QStringLiteral("Convert"));
        for (const ShelfConvert::Format format : formats) {
            QAction* action = convert->addAction(convertTitle(format));
            action->setData(ShelfConvert::rawValue(format));
            connect(action, &QAction::triggered, this, [this, action] { menuConvert(action->data().toString()); });
        }
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Remove from Shelf"), this, [this] { menuRemoveSelected(); });
    menu->addAction(QStringLiteral("Clear All"), this, [this] { menuClearAll(); });
    return menu;
}

void CellsView::contextMenuEvent(QContextMenuEvent* event)
{
    // Shown without a nested event loop: the shelf may close meanwhile.
    menuFor(event->pos())->popup(event->globalPos());
}

void CellsView::menuOpen()
{
    if (onOpenItems)
        onOpenItems(selectedItems());
}

void CellsView::menuReveal()
{
    const QStringList paths = ShelfFiles::existing(urlsOf(selectedItems()), QStringLiteral("reveal"));
    if (!paths.isEmpty())
        platform::platform().workspace().reveal(paths);
}

void CellsView::menuCopyPath()
{
    QStringList paths;
    for (const QUrl& url : urlsOf(selectedItems()))
        paths.append(url.toLocalFile());
    platform::platform().pasteboard().writeString(paths.join('\n'));
}

void CellsView::menuConvert(const QString& raw)
{
    const std::optional<ShelfConvert::Format> format = ShelfConvert::fromRaw(raw);
    const QList<QUrl> urls = urlsOf(selectedItems());
    if (format && !urls.isEmpty() && onConvert)
        onConvert(urls, *format);
}

void CellsView::menuRemoveSelected()
{
    QSet<QUuid> ids;
    for (const ShelfItem& item : targetItems())
        ids.insert(item.id);
    if (!ids.isEmpty() && onRemoveConfirmed)
        onRemoveConfirmed(ids);
}

void CellsView::menuClearAll()
{
    QSet<QUuid> ids;
    for (const ShelfItem& item : m_items)
        ids.insert(item.id);
    if (!ids.isEmpty() && onRemoveConfirmed)
        onRemoveConfirmed(ids);
}

void CellsView::menuDidClose()
{
    isMenuOpen = false;
    if (onMenuClosed)
        onMenuClosed();
}

void CellsView::pulse(const QSet<QUuid>& ids)
{
    pulsedIDs = ids;
    for (int i = 0; i < m_items.size(); ++i) {
        if (ids.contains(m_items[i].id)) {
            // Scroll the cell into view when the row sits in a scroll area.
            if (QScrollArea* area = scrollArea()) {
                const QRectF cell = CardGeometry::cell(i).adjusted(-12, 0, 12, 0);
                area->ensureVisible(int(cell.center().x()), int(cell.center().y()), int(cell.width() / 2), 0);
            }
            break;
        }
    }
    QWidget::update();
    m_pulseClear.cancel();
    std::weak_ptr<bool> alive = m_alive;
    m_pulseClear = platform::platform().mainQueue().after(0.6, [this, alive] {
        if (alive.expired() || !*alive.lock())
            return;
        pulsedIDs.clear();
        QWidget::update();
    });
}

std::optional<QImage> CellsView::thumbnail(const QUrl& url)
{
    if (auto image = ThumbnailCache::shared().image(url))
        return image;
    if (m_thumbnailRequests.contains(url) || m_failedThumbnails.contains(url))
        return std::nullopt;
    const double ratio = window() && window()->windowHandle() ? window()->devicePixelRatioF() : 2.0;
    const QSize pixels = (CardGeometry::cardSize * ratio).toSize();
    std::weak_ptr<bool> alive = m_alive;
    // A request that answers at once must not be recorded as in flight.
    m_thumbnailRequests.insert(url, 0);
    const int id = platform::platform().thumbnails().request(url.toLocalFile(), pixels,
                                                             [this, alive, url](const QImage& image) {
                                                                 const auto live = alive.lock();
                                                                 if (live && *live)
                                                                     thumbnailArrived(url, image);
                                                             });
    if (m_thumbnailRequests.contains(url))
        m_thumbnailRequests[url] = id;
    return ThumbnailCache::shared().image(url);
}

void CellsView::thumbnailArrived(const QUrl& url, const QImage& image)
{
    m_thumbnailRequests.remove(url);
    if (!image.isNull()) {
        ThumbnailCache::shared().remember(image, url);
        QWidget::update();
    } else {
        m_failedThumbnails.insert(url);
        Log::debug([&] { return "Shelf: no preview for " + QFileInfo(url.toLocalFile()).fileName(); });
    }
}

void CellsView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF dirty = event->rect();
    const QFont labelFont = DS::captionFont();
    for (int i = 0; i < m_items.size(); ++i) {
        const ShelfItem& item = m_items[i];
        const QRectF cell = CardGeometry::cell(i);
        if (!cell.adjusted(-8, -8, 8, 8).intersects(dirty))
            continue;
        const bool pulsed = pulsedIDs.contains(item.id);
        if (pulsed || selection.contains(item.id)) {
            QPainterPath highlight;
            highlight.addRoundedRect(CardGeometry::highlight(i), 8, 8);
            painter.fillPath(highlight, pulsed ? withAlpha(DS::accent(), 0.4) : DS::accentSoft());
            painter.strokePath(highlight, QPen(DS::accent(), 1));
        }
        const QRectF card = CardGeometry::card(i);
        drawFileCard(painter, item, card, cutIDs.contains(item.id));
        if (hoveredItemID == item.id)
            drawRemoveCross(painter, CardGeometry::removeCross(card));
        painter.setFont(labelFont);
        painter.setPen(white(0.78));
        const QRectF label = CardGeometry::label(i);
        const QString text = painter.fontMetrics().elidedText(oneLine(item.displayName()), Qt::ElideMiddle,
                                                              int(label.width()));
        painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    if (marqueeRect) {
        const QColor accent = palette().color(QPalette::Highlight);
        painter.fillRect(*marqueeRect, withAlpha(accent, 0.15));
        painter.setPen(QPen(withAlpha(accent, 0.7), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marqueeRect->adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void CellsView::drawFileCard(QPainter& painter, const ShelfItem& item, const QRectF& card, bool dimmed)
{
    if (!dimmed) {
        drawCard(painter, item, card);
        return;
    }
    // A cut card fades as a whole, its shadow and bubble included: drawn
    // apart, then laid down at 45 %.
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRectF area = card.adjusted(-shadowMargin, -shadowMargin, shadowMargin, shadowMargin);
    QImage layer((area.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter inner(&layer);
        inner.setRenderHints(painter.renderHints());
        inner.translate(-area.topLeft());
        drawCard(inner, item, card);
    }
    painter.save();
    painter.setOpacity(painter.opacity() * 0.45);
    painter.drawImage(area.topLeft(), layer);
    painter.restore();
}

void CellsView::drawCard(QPainter& painter, const ShelfItem& item, const QRectF& card)
{
    QPainterPath outline;
    outline.addRoundedRect(card, 6, 6);
    if (item.urls.size() > 1) {
        QPainterPath behind;
        behind.addRoundedRect(card.translated(5, 4), 6, 6);
        painter.fillPath(behind, cardBehind());
    }
    const QImage& shadow = cardShadow(painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
    painter.drawImage(card.topLeft() + QPointF(-shadowMargin, -shadowMargin + 2), shadow);
    painter.fillPath(outline, cardBottom());

    painter.save();
    painter.setClipPath(outline, Qt::IntersectClip);
    const QUrl first = item.urls.isEmpty() ? QUrl() : item.urls.first();
    if (const auto image = first.isEmpty() ? std::nullopt : thumbnail(first)) {
        drawThumbnail(painter, *image, card);
    } else {
        QLinearGradient gradient(card.topLeft(), card.bottomLeft());
        gradient.setColorAt(0, cardTop());
        gradient.setColorAt(1, cardBottom());
        painter.fillRect(card, gradient);
        if (item.urls.size() == 1) {
            QPainterPath corner;
            corner.addRoundedRect(QRectF(card.right() - 13, card.top() - 5, 18, 18), 5, 5);
            painter.fillPath(corner, QColor::fromRgbF(0, 0, 0, 0.1f));
        }
        const QString extension = QFileInfo(first.toLocalFile()).suffix();
        const QRectF band(card.left(), card.bottom() - 14, card.width(), 14);
        painter.fillRect(band, DS::typeColor(extension));
        painter.setFont(ShelfPaint::font(8, QFont::Bold, true));
        painter.setPen(Qt::white);
        const QRectF textRect(band.left(), band.top() + 2, band.width(), 10);
        const QString text = extension.isEmpty() ? QStringLiteral("FILE") : oneLine(extension.toUpper());
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(text, Qt::ElideMiddle, int(band.width())));
    }
    painter.restore();
    if (item.urls.size() > 1)
        drawGroupBubble(painter, int(item.urls.size()), card);
}

void CellsView::drawThumbnail(QPainter& painter, const QImage& image, const QRectF& card)
{
    painter.fillRect(card, Qt::white);
    const QSizeF size = image.deviceIndependentSize();
    if (size.width() <= 0 || size.height() <= 0)
        return;
    const double scale = std::max(card.width() / size.width(), card.height() / size.height());
    QRectF target(QPointF(), size * scale);
    target.moveCenter(card.center());
    painter.drawImage(target, image);
}

void CellsView::drawGroupBubble(QPainter& painter, int count, const QRectF& card)
{
    const QRectF circle = CardGeometry::bubble(card);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(circle.adjusted(-2, -2, 2, 2));
    painter.setBrush(DS::accent());
    painter.drawEllipse(circle);
    painter.setFont(ShelfPaint::font(10, QFont::Bold));
    painter.setPen(Qt::white);
    painter.drawText(circle, Qt::AlignCenter, QString::number(count));
    painter.restore();
}

void CellsView::drawRemoveCross(QPainter& painter, const QRectF& c)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0.85f, 0.85f, 0.85f));
    painter.drawEllipse(c);
    QPen pen(QColor::fromRgbF(0.15f, 0.15f, 0.15f), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(c.left() + 5, c.top() + 5), QPointF(c.right() - 5, c.bottom() - 5));
    painter.drawLine(QPointF(c.right() - 5, c.top() + 5), QPointF(c.left() + 5, c.bottom() - 5));
    painter.restore();
}

} // namespace quillon
