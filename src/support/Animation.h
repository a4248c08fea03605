#pragma once

#include <functional>
#include <optional>

namespace quillon {

/// A damped spring released from 0 towards 1 at rest, as the bar opens with:
/// its position over time, which overshoots 1 and settles there.
struct Spring {
    double mass = 1;
    double stiffness = 100;
    double damping = 10;

    /// The position `seconds` after release (0 before it).
    double value(double seconds) const;
    /// How long the spring takes until it stays within 0.1 % of its rest.
    double settlingDuration() const;
};

/// How an animation's progress follows its time: maps the elapsed fraction of
/// its duration (0 to 1) to progress (0 to 1; a spring overshoots).
class TimingCurve {
public:
    static TimingCurve linear();
    /// Starts gently, ends fast.
    static TimingCurve easeIn();
    /// Starts fast, ends gently.
    static TimingCurve easeOut();
    static TimingCurve easeInEaseOut();
    /// The gentle curve used for plain fades.
    static TimingCurve easeDefault();
    /// The spring's motion, spread over its settling duration.
    static TimingCurve spring(const Spring& spring);

    double operator()(double fraction) const { return m_fn(fraction); }

private:
    explicit TimingCurve(std::function<double(double)> fn)
        : m_fn(std::move(fn))
    {
    }
    static TimingCurve bezier(double x1, double y1, double x2, double y2);
    std::function<double(double)> m_fn;
};

/// One timed change of a value from `from` to `to`, started at `begin`
/// (seconds on the platform clock's uptime). It says what the value is while
/// it applies; outside its time it holds its end values only where asked to
/// (`fillBackwards` before the start, `fillForwards` after the end).
struct Animation {
    double from = 0;
    double to = 1;
    double begin = 0;
    double duration = 0;
    TimingCurve curve = TimingCurve::linear();
    bool autoreverses = false;
    bool repeatsForever = false;
    /// Shifts the animation's own time forward, as if it had started earlier.
    double timeOffset = 0;
    bool fillBackwards = false;
    bool fillForwards = false;

    /// The value at `time`, or nothing when the animation does not apply then.
    std::optional<double> valueAt(double time) const;
    /// When it ends (never for one that repeats for ever).
    double end() const;
    /// It has run its course by `time`.
    bool isFinished(double time) const { return !repeatsForever && time >= end(); }
};

/// A value that may carry an animation: what it shows at a time is the
/// animation's value while that applies, else the value it was set to.
struct AnimatedValue {
    double model = 0;
    std::optional<Animation> animation;

    double at(double time) const;
    /// Drops an animation that has ended and does not hold its end value.
    void prune(double time);
};

} // namespace quillon
