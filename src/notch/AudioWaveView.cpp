#include "notch/AudioWaveView.h"

#include "support/Animation.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

void AudioWaveView::setAnimating(bool on, double time)
{
    if (on == m_animating)
        return;
    m_animating = on;
    m_since = time;
}

double AudioWaveView::barScale(int index, double time) const
{
    if (!m_animating)
        return 1.0;
    Animation wave;
    wave.from = 0.35;
    wave.to = 1.0;
    wave.begin = m_since;
    wave.duration = 0.45 + 0.07 * index;
    wave.autoreverses = true;
    wave.repeatsForever = true;
    wave.timeOffset = 0.15 * index;
    return wave.valueAt(time).value_or(1.0);
}

std::array<QRectF, AudioWaveView::barCount> AudioWaveView::barRects(double time) const
{
    constexpr double width = 2.5, height = 14, baseline = side - 5;
    std::array<QRectF, barCount> rects;
    for (int i = 0; i < barCount; ++i) {
        const double centre = 5.25 + 4.5 * i;
        const double h = height * barScale(i, time);
        rects[size_t(i)] = QRectF(centre - width / 2, baseline - h, width, h);
    }
    return rects;
}

void AudioWaveView::paint(QPainter& painter, const QPointF& origin, double time) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (const QRectF& r : barRects(time))
        painter.drawRoundedRect(r.translated(origin), 1.25, 1.25);
    painter.restore();
}

} // namespace quillon
