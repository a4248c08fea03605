#include "shelf/ShelfController.h"

#include "notch/NotchBarView.h"
#include "notch/NotchShape.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "platform/Platform.h"
#include "shelf/ActionStrip.h"
#include "shelf/CellsView.h"
#include "shelf/DropPlateView.h"
#include "shelf/HoverButton.h"
#include "shelf/ShelfCatcher.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfView.h"
#include "support/CrashReporter.h"
#include "support/DS.h"
#include "support/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace quillon {

namespace {

platform::Platform& sys()
{
    return platform::platform();
}

double uptime()
{
    return sys().clock().uptime();
}

QString pointerText()
{
    const QPointF p = sys().pointer().location();
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

/// `rect` grown by `by` to the left, the right and downward (y up).
QRectF grownSidesAndDown(const QRectF& rect, double by)
{
    return QRectF(rect.x() - by, rect.y() - by, rect.width() + 2 * by, rect.height() + by);
}

bool shows(const HoverButton* button)
{
    return button && !button->isHidden();
}

bool hasPhysicalNotch(const platform::Screen& s)
{
    return s.safeAreaTop > 0 && s.auxiliaryTopLeftArea && s.auxiliaryTopRightArea;
}

/// The letters the open shelf takes alone or with Shift: S, C, Z, Space,
/// Backspace and Escape.
platform::KeyGrab letterGrab()
{
    return {{1, 8, 6, 49, 51, 53}, {0, platform::KeyFlags::shift}};
}

/// A, C and X with Ctrl, with or without Shift.
platform::KeyGrab commandGrab()
{
    using namespace platform::KeyFlags;
    return {{0, 8, 7}, {command, command | shift}};
}

} // namespace

template <typename F> void ShelfController::post(F fn)
{
    std::weak_ptr<bool> alive = m_alive;
    sys().mainQueue().post([alive, fn = std::move(fn)]() mutable {
        if (alive.lock())
            fn();
    });
}

template <typename F> platform::WorkItem ShelfController::after(double seconds, F fn)
{
    std::weak_ptr<bool> alive = m_alive;
    return sys().mainQueue().after(seconds, [alive, fn = std::move(fn)]() mutable {
        if (alive.lock())
            fn();
    });
}

template <typename F> auto ShelfController::guarded(F fn)
{
    std::weak_ptr<bool> alive = m_alive;
    return [alive, fn = std::move(fn)](auto&&... args) {
        if (alive.lock())
            fn(std::forward<decltype(args)>(args)...);
    };
}

ShelfController::ShelfController(ShelfStore& store, DragWatcher& drags, NotchStage& stage)
    : m_store(store)
    , m_drags(drags)
    , m_stage(stage)
    , m_letterKeys(true, false, 0, letterGrab())
    , m_commandKeys(true, false, 0, commandGrab())
{
    const auto handler = [this](bool) {
        // Whoever was told, the arbiter says whether the shelf's chip wins.
        const auto winner = m_stage.arbiter().winner();
        const bool wins = winner == NotchSource::shelfBridge || winner == NotchSource::shelfCue;
        setNotchYielded(!wins);
    };
    m_stage.setHandler(NotchSource::shelfBridge, handler);
    m_stage.setHandler(NotchSource::shelfCue, handler);
    const auto onKey = [this](const TransientKeyTap::KeyEvent& event) { return handleKey(event); };
    m_letterKeys.onKey = onKey;
    m_commandKeys.onKey = onKey;
}

ShelfController::~ShelfController()
{
    setEnabled(false);
    m_stage.setHandler(NotchSource::shelfBridge, [](bool) {});
    m_stage.setHandler(NotchSource::shelfCue, [](bool) {});
    *m_alive = false;
}

// Switching

void ShelfController::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    auto& p = sys();
    m_enabled = on;
    if (on) {
        m_store.load();
        m_store.onChange = [this] { storeChanged(); };
        m_lastDragChange = p.dragProbe().changeCount();
        m_drags.add(this, [this](DragWatcher::Event event) { handleDrag(event); });
        m_displaysToken = p.displays().addChangeHandler([this] { screenChanged(); });
        m_notchConnection = QObject::connect(&NotchGeometry::notifier(), &NotchGeometryNotifier::didChange,
                                             [this] { screenChanged(); });
        buildDropTarget();
        syncNotchClaim();
        drawChip();
        return;
    }
    m_drags.remove(this);
    if (m_displaysToken)
        p.displays().removeChangeHandler(*m_displaysToken);
    m_displaysToken.reset();
    QObject::disconnect(m_notchConnection);
    m_store.onChange = nullptr;
    m_fileDragActive = false;
    m_stage.release(NotchTakeover::shelfExpanded);
    syncNotchClaim();
    m_collapseWork.cancel();
    disarmKeys();
    removeMoveMonitor();
    removeOutsideClickMonitor();
    cancelCut();
    teardownShelf();
    teardownChip();
    dropDropTarget();
}

void ShelfController::screenChanged()
{
    if (!m_enabled)
        return;
    disarmKeys();
    removeMoveMonitor();
    removeOutsideClickMonitor();
    m_collapseWork.cancel();
    teardownShelf();
    buildDropTarget();
    // The chip moves with the notch, so it is drawn again.
    m_presented.reset();
    syncNotchClaim();
    drawChip();
}

void ShelfController::storeChanged()
{
    if (m_shelfView) {
        m_shelfView->update(m_store.items());
        return;
    }
    syncNotchClaim();
    drawChip();
}

// Counts and the notch

int ShelfController::totalFiles() const
{
    int total = 0;
    for (const ShelfItem& item : m_store.items())
        total += int(item.urls.size());
    return total;
}

std::optional<NotchSource> ShelfController::wantedNotchSource() const
{
    if (!m_enabled || isOpen() || !NotchGeometry::hudScreen())
        return std::nullopt;
    if (m_fileDragActive)
        return NotchSource::shelfCue;
    if (!m_store.items().isEmpty())
        return NotchSource::shelfBridge;
    return std::nullopt;
}

void ShelfController::syncNotchClaim()
{
    const auto wanted = wantedNotchSource();
    if (wanted)
        m_stage.claim(*wanted);
    if (wanted != NotchSource::shelfBridge)
        m_stage.release(NotchSource::shelfBridge);
    if (wanted != NotchSource::shelfCue)
        m_stage.release(NotchSource::shelfCue);
}

void ShelfController::setNotchYielded(bool yielded)
{
    if (yielded == m_chipYielding)
        return;
    m_chipYielding = yielded;
    if (!yielded)
        drawChip();
    else
        retractChip();
}

void ShelfController::drawChip()
{
    const auto wanted = wantedNotchSource();
    const auto hud = NotchGeometry::hudScreen();
    const NotchArbiter& arbiter = m_stage.arbiter();
    if (!wanted || !arbiter.takeovers.empty() || arbiter.winner() != wanted || !hud) {
        retractChip();
        return;
    }
    const Presented now{*wanted, totalFiles()};
    if (m_presented == now && m_chipPanel)
        return;
    if (*wanted == NotchSource::shelfBridge) {
        presentBridge(NotchStates::shelfChip(now.files), 14, hud->notch, false);
        m_presented = now;
    } else {
        showCue();
    }
}

void ShelfController::retractChip()
{
    m_presented.reset();
    if (!m_chipBar) {
        teardownChip();
        return;
    }
    QPointer<NotchBarView> bar = m_chipBar;
    std::weak_ptr<bool> alive = m_alive;
    bar->animateOut([this, alive, bar] {
        if (alive.lock() && bar && m_chipBar == bar)
            teardownChip();
    });
}

void ShelfController::showCue()
{
    const auto hud = NotchGeometry::hudScreen();
    if (!m_enabled || isOpen() || !hud)
        return;
    m_cueShowing = true;
    const int total = totalFiles();
    NotchContent content = NotchStates::shelfChip(total);
    content.caption = QStringLiteral("drop files here");
    if (total == 0)
        content.right.clear();
    presentBridge(content, 22, hud->notch, true);
    m_presented = Presented{NotchSource::shelfCue, total};
    if (m_chipPanel && m_targetPanel)
        setDropTargetFrame(grownSidesAndDown(m_chipFrame, reach));
}

void ShelfController::presentBridge(const NotchContent& content, double drop, const QRectF& notch, bool outline)
{
    auto* bar = new NotchBarView(content, notch.size(), drop);
    const double left = bar->leftContentWidth(), right = bar->rightContentWidth();
    const QRectF frame(notch.x() - left - 14, notch.y() - drop, left + 14 + notch.width() + right + 14,
                       notch.height() + drop);
    auto& overlays = sys().overlayWindows();
    std::optional<NotchShape> from;
    if (!m_chipPanel) {
        makeChipPanel();
        overlays.setFrame(*m_chipPanel, frame);
        ScreenSurface::adoptBar(*m_chipPanel, *bar, m_chipTranslucent);
        overlays.show(*m_chipPanel);
    } else {
        const QRectF old = m_chipFrame;
        from = NotchShape::of(QRectF(old.x() - frame.x(), old.y() - frame.y(), old.width(), old.height()), 16);
        overlays.setFrame(*m_chipPanel, frame);
        if (m_chipBar)
            ScreenSurface::dropBar(*m_chipBar);
        ScreenSurface::adoptBar(*m_chipPanel, *bar, m_chipTranslucent);
        // Kept above the bars of the notch by raising it again.
        overlays.show(*m_chipPanel);
    }
    m_chipBar = bar;
    m_chipFrame = frame;
    m_lastBridgeFrame = frame;
    bar->animateIn(from);
    bar->setAccentOutline(outline, DS::accent(), true);
}

void ShelfController::makeChipPanel()
{
    auto* panel = new ShelfCatcher(ShelfCatcher::Kind::chip);
    m_chipTranslucent = ScreenSurface::preparePanel(*panel, {26, false});
    panel->onActivate = guarded([this] { post([this] { expand(); }); });
    panel->onDrop = guarded([this](const QList<QUrl>& urls) { m_store.add(urls); });
    panel->onHover = guarded([this](bool hovering) { columnHover(hovering); });
    m_chipPanel = panel;
}

void ShelfController::teardownChip()
{
    if (m_chipPanel) {
        sys().overlayWindows().hide(*m_chipPanel);
        m_chipPanel->deleteLater();
    }
    m_chipPanel = nullptr;
    m_chipBar = nullptr;
    m_chipFrame = {};
    m_presented.reset();
    m_cueShowing = false;
}

void ShelfController::buildDropTarget()
{
    dropDropTarget();
    const auto hud = NotchGeometry::hudScreen();
    if (!hud || !hasPhysicalNotch(hud->screen))
        return;
    auto* target = new ShelfCatcher(ShelfCatcher::Kind::column);
    target->setWindowTitle(QStringLiteral("Quillon shelf"));
    sys().overlayWindows().prepare(*target, {27, false});
    target->onActivate = guarded([this] {
        haptic();
        post([this] { expand(); });
    });
    target->onDrop = guarded([this](const QList<QUrl>& urls) {
        m_store.add(urls);
        haptic();
        post([this] { expand(); });
    });
    target->onHover = guarded([this](bool hovering) { columnHover(hovering); });
    m_targetPanel = target;
    setDropTargetFrame(hud->notch);
    sys().overlayWindows().show(*target);
}

void ShelfController::dropDropTarget()
{
    if (m_targetPanel) {
        sys().overlayWindows().hide(*m_targetPanel);
        m_targetPanel->deleteLater();
    }
    m_targetPanel = nullptr;
    m_targetFrame = {};
}

void ShelfController::setDropTargetFrame(const QRectF& frame)
{
    if (!m_targetPanel)
        return;
    m_targetFrame = frame;
    sys().overlayWindows().setFrame(*m_targetPanel, frame);
    m_targetPanel->update();
}

void ShelfController::haptic()
{
    const double now = uptime();
    if (!hapticsEnabled || now - m_lastHaptic < hapticInterval)
        return;
    m_lastHaptic = now;
    sys().haptics().perform();
}

void ShelfController::columnHover(bool hovering)
{
    if (!hovering || !m_enabled || m_store.items().isEmpty() || isOpen())
        return;
    post([this] {
        if (isOpen())
            return;
        haptic();
        expand();
    });
}

// Drags

bool ShelfController::ownDragOutBusy() const
{
    if (!m_shelfView)
        return false;
    const CellsView& cells = m_shelfView->cells();
    return cells.isDraggingOut || uptime() - cells.dragOutEndedAt < ShelfKeys::dragOutQuiet;
}

void ShelfController::handleDrag(DragWatcher::Event event)
{
    if (event == DragWatcher::Event::ended) {
        m_fileDragActive = false;
        m_openedForThisDrag = false;
        m_currentDragConvertOptions.clear();
        if (m_shelfView && !m_shelfView->cells().isDraggingOut) {
            m_shelfView->dragConvertOptions.clear();
            m_shelfView->updateRightSide();
            m_shelfView->externalDragActive = false;
            m_shelfView->updateRightSide();
            m_shelfView->dropPlate().hide();
        }
        if (const auto hud = NotchGeometry::hudScreen())
            setDropTargetFrame(hud->notch);
        if (m_cueShowing) {
            m_cueShowing = false;
            syncNotchClaim();
            drawChip();
        }
        if (!m_shelfView || ownDragOutBusy())
            return;
        // Dropped elsewhere: the shelf closes; dropped on it: it stays.
        if (!m_shelfFrame.contains(sys().pointer().location()))
            post([this] { collapse(); });
        return;
    }
    if (ownDragOutBusy())
        return;
    platform::DragProbe& probe = sys().dragProbe();
    const int change = probe.changeCount();
    if (change != m_lastDragChange) {
        m_lastDragChange = change;
        m_openedForThisDrag = false;
        m_fileDragActive = probe.carriesFiles();
        if (m_fileDragActive) {
            m_currentDragConvertOptions =
                convertEnabled ? ShelfConvert::options(probe.fileURLs()) : QList<ShelfConvert::Format>{};
            if (m_shelfView) {
                m_shelfView->dragConvertOptions = m_currentDragConvertOptions;
                m_shelfView->updateRightSide();
                m_shelfView->externalDragActive = true;
                m_shelfView->updateRightSide();
                m_shelfView->dropPlate().show();
                m_shelfView->layoutBody();
            }
            if (!isOpen()) {
                syncNotchClaim();
                drawChip();
            }
        }
    }
    if (!m_fileDragActive)
        return;
    if (!m_openedForThisDrag)
        openIfPointerIsNear();
    else
        closeIfDragWentAway();
}

void ShelfController::openIfPointerIsNear()
{
    const auto hud = NotchGeometry::hudScreen();
    if (m_openedForThisDrag || !m_enabled || suppressed || isOpen() || !hud)
        return;
    const QRectF zone = grownSidesAndDown(m_chipPanel ? m_chipFrame : hud->notch, reach);
    if (!zone.contains(sys().pointer().location()))
        return;
    Log::debug("Shelf: drag came within reach \u2014 opening");
    m_openedForThisDrag = true;
    haptic();
    post([this] { expand(); });
}

void ShelfController::closeIfDragWentAway()
{
    if (!isOpen())
        return;
    const QRectF around = m_shelfFrame.adjusted(-leaveMargin, -leaveMargin, leaveMargin, leaveMargin);
    if (around.contains(sys().pointer().location()))
        return;
    Log::debug("Shelf: drag left the shelf \u2014 closing again");
    m_openedForThisDrag = false;
    post([this] { collapse(); });
}

// Opening and closing

QRectF ShelfController::shelfFrame(const QRectF& notch, double extraDrop) const
{
    std::optional<QRectF> bridge;
    if (m_lastBridgeFrame.width() > 0)
        bridge = m_lastBridgeFrame;
    return ShelfLayout::shelfFrame(notch, extraDrop, int(m_store.items().size()), totalFiles(), bridge);
}

void ShelfController::expand()
{
    const auto hud = NotchGeometry::hudScreen();
    if (hud)
        setDropTargetFrame(hud->notch);
    if (m_cueShowing) {
        m_cueShowing = false;
        syncNotchClaim();
        drawChip();
    }
    m_collapseWork.cancel();
    if (!m_enabled || suppressed || isOpen() || !hud)
        return;
    CrashReporter::breadcrumb(QStringLiteral("shelf: expand (%1 items)").arg(m_store.items().size()));
    Log::debug([] { return QStringLiteral("Shelf: expand at ") + pointerText(); });
    teardownChip();
    m_isCollapsing = false;

    const QRectF frame = shelfFrame(hud->notch, 0);
    auto* view = new ShelfView(m_store.items(), frame.size(), hud->notch.width(), hud->notch.height());
    view->setWindowFlag(Qt::FramelessWindowHint);
    view->setWindowTitle(QStringLiteral("Quillon shelf"));
    wireView(*view);
    if (view->cells().cutIDs != m_cutItemIDs) {
        view->cells().cutIDs = m_cutItemIDs;
        view->cells().QWidget::update();
    }
    view->convertEnabled = convertEnabled;
    view->dragConvertOptions = m_currentDragConvertOptions;
    view->updateRightSide();
    view->externalDragActive = m_fileDragActive;
    view->updateRightSide();
    view->dropPlate().setVisible(m_fileDragActive);
    view->layoutBody();
    platform::ShareService& share = sys().shareService();
    view->setShareAvailable(share.isAvailable());
    QPointer<ShelfView> weakView = view;
    m_shareToken = share.addAvailabilityHandler([weakView](bool available) {
        if (weakView)
            weakView->setShareAvailable(available);
    });

    armKeys();
    auto& overlays = sys().overlayWindows();
    overlays.prepare(*view, {27, false});
    if (!overlays.translucent()) {
        view->setOpaqueWindow(true);
        view->onShapeChanged = [weakView](const QPainterPath& outline) {
            if (weakView)
                sys().overlayWindows().setShape(*weakView, outline);
        };
    }
    overlays.setFrame(*view, frame);
    m_shelfFrame = frame;
    m_shelfView = view;
    m_stage.claim(NotchTakeover::shelfExpanded);
    syncNotchClaim();
    overlays.show(*view);
    view->animateIn();
    installOutsideClickMonitor();
    installMoveMonitor();
}

void ShelfController::wireView(ShelfView& view)
{
    view.onAdd = guarded([this](const QList<QUrl>& urls) { viewAdded(urls); });
    view.onRemove = guarded([this](const QSet<QUuid>& ids) {
        m_store.remove(ids);
        if (m_store.items().isEmpty())
            collapse();
    });
    view.onAirDrop = [](const QList<QUrl>& urls) {
        platform::ShareService& share = sys().shareService();
        if (urls.isEmpty() || !share.isAvailable())
            return;
        QStringList paths;
        for (const QUrl& url : urls)
            paths.append(url.toLocalFile());
        share.send(paths);
    };
    view.onDragOutAccepted = guarded([this](const QSet<QUuid>& ids) { dragOutAccepted(ids); });
    view.onSizeChanged = guarded([this] { resize(); });
    view.onConvert =
        guarded([this](const QList<QUrl>& urls, ShelfConvert::Format format) { convert(urls, format); });
    view.onCutStaged = guarded([this](const QSet<QUuid>& ids, int count) { cutStaged(ids, count); });
    view.onMouseEntered = guarded([this] { pointerReturned(); });
    view.onMouseExited = guarded([this] { pointerExited(); });
    view.onDragHover = guarded([this] { haptic(); });
}

void ShelfController::collapse()
{
    Log::debug([] { return QStringLiteral("Shelf: collapse at ") + pointerText(); });
    m_collapseWork.cancel();
    removeMoveMonitor();
    disarmKeys();
    removeOutsideClickMonitor();
    if (m_isCollapsing || !m_shelfView)
        return;
    m_isCollapsing = true;
    std::weak_ptr<bool> alive = m_alive;
    m_shelfView->animateOut([this, alive] {
        if (!alive.lock() || !m_isCollapsing)
            return;
        m_isCollapsing = false;
        teardownShelf();
        syncNotchClaim();
        drawChip();
    });
}

void ShelfController::teardownShelf()
{
    auto& p = sys();
    if (m_shareToken)
        p.shareService().removeAvailabilityHandler(*m_shareToken);
    m_shareToken.reset();
    if (m_shelfView) {
        if (p.filePreview().isVisible())
            p.filePreview().hide();
        p.overlayWindows().hide(*m_shelfView);
        // Later: the cards' drag-out may still run its own event loop inside
        // the view.
        m_shelfView->deleteLater();
    }
    m_shelfView = nullptr;
    m_shelfFrame = {};
    m_isCollapsing = false;
    m_stage.release(NotchTakeover::shelfExpanded);
}

void ShelfController::resize()
{
    const auto hud = NotchGeometry::hudScreen();
    if (!m_shelfView || m_isCollapsing || !hud)
        return;
    const double extra = m_shelfView->confirmCaption().isHidden() ? 0 : 20;
    const QRectF frame = shelfFrame(hud->notch, extra);
    if (frame == m_shelfFrame)
        return;
    m_shelfFrame = frame;
    sys().overlayWindows().setFrame(*m_shelfView, frame);
    m_shelfView->setSize(frame.size());
}

// Pointer watching while open

void ShelfController::installOutsideClickMonitor()
{
    removeOutsideClickMonitor();
    m_outsideClickMonitor = sys().pointer().addMouseDownMonitor([this](const platform::MouseDown& down) {
        // Our own context menu and preview window are never outside.
        if (down.button != 1 || down.overOwnWindow || !isOpen())
            return;
        if (m_shelfFrame.adjusted(0, -1, 0, 1).contains(sys().pointer().location()))
            return;
        post([this] {
            if (isOpen())
                collapse();
        });
    });
}

void ShelfController::removeOutsideClickMonitor()
{
    if (m_outsideClickMonitor)
        sys().pointer().removeMouseDownMonitor(*m_outsideClickMonitor);
    m_outsideClickMonitor.reset();
}

void ShelfController::installMoveMonitor()
{
    removeMoveMonitor();
    m_moveMonitor = sys().pointer().addMoveMonitor([this] { pointerMoved(); });
}

void ShelfController::removeMoveMonitor()
{
    if (m_moveMonitor)
        sys().pointer().removeMoveMonitor(*m_moveMonitor);
    m_moveMonitor.reset();
    m_awaitingGapExit = false;
}

void ShelfController::pointerMoved()
{
    if (!m_shelfView)
        return;
    const QPointF p = sys().pointer().location();
    const QRectF inner = m_shelfFrame.adjusted(0, -1, 0, 1);
    if (inner.contains(p)) {
        // y up on screen, y down in the view.
        const QPoint local(int(p.x() - m_shelfFrame.x()), int(m_shelfFrame.bottom() - p.y()));
        QWidget* hit = m_shelfView->childAt(local);
        m_shelfView->applyPointerFeedback(hit ? hit : m_shelfView.data());
        return;
    }
    if (!m_awaitingGapExit || inner.adjusted(-leaveMargin, -leaveMargin, leaveMargin, leaveMargin).contains(p))
        return;
    m_awaitingGapExit = false;
    m_collapseWork.cancel();
    m_collapseWork = after(gapExitDelay, [this] { collapse(); });
}

void ShelfController::pointerExited()
{
    m_collapseWork.cancel();
    m_awaitingGapExit = true;
    pointerMoved();
}

void ShelfController::pointerReturned()
{
    m_collapseWork.cancel();
    m_awaitingGapExit = false;
    if (!m_isCollapsing || !m_shelfView)
        return;
    m_isCollapsing = false;
    armKeys();
    installMoveMonitor();
    installOutsideClickMonitor();
    m_shelfView->animateIn();
}

// Keys

void ShelfController::armKeys()
{
    m_letterKeys.arm();
    m_commandKeys.arm();
}

void ShelfController::disarmKeys()
{
    m_letterKeys.disarm();
    m_commandKeys.disarm();
}

ShelfKeys::State ShelfController::keyState() const
{
    ShelfKeys::State state;
    if (!m_shelfView)
        return state;
    state.open = true;
    state.collapsing = m_isCollapsing;
    state.draggingOut = m_shelfView->cells().isDraggingOut;
    state.dragOutEndedAt = m_shelfView->cells().dragOutEndedAt;
    const ActionStrip& strip = m_shelfView->strip();
    state.airDropVisible = shows(strip.airDropButton());
    state.copyVisible = shows(strip.copyButton());
    state.zipVisible = shows(strip.zipButton());
    state.previewVisible = sys().filePreview().isVisible();
    return state;
}

bool ShelfController::handleKey(const TransientKeyTap::KeyEvent& event)
{
    if (event.isKeyUp)
        return false;
    const ShelfKeys::Decision decision = ShelfKeys::decide(event.code, event.flags, keyState(), uptime());
    if (decision.consumed) {
        const ShelfKeys::Action action = decision.action;
        post([this, action] { perform(action); });
    }
    return decision.consumed;
}

void ShelfController::perform(ShelfKeys::Action action)
{
    using Action = ShelfKeys::Action;
    if (action == Action::closePreview) {
        sys().filePreview().hide();
        return;
    }
    if (action == Action::collapse) {
        collapse();
        return;
    }
    ShelfView* view = m_shelfView;
    if (!view)
        return;
    switch (action) {
    case Action::airDrop:
        view->clickStrip(ShelfView::StripAction::AirDrop);
        break;
    case Action::copy:
        view->clickStrip(ShelfView::StripAction::Copy);
        break;
    case Action::zip:
        view->clickStrip(ShelfView::StripAction::Zip);
        break;
    case Action::quickLook:
        view->toggleQuickLook();
        break;
    case Action::removeSelection:
        view->removeSelectionRequested();
        break;
    case Action::selectAll:
        view->cells().selectAll();
        break;
    case Action::copyFiles:
        view->copyToPasteboard(false);
        break;
    case Action::cutFiles:
        view->copyToPasteboard(true);
        break;
    default:
        break;
    }
}

// The open shelf's callbacks

void ShelfController::viewAdded(const QList<QUrl>& urls)
{
    const ShelfStore::AddResult result = m_store.add(urls);
    if (!result.duplicates.isEmpty() && m_shelfView)
        m_shelfView->cells().pulse(result.duplicates);
    haptic();
}

void ShelfController::dragOutAccepted(const QSet<QUuid>& ids)
{
    if (!removeOnDragOut || ids.isEmpty())
        return;
    Log::debug([&] { return QStringLiteral("Shelf: drag-out accepted, removing %1 item(s)").arg(ids.size()); });
    after(removalDelay, [this, ids] {
        if (!m_enabled)
            return;
        m_store.remove(ids);
        if (m_store.items().isEmpty())
            collapse();
    });
}

void ShelfController::convert(const QList<QUrl>& urls, ShelfConvert::Format format)
{
    std::weak_ptr<bool> alive = m_alive;
    ShelfConvert::convert(urls, format, [this, alive, format](const QList<QUrl>& output) {
        if (alive.lock()) {
            if (!output.isEmpty()) {
                m_store.add(output);
                haptic();
            } else {
                Log::debug([&] {
                    return QStringLiteral("Shelf: conversion to ") + ShelfConvert::rawValue(format) +
                           QStringLiteral(" produced nothing");
                });
            }
        }
        // Each output lies in a scratch folder of its own.
        for (const QUrl& url : output)
            QDir(QFileInfo(url.toLocalFile()).path()).removeRecursively();
    });
}

// Cut and paste

void ShelfController::cutStaged(const QSet<QUuid>& ids, int changeCount)
{
    m_cutItemIDs = ids;
    m_cutChangeCount = changeCount;
    removePasteMonitor();
    if (ids.isEmpty())
        return;
    m_pasteMonitor = sys().keyEvents().addListener([this](const platform::KeyEvent& event) {
        if (event.type == platform::KeyEvent::Type::keyDown && event.keyCode == 9 &&
            (event.flags & platform::KeyFlags::command))
            pastePerformed();
    });
}

void ShelfController::pastePerformed()
{
    if (m_cutItemIDs.isEmpty())
        return;
    if (sys().pasteboard().changeCount() != m_cutChangeCount) {
        cancelCut();
        return;
    }
    const QSet<QUuid> ids = m_cutItemIDs;
    cancelCut();
    after(removalDelay, [this, ids] { removeMovedAway(ids); });
}

void ShelfController::removeMovedAway(const QSet<QUuid>& ids)
{
    // The paste may have been into a text field, or a file manager may still
    // be moving the files: only items whose files have all left go.
    QSet<QUuid> gone;
    bool thinned = false;
    for (const ShelfItem& item : m_store.items()) {
        if (!ids.contains(item.id))
            continue;
        int present = 0;
        for (const QUrl& url : item.urls) {
            const QFileInfo file(url.toLocalFile());
            if (file.exists() || file.isSymLink())
                ++present;
        }
        if (present == 0)
            gone.insert(item.id);
        else if (present < item.urls.size())
            thinned = true;
    }
    Log::debug([&] {
        return QStringLiteral("Shelf: after the paste %1 of %2 cut item(s) had left").arg(gone.size()).arg(ids.size());
    });
    if (!gone.isEmpty())
        m_store.remove(gone);
    if (thinned) {
        // The cards show what the item folders still hold.
        m_store.load();
        if (m_store.onChange)
            m_store.onChange();
    }
}

void ShelfController::cancelCut()
{
    m_cutItemIDs.clear();
    removePasteMonitor();
    if (m_shelfView && !m_shelfView->cells().cutIDs.isEmpty()) {
        m_shelfView->cells().cutIDs.clear();
        m_shelfView->cells().QWidget::update();
    }
}

void ShelfController::removePasteMonitor()
{
    if (m_pasteMonitor)
        sys().keyEvents().removeListener(*m_pasteMonitor);
    m_pasteMonitor.reset();
}

// Entry points from outside

bool ShelfController::hotkeyInvoked()
{
    if (!m_enabled)
        return true;
    platform::FileManagerSelection& selection = sys().fileManagerSelection();
    if (!selection.isFrontmost())
        return selectionArrived({});
    // The selection answers later, so the chord does too.
    std::weak_ptr<bool> alive = m_alive;
    selection.read([this, alive](const platform::FileManagerSelection::Answer& answer) {
        if (!alive.lock() || !m_enabled)
            return;
        if (answer.error)
            Log::debug([&] { return QStringLiteral("Shelf: file manager selection failed: ") + *answer.error; });
        QList<QUrl> files;
        for (const QUrl& url : answer.files) {
            if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile()))
                files.append(url);
        }
        if (!selectionArrived(files) && onNothingToShow)
            onNothingToShow();
    });
    return true;
}

bool ShelfController::selectionArrived(const QList<QUrl>& urls)
{
    if (!urls.isEmpty()) {
        const ShelfStore::AddResult result = m_store.add(urls);
        if (!result.added.isEmpty())
            haptic();
        if (!result.duplicates.isEmpty()) {
            if (!isOpen()) {
                expand();
                pulseLater(result.duplicates);
            } else {
                m_shelfView->cells().pulse(result.duplicates);
            }
        }
        return true;
    }
    if (isOpen()) {
        collapse();
        return true;
    }
    if (!m_store.items().isEmpty()) {
        expand();
        return true;
    }
    return false;
}

void ShelfController::pulseLater(const QSet<QUuid>& ids)
{
    after(pulseDelay, [this, ids] {
        if (m_shelfView)
            m_shelfView->cells().pulse(ids);
    });
}

void ShelfController::add(const QList<QUrl>& urls)
{
    if (!m_enabled || urls.isEmpty())
        return;
    QStringList names;
    for (const QUrl& url : urls)
        names.append(url.fileName());
    CrashReporter::breadcrumb(QStringLiteral("shelf: stash %1 \u2014 %2").arg(urls.size()).arg(names.join(", ")));
    const ShelfStore::AddResult result = m_store.add(urls);
    if (!result.added.isEmpty())
        haptic();
    Log::debug([&] {
        return QStringLiteral("Shelf: stashed %1, %2 duplicate(s), %3 held")
            .arg(result.added.size())
            .arg(result.duplicates.size())
            .arg(m_store.items().size());
    });
}

} // namespace quillon
