#pragma once

#include <QImage>
#include <QSize>

namespace quillon {

/// The break screen's backdrop: the desktop as captured, strongly blurred
/// and darkened. X11 has no blur material, so it is a still image.
class BreakBackdrop {
public:
    /// How much smaller than the screen the blurred image is; it is drawn
    /// scaled up with smoothing, which blurs it further.
    static constexpr int reduction = 16;
    static constexpr double darkness = 0.65;

    /// The blurred, darkened image of `capture`, a capture of a screen of
    /// `pixelSize`; null for no capture or one of another size (the panel
    /// is then plain dark, never a stretched or stale image).
    static QImage make(const QImage& capture, const QSize& pixelSize);

    /// Blurs in place with `passes` box passes of `radius` each way.
    static void boxBlur(QImage& image, int radius, int passes);
};

} // namespace quillon
