#pragma once

#include <QImage>
#include <QSizeF>

namespace quillon {

/// A small pill-shaped progress bar in black (a template image): the track
/// and, over it, the filled part, at least as wide as the bar is high.
class ProgressBarImage {
public:
    ProgressBarImage() = delete;

    /// `size` in points, drawn `scale` pixels per point.
    static QImage make(double fraction, const QSizeF& size, qreal scale = 1);
    /// The filled width: 0 up to a fraction of 0, the whole width past 1,
    /// then never less than the height. A fraction that is not a number is 0.
    static double filledWidth(double fraction, const QSizeF& size);
};

} // namespace quillon
