#include "support/Animation.h"

#include <algorithm>
#include <cmath>

namespace quillon {

double Spring::value(double t) const
{
    if (t <= 0)
        return 0;
    const double w0 = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    if (zeta < 1) {
        const double wd = w0 * std::sqrt(1 - zeta * zeta);
        const double decay = std::exp(-zeta * w0 * t);
        return 1 - decay * (std::cos(wd * t) + zeta * w0 / wd * std::sin(wd * t));
    }
    if (zeta == 1)
        return 1 - std::exp(-w0 * t) * (1 + w0 * t);
    const double root = w0 * std::sqrt(zeta * zeta - 1);
    const double r1 = -zeta * w0 + root, r2 = -zeta * w0 - root;
    // x(0) = 0 and x'(0) = 0 for x = 1 + a·e^(r1·t) + b·e^(r2·t).
    const double a = r2 / (r1 - r2), b = -r1 / (r1 - r2);
    return 1 + a * std::exp(r1 * t) + b * std::exp(r2 * t);
}

double Spring::settlingDuration() const
{
    // The last frame at which the spring is still visibly away from rest.
    constexpr double step = 1.0 / 600, limit = 10.0, epsilon = 0.001;
    double last = 0;
    for (double t = step; t < limit; t += step) {
        if (std::abs(value(t) - 1) >= epsilon)
            last = t;
    }
    return std::min(limit, last + step);
}

TimingCurve TimingCurve::linear()
{
    return TimingCurve([](double f) { return f; });
}

TimingCurve TimingCurve::easeIn()
{
    return bezier(0.42, 0, 1, 1);
}

TimingCurve TimingCurve::easeOut()
{
    return bezier(0, 0, 0.58, 1);
}
TimingCurve TimingCurve::easeInEaseOut()
{
    return bezier(0.42, 0, 0.58, 1);
}
TimingCurve TimingCurve::easeDefault()
{
    return bezier(0.25, 0.1, 0.25, 1);
}

TimingCurve TimingCurve::spring(const Spring& spring)
{
    const double duration = spring.settlingDuration();
    return TimingCurve(
        [spring, duration](double f) { return f >= 1 - 1e-9 ? 1.0 : spring.value(f * duration); });
}

// A cubic Bézier from (0, 0) to (1, 1): the fraction is its x, the progress its y.
TimingCurve TimingCurve::bezier(double x1, double y1, double x2, double y2)
{
    return TimingCurve([=](double f) {
        if (f <= 0)
            return 0.0;
        if (f >= 1)
            return 1.0;
        const auto coord = [](double p1, double p2, double s) {
            const double u = 1 - s;
            return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
        };
        // x(s) rises monotonically for control points inside the unit square.
        double lo = 0, hi = 1, s = f;
        for (int i = 0; i < 60; ++i) {
            s = (lo + hi) / 2;
            if (coord(x1, x2, s) < f)
                lo = s;
            else
                hi = s;
        }
        return coord(y1, y2, s);
    });
}

double Animation::end() const
{
    return begin + duration * (autoreverses ? 2 : 1);
}

std::optional<double> Animation::valueAt(double time) const
{
    const auto lerp = [this](double progress) { return from + (to - from) * progress; };
    if (duration <= 0)
        return fillForwards && time >= begin ? std::optional(to) : std::nullopt;
    if (time < begin)
        return fillBackwards ? std::optional(lerp(0.0)) : std::nullopt;
    const double cycle = duration * (autoreverses ? 2 : 1);
    double local = time - begin + timeOffset;
    if (!repeatsForever && time - begin >= cycle) {
        if (!fillForwards)
            return std::nullopt;
        return lerp(autoreverses ? 0.0 : 1.0);
    }
    local = std::fmod(local, cycle);
    double fraction = local / duration;
    if (fraction > 1)
        fraction = 2 - fraction;
    return lerp(curve(std::clamp(fraction, 0.0, 1.0)));
}

double AnimatedValue::at(double time) const
{
    if (animation) {
        if (const auto value = animation->valueAt(time))
            return *value;
    }
    return model;
}

void AnimatedValue::prune(double time)
{
    if (animation && animation->isFinished(time) && !animation->fillForwards)
        animation.reset();
}

} // namespace quillon
