#include "shelf/ShelfView.h"

#include "platform/Platform.h"
#include "platform/ScreenSpace.h"
#include "shelf/ActionStrip.h"
#include "shelf/AirDropZoneView.h"
#include "shelf/CellsView.h"
#include "shelf/ConvertZoneView.h"
#include "shelf/DropPlateView.h"
#include "shelf/DropRegionView.h"
#include "shelf/HoverButton.h"
#include "shelf/ShelfFiles.h"
#include "shelf/ShelfPaint.h"
#include "support/DS.h"

#include <QAbstractButton>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

namespace quillon {

namespace {

// A frame worked out y up, in a parent `height` tall, as a widget's geometry.
QRect toWidget(const QRectF& frame, double height)
{
    return QRectF(frame.x(), height - frame.y() - frame.height(), frame.width(), frame.height())
        .toAlignedRect();
}

int totalFiles(const QList<ShelfItem>& items)
{
    int count = 0;
    for (const ShelfItem& item : items)
        count += int(item.urls.size());
    return count;
}

// A plain panel with a fill of its own.
class Fill final : public QWidget {
public:
    Fill(const QColor& color, QWidget* parent)
        : QWidget(parent)
        , m_color(color)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

} // namespace

ShelfView::ShelfView(const QList<ShelfItem>& items, const QSizeF& size, double notchWidth, double notchHeight,
                     QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_notchWidth(notchWidth)
    , m_notchHeight(notchHeight)
    , m_animator([this] { frameTick(); })
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(size.toSize());

    m_body = new DropRegionView(this);
    m_bodyFlash = new Fill(ShelfPaint::white(0.06), m_body);
    m_bodyFlash->hide();
    m_columnAccept = new DropRegionView(this);
    m_columnAccept->reference = m_body;
    m_body->reference = m_body;

    m_cells = new CellsView(items);
    m_scroll = new QScrollArea(m_body);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAttribute(Qt::WA_TranslucentBackground);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setStyleSheet("background: transparent;");
    m_scroll->setWidget(m_cells);

    m_strip = new ActionStrip(m_body);
    m_zone = new AirDropZoneView(m_body);
    m_convertZone = new ConvertZoneView(m_body);
    m_dropPlate = new DropPlateView(m_body);
    m_dropPlate->hide();
    m_confirmCaption = new QLabel(m_body);
    m_confirmCaption->setFont(ShelfPaint::font(11, QFont::Medium));
    QPalette palette = m_confirmCaption->palette();
    palette.setColor(QPalette::WindowText, DS::warning());
    m_confirmCaption->setPalette(palette);
    m_confirmCaption->setAlignment(Qt::AlignCenter);
    m_confirmCaption->hide();

    const auto makeFade = [](QWidget* view, double alpha) {
        auto* effect = new QGraphicsOpacityEffect(view);
        view->setGraphicsEffect(effect);
        return Fade{view, effect, AnimatedValue{alpha, std::nullopt}};
    };
    m_stripFade = makeFade(m_strip, 1);
    m_scrollFade = makeFade(m_scroll, 1);
    m_zoneFade = makeFade(m_zone, 0);
    m_convertFade = makeFade(m_convertZone, 0);
    m_zone->setAlpha(0);
    m_convertZone->setAlpha(0);
    m_bodyAlpha.model = 0;

    wireSubviews();

    m_strip->setZipAvailable(totalFiles(items) > 1);
    m_shapeFrom = m_shapeTo = openShape();
    layoutBody();
    applyOpacities(Animator::now());
}

void ShelfView::wireSubviews()
{
    // Closures of the view's own children die with it; the deferred ones
    // check that it lives.
    for (DropRegionView* region : {m_body, m_columnAccept}) {
        region->onEntered = [this] {
            dropSessionActive = true;
            if (onDragHover)
                onDragHover();
        };
        region->onUpdated = [this](const QPointF& p, bool internal) { return dropUpdated(p, internal); };
        region->onExited = [this] { endDropSession(); };
        region->onPerform = [this](const QList<QUrl>& urls, const QPointF& p, bool internal) {
            handleDrop(urls, p, internal);
        };
    }
    m_convertZone->onFormat = [this](ShelfConvert::Format format) {
        if (!pendingConvertURLs)
            return;
        const QList<QUrl> urls = *pendingConvertURLs;
        pendingConvertURLs.reset();
        m_convertZone->reset();
        updateRightSide();
        if (onConvert)
            onConvert(urls, format);
    };
    m_convertZone->onCancel = [this] {
        pendingConvertURLs.reset();
        m_convertZone->reset();
        updateRightSide();
    };

    m_cells->onOpenItems = [](const QList<ShelfItem>& items) {
        QList<QUrl> urls;
        for (const ShelfItem& item : items)
            urls += item.urls;
        const QStringList paths = ShelfFiles::existing(urls, QStringLiteral("open"));
        if (!paths.isEmpty())
            platform::platform().workspace().open(paths);
    };
    m_cells->onRemoveConfirmed = [this](const QSet<QUuid>& ids) { requestRemoval(ids); };
    m_cells->onDragSessionEnded = [this] { reportExitIfOutside(); };
    m_cells->onMenuClosed = [this] { reportExitIfOutside(); };
    m_cells->onDragOutAccepted = [this](const QSet<QUuid>& ids) {
        if (onDragOutAccepted)
            onDragOutAccepted(ids);
    };
    m_cells->onDragOutChanged = [this] { updateRightSide(); };
    m_cells->onConvert = [this](const QList<QUrl>& urls, ShelfConvert::Format format) {
        if (onConvert)
            onConvert(urls, format);
    };

    // The controller ignores an empty list; it is still told.
    m_strip->onAirDrop = [this] {
        if (onAirDrop)
            onAirDrop(allURLs());
    };
    m_strip->onCopy = [this] { copyToPasteboard(false); };
    m_strip->onZip = [this] {
        const QList<QUrl> urls = allURLs();
        if (!urls.isEmpty() && onConvert)
            onConvert(urls, ShelfConvert::Format::Zip);
    };
    m_strip->onRemove = [this] { removeSelectionRequested(); };
}

std::optional<QPointF> ShelfView::pointerInView() const
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary || !window()->windowHandle())
        return std::nullopt;
    const QPointF native = platform::ScreenSpace::nativeFromCocoa(platform::platform().pointer().location(),
                                                                  QRectF(primary->geometry()));
    return mapFromGlobal(native);
}

void ShelfView::reportExitIfOutside()
{
    std::weak_ptr<bool> alive = m_alive;
    platform::platform().mainQueue().post([this, alive] {
        if (alive.expired())
            return;
        const std::optional<QPointF> pointer = pointerInView();
        if (pointer && !QRectF(rect()).contains(*pointer) && onMouseExited)
            onMouseExited();
    });
}

void ShelfView::applyPointerFeedback(QWidget* hit)
{
    auto* button = dynamic_cast<HoverButton*>(hit);
    m_strip->setHoveredButton(button && m_strip->isAncestorOf(button) ? button : nullptr);
    bool overCross = false;
    if (const std::optional<QPointF> pointer = pointerInView()) {
        overCross = m_cells->updateHover(hit == m_cells ? std::optional(m_cells->mapFrom(this, *pointer))
                                                        : std::nullopt);
    }
    const double now = platform::platform().clock().uptime();
    // Another view, a cross, or the throttle's time is up.
    if (hit == lastCursorHit && !overCross && now - lastCursorAssert <= 0.05)
        return;
    const bool overButton = qobject_cast<QAbstractButton*>(hit) != nullptr;
    setCursor(overButton || overCross ? Qt::PointingHandCursor : Qt::ArrowCursor);
    lastCursorHit = hit;
    lastCursorAssert = now;
}

void ShelfView::toggleQuickLook()
{
    auto& preview = platform::platform().filePreview();
    if (preview.isVisible()) {
        preview.hide();
        return;
    }
    if (m_cells->selection.isEmpty())
        m_cells->selectAll();
    quickLookURLs = allURLs();
    if (quickLookURLs.isEmpty())
        return;
    const QStringList paths = ShelfFiles::existing(quickLookURLs, QStringLiteral("preview"));
    if (!paths.isEmpty())
        preview.show(paths);
}

QWidget& ShelfView::body() const
{
    return *m_body;
}

ShelfView::~ShelfView()
{
    *m_alive = false;
    m_pendingRemovalWork.cancel();
}

QList<QUrl> ShelfView::allURLs() const
{
    QList<QUrl> urls;
    const QList<ShelfItem>& items = m_cells->items();
    for (const ShelfItem& item : items) {
        if (m_cells->selection.isEmpty() || m_cells->selection.contains(item.id))
            urls += item.urls;
    }
    return urls;
}

NotchShape ShelfView::openShape() const
{
    return NotchShape::of(QRectF(QPointF(0, 0), m_size), 20);
}

NotchShape ShelfView::notchShape() const
{
    return NotchShape::of(QRectF((m_size.width() - m_notchWidth) / 2, m_size.height() - m_notchHeight,
                                 m_notchWidth, m_notchHeight),
                          12);
}

NotchShape ShelfView::currentShape() const
{
    if (m_shapeDuration <= 0)
        return m_shapeTo;
    const double fraction = std::clamp((Animator::now() - m_shapeBegin) / m_shapeDuration, 0.0, 1.0);
    return NotchShape::lerp(m_shapeFrom, m_shapeTo, m_shapeCurve(fraction));
}

double ShelfView::bodyAlpha() const
{
    return m_bodyAlpha.at(Animator::now());
}

ShelfView::Alphas ShelfView::targetAlphas() const
{
    return {m_stripFade.alpha.model, m_scrollFade.alpha.model, m_zoneFade.alpha.model,
            m_convertFade.alpha.model};
}

void ShelfView::animateIn()
{
    const double now = Animator::now();
    // Reopened while closing: the teardown the closing would run is dropped.
    if (m_closeToken) {
        m_animator.drop(*m_closeToken);
        m_closeToken.reset();
    }
    const Spring spring{1, 430, 40};
    m_shapeFrom = m_shapeAnimated ? currentShape() : notchShape();
    m_shapeTo = openShape();
    m_shapeBegin = now;
    m_shapeDuration = spring.settlingDuration();
    m_shapeCurve = TimingCurve::spring(spring);
    m_shapeAnimated = true;
    const double from = m_bodyAlpha.at(now);
    m_bodyAlpha.model = 1;
    m_bodyAlpha.animation = m_opaqueWindow
                                ? std::nullopt
                                : std::optional(Animation{from, 1, now, 0.12, TimingCurve::easeDefault()});
    m_animator.runUntil(now + std::max(m_shapeDuration, 0.12));
    frameTick();
}

void ShelfView::animateOut(std::function<void()> completion)
{
    const double now = Animator::now();
    m_shapeFrom = currentShape();
    m_shapeTo = notchShape();
    m_shapeBegin = now;
    m_shapeDuration = 0.18;
    m_shapeCurve = TimingCurve::easeIn();
    m_shapeAnimated = true;
    const double from = m_bodyAlpha.at(now);
    m_bodyAlpha.model = 0;
    m_bodyAlpha.animation = m_opaqueWindow
                                ? std::nullopt
                                : std::optional(Animation{from, 0, now, 0.1, TimingCurve::easeDefault()});
    if (m_closeToken)
        m_animator.drop(*m_closeToken);
    m_closeToken = m_animator.at(now + 0.18, [this, completion = std::move(completion)] {
        m_closeToken.reset();
        if (completion)
            completion();
    });
    m_animator.runUntil(now + 0.18);
    frameTick();
}

void ShelfView::setSize(const QSizeF& size)
{
    if (size == m_size)
        return;
    m_size = size;
    resize(size.toSize());
    if (!m_closeToken) {
        m_shapeFrom = m_shapeTo = openShape();
        m_shapeDuration = 0;
    }
    layoutBody();
    frameTick();
}

void ShelfView::update(const QList<ShelfItem>& items)
{
    m_cells->update(items);
    m_strip->setZipAvailable(totalFiles(items) > 1);
    disarmRemoval();
    if (onSizeChanged)
        onSizeChanged();
    layoutBody();
}

void ShelfView::pointerEntered()
{
    setCursor(Qt::ArrowCursor);
    if (onMouseEntered)
        onMouseEntered();
}

void ShelfView::pointerExited()
{
    m_strip->setHoveredButton(nullptr);
    m_cells->updateHover(std::nullopt);
    disarmRemoval();
    lastCursorHit = nullptr;
    if (m_cells->isDraggingOut || dropSessionActive || m_cells->isMenuOpen || m_cells->marqueeActive())
        return;
    if (onMouseExited)
        onMouseExited();
}

void ShelfView::enterEvent(QEnterEvent*)
{
    pointerEntered();
}

void ShelfView::leaveEvent(QEvent*)
{
    pointerExited();
}

Qt::DropAction ShelfView::dropUpdated(const QPointF& p, bool internal)
{
    const bool overConvert = m_convertFade.alpha.model > 0 && m_convertZone->geometry().contains(p.toPoint());
    lastDragOverConvert = overConvert;
    m_convertZone->setHighlighted(overConvert);
    const bool overZone = !overConvert && m_zoneModeActive && m_zone->geometry().contains(p.toPoint());
    lastDragOverZone = overZone;
    m_zone->setHighlighted(overZone);
    const bool plate = !overConvert && !overZone && !m_dropPlate->isHidden() &&
                       m_dropPlate->geometry().contains(p.toPoint());
    if (plate != m_dropPlate->highlighted) {
        m_dropPlate->highlighted = plate;
        m_dropPlate->update();
    }
    if (overZone) {
        m_bodyFlash->hide();
        return Qt::CopyAction;
    }
    if (internal) {
        m_bodyFlash->hide();
        return overConvert ? Qt::CopyAction : Qt::IgnoreAction;
    }
    m_bodyFlash->setVisible(m_dropPlate->isHidden());
    return Qt::CopyAction;
}

bool ShelfView::handleDrop(const QList<QUrl>& urls, const QPointF& p, bool internal)
{
    bool accepted = true;
    if (lastDragOverConvert ||
        (m_convertFade.alpha.model > 0 && m_convertZone->geometry().contains(p.toPoint()))) {
        pendingConvertURLs = urls;
        m_convertZone->showFormats(ShelfConvert::options(urls));
        updateRightSide();
    } else if (lastDragOverZone || (m_zoneModeActive && m_zone->geometry().contains(p.toPoint()))) {
        if (onAirDrop)
            onAirDrop(urls);
    } else if (internal) {
        accepted = false;
    } else if (onAdd) {
        onAdd(urls);
    }
    endDropSession();
    return accepted;
}

void ShelfView::endDropSession()
{
    dropSessionActive = false;
    lastDragOverZone = false;
    lastDragOverConvert = false;
    m_zone->setHighlighted(false);
    m_convertZone->setHighlighted(false);
    if (m_dropPlate->highlighted) {
        m_dropPlate->highlighted = false;
        m_dropPlate->update();
    }
    m_bodyFlash->hide();
}

void ShelfView::copyToPasteboard(bool cut)
{
    if (m_cells->selection.isEmpty())
        m_cells->selectAll();
    const QList<ShelfItem> targets = m_cells->targetItems();
    QList<QUrl> urls;
    QSet<QUuid> ids;
    for (const ShelfItem& item : targets) {
        urls += item.urls;
        ids.insert(item.id);
    }
    if (urls.isEmpty())
        return;
    auto& pasteboard = platform::platform().pasteboard();
    pasteboard.writeFileURLs(urls, cut);
    m_strip->flashCopyConfirm();
    const QSet<QUuid> cutSet = cut ? ids : QSet<QUuid>();
    if (cutSet != m_cells->cutIDs) {
        m_cells->cutIDs = cutSet;
        m_cells->QWidget::update();
    }
    if (onCutStaged)
        onCutStaged(cutSet, pasteboard.changeCount());
}

void ShelfView::removeSelectionRequested()
{
    if (m_cells->isDraggingOut)
        return;
    if (m_cells->selection.isEmpty())
        m_cells->selectAll();
    QSet<QUuid> ids;
    for (const ShelfItem& item : m_cells->targetItems())
        ids.insert(item.id);
    requestRemoval(ids);
}

void ShelfView::requestRemoval(const QSet<QUuid>& ids)
{
    if (m_cells->isDraggingOut || ids.isEmpty())
        return;
    const int files = m_cells->fileCount(ids);
    if (files < 2 || pendingRemoval == ids) {
        disarmRemoval();
        if (onRemove)
            onRemove(ids);
        return;
    }
    pendingRemoval = ids;
    m_strip->setRemoveArmed(true);
    m_confirmCaption->setText(QString("Remove %1 files? Press again to confirm").arg(files));
    m_confirmCaption->show();
    if (onSizeChanged)
        onSizeChanged();
    layoutBody();
    m_pendingRemovalWork.cancel();
    std::weak_ptr<bool> alive = m_alive;
    m_pendingRemovalWork = platform::platform().mainQueue().after(3.0, [this, alive] {
        if (!alive.expired())
            disarmRemoval();
    });
}

void ShelfView::disarmRemoval()
{
    if (!pendingRemoval)
        return;
    pendingRemoval.reset();
    m_pendingRemovalWork.cancel();
    m_strip->setRemoveArmed(false);
    m_confirmCaption->hide();
    if (onSizeChanged)
        onSizeChanged();
    layoutBody();
}

bool ShelfView::clickStrip(StripAction action)
{
    HoverButton* button = action == StripAction::AirDrop ? m_strip->airDropButton()
                          : action == StripAction::Copy  ? m_strip->copyButton()
                                                         : m_strip->zipButton();
    if (!button || button->isHidden())
        return false;
    button->click();
    return true;
}

void ShelfView::setShareAvailable(bool available)
{
    if (available == m_shareAvailable)
        return;
    m_shareAvailable = available;
    m_strip->setShareAvailable(available);
    updateRightSide();
}

double ShelfView::rightSideWidth() const
{
    ShelfLayout::SideState side;
    side.externalDragActive = externalDragActive;
    side.draggingOut = m_cells->isDraggingOut;
    side.pendingConvert = pendingConvertURLs.has_value();
    side.hasDragOptions = !dragConvertOptions.isEmpty();
    side.convertEnabled = convertEnabled;
    side.shareAvailable = m_shareAvailable;
    side.stripHasLeftColumn = !m_strip->leftColumnButtons().isEmpty();
    return ShelfLayout::rightSideWidth(m_size.width(), side);
}

void ShelfView::updateRightSide()
{
    if (m_cells->isDraggingOut)
        dragConvertOptions =
            convertEnabled ? ShelfConvert::options(m_cells->draggingURLs) : QList<ShelfConvert::Format>();
    ShelfLayout::SideState side;
    side.externalDragActive = externalDragActive;
    side.draggingOut = m_cells->isDraggingOut;
    side.pendingConvert = pendingConvertURLs.has_value();
    side.hasDragOptions = !dragConvertOptions.isEmpty();
    side.convertEnabled = convertEnabled;
    side.shareAvailable = m_shareAvailable;
    const ShelfLayout::Face face = ShelfLayout::faceOf(side);
    m_zoneModeActive = face.zoneMode;
    const double now = Animator::now();
    fadeTo(m_stripFade, face.strip, now);
    fadeTo(m_scrollFade, face.scroll, now);
    fadeTo(m_zoneFade, face.zone, now);
    fadeTo(m_convertFade, face.convert, now);
    m_zone->setAlpha(face.zone);
    m_convertZone->setAlpha(face.convert);
    m_strip->setAttribute(Qt::WA_TransparentForMouseEvents, face.strip < 0.01);
    layoutBody();
    frameTick();
}

void ShelfView::fadeTo(Fade& fade, double target, double now)
{
    if (fade.alpha.model == target)
        return;
    const double from = fade.alpha.at(now);
    fade.alpha.model = target;
    fade.alpha.animation = Animation{from, target, now, 0.15, TimingCurve::easeDefault()};
    m_animator.runUntil(now + 0.15);
}

void ShelfView::layoutBody()
{
    ++m_layoutCount;
    ShelfLayout::Input input;
    input.size = m_size;
    input.notchHeight = m_notchHeight;
    input.side.externalDragActive = externalDragActive;
    input.side.draggingOut = m_cells->isDraggingOut;
    input.side.pendingConvert = pendingConvertURLs.has_value();
    input.side.hasDragOptions = !dragConvertOptions.isEmpty();
    input.side.convertEnabled = convertEnabled;
    input.side.shareAvailable = m_shareAvailable;
    input.side.stripHasLeftColumn = !m_strip->leftColumnButtons().isEmpty();
    input.captionVisible = !m_confirmCaption->isHidden();
    m_confirmCaption->adjustSize();
    input.captionSize = m_confirmCaption->size();
    input.convertVisible = m_convertFade.alpha.model > 0;
    input.cardCount = int(m_cells->items().size());
    const ShelfLayout::Frames frames = ShelfLayout::layout(input);

    const double h = m_size.height(), bodyHeight = frames.body.height();
    m_body->setGeometry(toWidget(frames.body, h));
    m_columnAccept->setGeometry(toWidget(frames.columnAccept, h));
    m_bodyFlash->setGeometry(toWidget(frames.bodyFlash, bodyHeight));
    m_scroll->setGeometry(toWidget(frames.scroll, bodyHeight));
    m_strip->setGeometry(toWidget(frames.strip, bodyHeight));
    m_zone->setGeometry(toWidget(frames.zone, bodyHeight));
    m_convertZone->setGeometry(toWidget(frames.convertZone, bodyHeight));
    m_dropPlate->setGeometry(toWidget(frames.dropPlate, bodyHeight));
    m_confirmCaption->setGeometry(toWidget(frames.confirmCaption, bodyHeight));
    m_cells->resize(QSizeF(frames.cells.width(), frames.cells.height()).toSize());
    // Stacking: the cards, then the strip and zones, the plate, the caption.
    m_dropPlate->raise();
    m_confirmCaption->raise();
}

void ShelfView::setOpaqueWindow(bool opaque)
{
    m_opaqueWindow = opaque;
    if (opaque)
        m_bodyAlpha.animation.reset();
    frameTick();
}

void ShelfView::applyOpacities(double now)
{
    const double body = m_opaqueWindow ? m_bodyAlpha.model : m_bodyAlpha.at(now);
    for (Fade* fade : {&m_stripFade, &m_scrollFade, &m_zoneFade, &m_convertFade}) {
        fade->alpha.prune(now);
        const double alpha = body * fade->alpha.at(now);
        if (fade->effect->opacity() != alpha)
            fade->effect->setOpacity(alpha);
    }
    m_bodyAlpha.prune(now);
}

void ShelfView::frameTick()
{
    const double now = Animator::now();
    applyOpacities(now);
    const NotchShape shape = currentShape();
    if (m_shapeDuration > 0 && now >= m_shapeBegin + m_shapeDuration)
        m_shapeDuration = 0, m_shapeFrom = m_shapeTo;
    const QPainterPath outline = shape.widgetPath(m_size.height());
    if (outline != m_reportedShape) {
        m_reportedShape = outline;
        // The children stay inside the outline while it moves.
        const bool resting = shape == openShape();
        if (resting)
            m_body->clearMask();
        else
            m_body->setMask(QRegion(outline.translated(0, -m_notchHeight).toFillPolygon().toPolygon()));
        if (onShapeChanged)
            onShapeChanged(outline);
    }
    QWidget::update();
}

void ShelfView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(currentShape().widgetPath(m_size.height()), Qt::black);
}

} // namespace quillon
