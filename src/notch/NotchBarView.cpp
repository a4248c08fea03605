#include "notch/NotchBarView.h"

#include "notch/NotchGeometry.h"
#include "platform/Platform.h"
#include "support/DS.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace quillon {

namespace {

// The first `fraction` of a path's length, as a polyline.
QPainterPath partialPath(const QPainterPath& path, double fraction)
{
    if (fraction >= 1)
        return path;
    QPainterPath result;
    if (fraction <= 0)
        return result;
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    double total = 0;
    for (const QPolygonF& polygon : polygons) {
        for (int i = 1; i < polygon.size(); ++i)
            total += QLineF(polygon[i - 1], polygon[i]).length();
    }
    double remaining = total * fraction;
    for (const QPolygonF& polygon : polygons) {
        if (polygon.isEmpty())
            continue;
        result.moveTo(polygon.front());
        for (int i = 1; i < polygon.size(); ++i) {
            const QLineF segment(polygon[i - 1], polygon[i]);
            if (segment.length() >= remaining) {
                result.lineTo(segment.pointAt(segment.length() > 0 ? remaining / segment.length() : 0));
                return result;
            }
            remaining -= segment.length();
            result.lineTo(polygon[i]);
        }
    }
    return result;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

} // namespace

NotchBarView::NotchBarView(const NotchContent& content, const QSizeF& notch, double drop, QWidget* parent)
    : QWidget(parent)
    , m_layout(content, notch, drop, NotchGeometry::hasPhysicalNotch())
    , m_motion(m_layout.fullShape(), m_layout.notchShape(), m_layout.size().height())
    , m_animator([this] { frameTick(); })
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    const QSizeF size = m_layout.size();
    setFixedSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
    if (content.outlineColor)
        setAccentOutline(true, legibleOutline(*content.outlineColor), false);
}

NotchBarView::~NotchBarView() = default;

NotchItemView NotchBarView::itemView(const Item& item)
{
    return NotchItemView::make(item);
}

void NotchBarView::animateIn(const std::optional<NotchShape>& from)
{
    // Reopening a closing bar ends its closing, which runs the completion.
    if (m_closeToken) {
        m_animator.fireSoon(*m_closeToken);
        m_closeToken.reset();
    }
    m_motion.animateIn(from, Animator::now());
    keepRunning();
}

void NotchBarView::animateOut(std::function<void()> completion)
{
    const double end = m_motion.animateOut(Animator::now());
    if (m_closeToken)
        m_animator.fireSoon(*m_closeToken);
    m_closeToken = m_animator.at(end, [this, completion = std::move(completion)] {
        m_closeToken.reset();
        if (completion)
            completion();
    });
    keepRunning();
}

void NotchBarView::showStatic()
{
    if (m_closeToken) {
        m_animator.fireSoon(*m_closeToken);
        m_closeToken.reset();
    }
    m_motion.showStatic();
    keepRunning();
}

void NotchBarView::pulse(const QString& key)
{
    const auto rect = m_layout.itemRect(key);
    if (!rect)
        return;
    m_motion.pulse(*rect, Animator::now());
    keepRunning();
}

void NotchBarView::setCaption(const std::optional<QString>& caption)
{
    m_layout.setCaption(caption);
    update();
}

void NotchBarView::setAccentOutline(bool on, const QColor& color, bool breathing)
{
    const bool reduceMotion = platform::platform().motionPreference().reduceMotion();
    m_motion.setAccentOutline(on, color, breathing, reduceMotion, Animator::now());
    keepRunning();
}

QColor NotchBarView::legibleOutline(const QColor& color)
{
    const QColor rgb = color.toRgb();
    if (!rgb.isValid())
        return color;
    const double luma = 0.299 * rgb.redF() + 0.587 * rgb.greenF() + 0.114 * rgb.blueF();
    if (luma >= 0.25)
        return rgb;
    const auto towardsWhite = [](double c) { return c + (1 - c) * 0.4; };
    return QColor::fromRgbF(float(towardsWhite(rgb.redF())), float(towardsWhite(rgb.greenF())),
                            float(towardsWhite(rgb.blueF())), float(towardsWhite(rgb.alphaF())));
}

NotchBarMotion::Frame NotchBarView::currentFrame() const
{
    return m_motion.frameAt(Animator::now());
}

void NotchBarView::setOpaqueWindow(bool opaque)
{
    m_opaqueWindow = opaque;
    frameTick();
}

// While only the waves move, only their squares are painted again, and the
// window's shape is sent only when the body really changed.
void NotchBarView::frameTick()
{
    const double now = Animator::now();
    m_motion.prune(now);
    if (onBodyChanged) {
        const auto frame = m_motion.frameAt(now);
        if (frame.body && !frame.body->isEmpty() && frame.body != m_reportedBody) {
            m_reportedBody = frame.body;
            onBodyChanged(*frame.body);
        }
    }
    const bool movingNow = moving(now);
    if (movingNow || m_wasMoving) {
        update();
    } else {
        for (const auto& placed : m_layout.items()) {
            if (placed.view.wave())
                update(QRectF(placed.origin, placed.view.size).toAlignedRect().adjusted(-1, -1, 1, 1));
        }
    }
    m_wasMoving = movingNow;
}

bool NotchBarView::moving(double now) const
{
    return m_motion.repeats() || now <= m_motion.busyUntil();
}

// Frames keep coming while anything moves: until the last timed animation
// ends, and for ever while the outline breathes or a wave is on screen.
void NotchBarView::keepRunning()
{
    const double until = m_motion.busyUntil();
    if (std::isfinite(until))
        m_animator.runUntil(until);
    // A breathing outline needs every frame; the small wave alone looks the
    // same at a third of them and costs a third as much.
    m_animator.setContinuous(m_motion.repeats() || wavesAnimating(),
                             m_motion.repeats() ? Animator::frameInterval : waveFrameInterval);
    frameTick();
}

void NotchBarView::setWavesAnimating(bool on)
{
    const double now = Animator::now();
    for (const auto& placed : m_layout.items()) {
        if (AudioWaveView* wave = placed.view.wave())
            wave->setAnimating(on, now);
    }
    keepRunning();
}

bool NotchBarView::wavesAnimating() const
{
    for (const auto& placed : m_layout.items()) {
        if (AudioWaveView* wave = placed.view.wave(); wave && wave->isAnimating())
            return true;
    }
    return false;
}

void NotchBarView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setWavesAnimating(true);
}

void NotchBarView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    setWavesAnimating(false);
}

void NotchBarView::paintEvent(QPaintEvent* event)
{
    const double now = Animator::now();
    const auto frame = m_motion.frameAt(now);
    if (!frame.body)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(*frame.body);

    painter.setOpacity(m_opaqueWindow ? 1.0 : frame.bodyOpacity);
    painter.fillPath(*frame.body, DS::hudBlack());

    painter.setOpacity(1);
    for (const auto& highlight : frame.highlights) {
        QPainterPath path;
        path.addRoundedRect(highlight.rect, 6, 6);
        painter.fillPath(path, withAlpha(DS::accent(), 0.5 * highlight.opacity));
    }

    painter.setOpacity(frame.contentAlpha);
    const QRectF dirty = event->rect();
    for (const auto& placed : m_layout.items()) {
        // Badges may reach a little beyond their item.
        if (dirty.intersects(QRectF(placed.origin, placed.view.size).adjusted(-16, -16, 16, 16)))
            placed.view.paint(painter, placed.origin, now);
    }
    if (const auto& caption = m_layout.caption())
        caption->view.paint(painter, caption->origin, now);

    for (const auto& stroke : frame.outline) {
        painter.setOpacity(stroke.opacity);
        QPen pen(stroke.color, 2);
        pen.setCapStyle(Qt::FlatCap);
        painter.strokePath(partialPath(stroke.path, stroke.strokeEnd), pen);
    }
}

} // namespace quillon
