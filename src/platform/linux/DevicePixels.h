#pragma once

#include <QRect>
#include <QRectF>
#include <vector>

namespace quillon::platform::linux_ {

/// One screen as X11 sees it: its rectangle in device pixels and how many
/// device pixels make one of Qt's device-independent pixels there.
struct ScreenScale {
    QRect device;
    double ratio = 1.0;
};

/// Converts between X11's device pixels and Qt's device-independent pixels,
/// the one unit everything above the platform speaks. Qt keeps each screen's
/// top-left corner where X11 has it and divides distances inside the screen
/// by its ratio; a rectangle belongs to the screen that holds its centre
/// (else the one it overlaps most, else the primary, which comes first).
class DevicePixels {
public:
    /// Ratio 1 everywhere.
    DevicePixels() = default;
    explicit DevicePixels(std::vector<ScreenScale> screens);

    /// The screens as Qt has them now. Read afresh on the GUI thread; other
    /// threads get what the GUI thread saw last (kept up to date once
    /// `follow()` ran), ratio 1 before that.
    static DevicePixels current();
    /// On the GUI thread: keep the copy for other threads up to date as
    /// screens come, go and change.
    static void follow();

    QRectF toLogical(const QRect& device) const;
    /// Edges rounded to the nearest device pixel, so that rectangles that
    /// touch stay touching; never empty when the logical one is not.
    QRect toDevice(const QRectF& logical) const;

    /// A window frame X11 reports (device pixels, root coordinates) in the
    /// window list's space, given X11's primary monitor.
    QRectF quartzFromDevice(const QRect& frame, const QRect& primaryDevice) const;
    /// The inverse: where X11 must put a frame of the window list's space.
    QRect deviceFromQuartz(const QRectF& frame, const QRect& primaryDevice) const;

    const std::vector<ScreenScale>& screens() const { return m_screens; }

private:
    const ScreenScale* screenFor(const QRectF& rect, bool logical) const;

    std::vector<ScreenScale> m_screens;
};

} // namespace quillon::platform::linux_
