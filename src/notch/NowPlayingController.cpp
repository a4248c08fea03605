#include "notch/NowPlayingController.h"

#include "notch/NotchBarView.h"
#include "notch/NotchController.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "platform/Platform.h"

#include <QEnterEvent>
#include <QMouseEvent>

namespace quillon {

namespace {

platform::OverlayWindows& overlays()
{
    return platform::platform().overlayWindows();
}

} // namespace

NowPlayingCatcher::NowPlayingCatcher()
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void NowPlayingCatcher::setInteractiveRect(const QRectF& rect)
{
    m_interactive = rect;
    overlays().setInputRegion(*this, rect);
}

void NowPlayingCatcher::track(const QPointF& point)
{
    const bool inside = m_interactive.contains(point);
    if (inside == m_inside)
        return;
    m_inside = inside;
    if (onHover)
        onHover(inside);
}

void NowPlayingCatcher::enterEvent(QEnterEvent* event)
{
    track(event->position());
}

void NowPlayingCatcher::leaveEvent(QEvent*)
{
    if (!m_inside)
        return;
    m_inside = false;
    if (onHover)
        onHover(false);
}

void NowPlayingCatcher::mouseMoveEvent(QMouseEvent* event)
{
    track(event->position());
}

void NowPlayingCatcher::mousePressEvent(QMouseEvent* event)
{
    if (m_interactive.contains(event->position()) && onClick)
        onClick(event->position());
}

NowPlayingController::NowPlayingController(NotchStage& stage)
    : m_stage(stage)
    , m_self(std::make_shared<NowPlayingController*>(this))
{
    std::weak_ptr<NowPlayingController*> weak = m_self;
    m_stage.setHandler(NotchSource::nowPlaying, [weak](bool) {
        if (auto self = weak.lock())
            (*self)->draw();
    });
}

NowPlayingController::~NowPlayingController()
{
    m_stage.setHandler(NotchSource::nowPlaying, nullptr);
    teardown();
}

void NowPlayingController::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        return;
    m_state = NowPlayingChipState();
    if (!m_stage.release(NotchSource::nowPlaying))
        draw();
}

void NowPlayingController::settle()
{
    const bool changed = m_enabled && m_state.phase != NowPlayingChipState::Phase::hidden
                             ? m_stage.claim(NotchSource::nowPlaying)
                             : m_stage.release(NotchSource::nowPlaying);
    if (!changed)
        draw();
}

void NowPlayingController::draw()
{
    const auto& arbiter = m_stage.arbiter();
    const bool owns = arbiter.takeovers.empty() && !arbiter.claims.empty() &&
                      *arbiter.claims.rbegin() == NotchSource::nowPlaying;
    const auto hud = m_enabled && m_state.phase != NowPlayingChipState::Phase::hidden && owns
                         ? NotchGeometry::hudScreen()
                         : std::nullopt;
    if (!hud) {
        teardown();
        return;
    }
    // A long title never widens the bar past half its screen.
    const double captionLimit = hud->screen.frame.width() / 2 - 2 * margin;
    present(NotchStates::nowPlaying(m_state.phase, m_state.title, m_state.artist, captionLimit), hud->notch);
}

void NowPlayingController::armDwell()
{
    m_dwell.cancel();
    std::weak_ptr<NowPlayingController*> weak = m_self;
    m_dwell = platform::platform().mainQueue().after(dwellSeconds, [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        NowPlayingChipState& state = (*self)->m_state;
        if (state.phase == NowPlayingChipState::Phase::expanded)
            state.phase =
                state.hovering ? NowPlayingChipState::Phase::controls : NowPlayingChipState::Phase::compact;
        (*self)->settle();
    });
}

void NowPlayingController::hover(bool inside)
{
    m_state.hovering = inside;
    if (m_state.phase == NowPlayingChipState::Phase::hidden)
        return;
    const auto phase = inside ? NowPlayingChipState::Phase::controls : NowPlayingChipState::Phase::compact;
    if (phase == m_state.phase)
        return;
    m_state.phase = phase;
    settle();
}

void NowPlayingController::teardown()
{
    m_dwell.cancel();
    m_dwell = {};
    if (m_catcher) {
        overlays().hide(*m_catcher);
        m_catcher->deleteLater();
    }
    m_catcher.clear();
    m_bar.clear();
}

void NowPlayingController::present(const NotchContent& content, const QRectF& notch)
{
    auto* bar = new NotchBarView(content, notch.size(), margin);
    const QRectF frame = NotchController::frameAt(*bar, notch);
    const bool created = !m_catcher;
    if (m_catcher) {
        overlays().setFrame(*m_catcher, frame);
        if (m_bar)
            ScreenSurface::dropBar(*m_bar);
        m_bar = bar;
        // At rest before it is adopted, so the window's first shape is its whole body.
        bar->showStatic();
        ScreenSurface::adoptBar(*m_catcher, *bar, m_translucent);
    } else {
        m_catcher = new NowPlayingCatcher;
        m_translucent = ScreenSurface::preparePanel(*m_catcher, {panelLevel, false});
        overlays().setFrame(*m_catcher, frame);
        std::weak_ptr<NowPlayingController*> weak = m_self;
        m_catcher->onHover = [weak](bool inside) {
            if (auto self = weak.lock())
                (*self)->hover(inside);
        };
        m_catcher->onClick = [weak](const QPointF& point) {
            if (auto self = weak.lock())
                (*self)->clicked(point);
        };
        m_bar = bar;
        ScreenSurface::adoptBar(*m_catcher, *bar, m_translucent);
        overlays().show(*m_catcher);
        bar->animateIn();
    }
    // The notch column takes the pointer; below a drawn notch only the strip
    // under it, since the drawn notch covers the top of the screen.
    const double left = bar->captionLeftOverhang() + margin + bar->leftContentWidth();
    const double height = notch.height() + margin;
    QRectF interactive(left, 0, notch.width(), height);
    if (m_state.phase == NowPlayingChipState::Phase::controls)
        interactive = QRectF(0, 0, frame.width(), height);
    else if (!NotchGeometry::hasPhysicalNotch())
        interactive = QRectF(left, notch.height(), notch.width(), margin);
    m_catcher->setInteractiveRect(interactive);
    if (created)
        checkPointer(frame);
}

// The hover flag outlives a panel taken away under the pointer, so that a
// track resumed under a resting pointer shows its buttons at once. A new
// panel asks where the pointer really is: gone from the chip, the buttons go.
void NowPlayingController::checkPointer(const QRectF& frame)
{
    const QPointF pointer = platform::platform().pointer().location();
    const QPointF local(pointer.x() - frame.x(), frame.y() + frame.height() - pointer.y());
    const bool inside = m_catcher->interactiveRect().contains(local);
    m_catcher->setInside(inside);
    if (m_state.hovering && !inside)
        hover(false);
}

void NowPlayingController::clicked(const QPointF& point)
{
    if (m_state.phase != NowPlayingChipState::Phase::controls || !m_bar || !m_catcher)
        return;
    const std::pair<const char*, MediaKey> buttons[] = {
        {"prev", MediaKey::previous}, {"playpause", MediaKey::playPause}, {"next", MediaKey::next}};
    for (const auto& [key, mediaKey] : buttons) {
        const auto rect = m_bar->itemRect(QString::fromLatin1(key));
        if (!rect)
            continue;
        const QRectF area =
            rect->translated(m_bar->pos()).adjusted(-buttonSlop, -buttonSlop, buttonSlop, buttonSlop);
        if (area.contains(point)) {
            if (onMediaKey)
                onMediaKey(mediaKey);
            return;
        }
    }
}

} // namespace quillon
