#pragma once

#include <QRectF>
#include <array>

class QPainter;

namespace quillon {

/// The small animated audio wave of the now-playing chip: four white bars
/// that grow and shrink out of step, drawn as a painter item of the bar. It
/// animates only while its bar is visible on screen, so a hidden chip costs no
/// animation work.
class AudioWaveView {
public:
    static constexpr double side = 24;
    static constexpr int barCount = 4;

    /// Starts or stops the bars' motion at `time` (platform uptime).
    void setAnimating(bool on, double time);
    bool isAnimating() const { return m_animating; }

    /// Each bar's vertical scale at `time`: 1 at rest, 0.35 to 1 while animating.
    double barScale(int index, double time) const;
    /// The bars at `time`, in the view's own coordinates (y down): 2.5 wide,
    /// standing on a common baseline 5 above the bottom, 14 high at full scale.
    std::array<QRectF, barCount> barRects(double time) const;

    void paint(QPainter& painter, const QPointF& origin, double time) const;

private:
    bool m_animating = false;
    double m_since = 0;
};

} // namespace quillon
