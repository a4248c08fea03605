#include "notch/NotchBarMotion.h"

#include "notch/NotchBarLayout.h"
#include "notch/NotchGeometry.h"

#include <QTransform>
#include <algorithm>
#include <limits>

namespace quillon {

namespace {

Animation basic(double from, double to, double begin, double duration, TimingCurve curve)
{
    Animation a;
    a.from = from;
    a.to = to;
    a.begin = begin;
    a.duration = duration;
    a.curve = std::move(curve);
    return a;
}

// The highlight's opacity: in quickly, held, out slowly.
double pulseOpacity(double elapsed)
{
    constexpr double times[] = {0, 0.12, 0.45, 1}, values[] = {0, 1, 1, 0};
    const double f = elapsed / NotchBarMotion::pulseDuration;
    if (f <= 0 || f >= 1)
        return 0;
    for (int i = 1; i < 4; ++i) {
        if (f <= times[i])
            return values[i - 1] +
                   (values[i] - values[i - 1]) * (f - times[i - 1]) / (times[i] - times[i - 1]);
    }
    return 0;
}

} // namespace

NotchBarMotion::NotchBarMotion(const NotchShape& full, const NotchShape& notch, double height)
    : m_full(full)
    , m_notch(notch)
    , m_height(height)
{
}

void NotchBarMotion::animateIn(const std::optional<NotchShape>& from, double now)
{
    const double fadeFrom = m_fade.at(now);
    if (m_pathAnimation && m_pathAnimation->closing)
        m_pathAnimation.reset();
    m_opacity = {1, {}};
    m_path = m_full;
    Animation open = basic(0, 1, now, openSpring().settlingDuration(), TimingCurve::spring(openSpring()));
    open.fillBackwards = true;
    m_pathAnimation = PathAnimation{from.value_or(m_notch), m_full, open, false};
    m_fade.model = 1;
    if (from)
        m_fade.animation.reset();
    else
        m_fade.animation = basic(fadeFrom, 1, now, fadeInDuration, TimingCurve::easeDefault());
}

double NotchBarMotion::animateOut(double now)
{
    const NotchShape start = shapeAt(now).value_or(m_notch);
    Animation close = basic(0, 1, now, closeDuration, TimingCurve::easeOut());
    close.fillForwards = true;
    m_pathAnimation = PathAnimation{start, m_notch, close, true};

    Animation dissolve = basic(m_opacity.at(now), 0, now, closeDuration, TimingCurve::easeOut());
    dissolve.fillForwards = true;
    m_opacity.animation = dissolve;

    for (auto& layer : m_outline) {
        const double from = layer.opacity.at(now);
        layer.opacity = {0, basic(from, 0, now, fadeOutDuration, TimingCurve::linear())};
    }
    m_fade = {0, basic(m_fade.at(now), 0, now, fadeOutDuration, TimingCurve::easeDefault())};
    return now + closeDuration;
}

bool NotchBarMotion::isClosing() const
{
    return m_pathAnimation && m_pathAnimation->closing;
}

void NotchBarMotion::showStatic()
{
    if (m_pathAnimation && m_pathAnimation->closing)
        m_pathAnimation.reset();
    m_opacity = {1, {}};
    m_path = m_full;
    m_fade = {1, {}};
}

void NotchBarMotion::pulse(const QRectF& itemRect, double now)
{
    m_pulses.push_back({itemRect.adjusted(-4, -2, 4, 2), now});
}

void NotchBarMotion::setAccentOutline(bool on, const QColor& color, bool breathing, bool reduceMotion,
                                      double now)
{
    if (!on) {
        m_outline.clear();
        return;
    }
    if (!m_outline.empty())
        return;
    const bool animate = breathing && !reduceMotion;
    const auto halves = NotchGeometry::shelfStrokePaths(m_full.rect.size(), 1, NotchBarLayout::fullRadius);
    const QTransform flip(1, 0, 0, -1, 0, m_height);
    for (const QPainterPath& half : {halves.left, halves.right}) {
        OutlineLayer layer{flip.map(half), color, {1, {}}, {outlineOpacity, {}}};
        // Both halves draw from the top down to the bottom centre together,
        // at full strength, then settle (or breathe) at a faint glow.
        layer.strokeEnd.animation = basic(0, 1, now, sweepDuration, TimingCurve::easeOut());
        Animation settle = basic(1, outlineOpacity, now + sweepDuration, animate ? 0.9 : 0.4,
                                 animate ? TimingCurve::easeInEaseOut() : TimingCurve::linear());
        settle.fillBackwards = true;
        settle.autoreverses = animate;
        settle.repeatsForever = animate;
        layer.opacity.animation = settle;
        m_outline.push_back(layer);
    }
}

std::optional<NotchShape> NotchBarMotion::shapeAt(double time) const
{
    if (m_pathAnimation) {
        if (const auto t = m_pathAnimation->progress.valueAt(time))
            return NotchShape::lerp(m_pathAnimation->from, m_pathAnimation->to, *t);
    }
    return m_path;
}

NotchBarMotion::Frame NotchBarMotion::frameAt(double time) const
{
    Frame frame;
    frame.bodyShape = shapeAt(time);
    if (frame.bodyShape)
        frame.body = frame.bodyShape->widgetPath(m_height);
    frame.bodyOpacity = m_opacity.at(time);
    frame.contentAlpha = std::clamp(m_fade.at(time), 0.0, 1.0);
    for (const auto& layer : m_outline)
        frame.outline.push_back({layer.path, layer.color, std::clamp(layer.strokeEnd.at(time), 0.0, 1.0),
                                 std::clamp(layer.opacity.at(time), 0.0, 1.0)});
    for (const auto& p : m_pulses) {
        if (time >= p.begin && time < p.begin + pulseDuration)
            frame.highlights.push_back({p.rect, pulseOpacity(time - p.begin)});
    }
    return frame;
}

bool NotchBarMotion::repeats() const
{
    return std::any_of(m_outline.begin(), m_outline.end(), [](const OutlineLayer& l) {
        return l.opacity.animation && l.opacity.animation->repeatsForever;
    });
}

double NotchBarMotion::busyUntil() const
{
    if (repeats())
        return std::numeric_limits<double>::infinity();
    double until = 0;
    const auto consider = [&until](const std::optional<Animation>& a) {
        if (a)
            until = std::max(until, a->end());
    };
    if (m_pathAnimation)
        consider(m_pathAnimation->progress);
    consider(m_opacity.animation);
    consider(m_fade.animation);
    for (const auto& layer : m_outline) {
        consider(layer.strokeEnd.animation);
        consider(layer.opacity.animation);
    }
    for (const auto& p : m_pulses)
        until = std::max(until, p.begin + pulseDuration);
    return until;
}

void NotchBarMotion::prune(double now)
{
    if (m_pathAnimation && m_pathAnimation->progress.isFinished(now) &&
        !m_pathAnimation->progress.fillForwards)
        m_pathAnimation.reset();
    m_opacity.prune(now);
    m_fade.prune(now);
    for (auto& layer : m_outline) {
        layer.strokeEnd.prune(now);
        layer.opacity.prune(now);
    }
    std::erase_if(m_pulses, [now](const Pulse& p) { return now >= p.begin + pulseDuration; });
}

} // namespace quillon
