#pragma once

#include "platform/ScreenCapture.h"

#include <QRect>
#include <memory>
#include <mutex>

namespace quillon::platform::linux_ {

class X11Connection;

/// Captures with `GetImage` of the root window on a connection of our own.
/// Our capture-excluded overlays (marked on the server) are left out by
/// rebuilding what they cover from the named pixmaps of the windows beneath
/// and above them (Composite). The overlays that carry the mark exist only
/// under a compositor, where every top-level window has such a pixmap; where
/// one has none, the area is left as the screen shows it.
class X11ScreenCapture final : public ScreenCapture {
public:
    X11ScreenCapture();
    ~X11ScreenCapture() override;

    bool canCapture() override;
    QImage capture(const Screen& screen) override;

    /// The rectangle of the root window, in device pixels, that `screen`
    /// covers; `primaryNative` is the primary display's rectangle in Qt's
    /// native space.
    static QRect deviceRect(const Screen& screen, const QRectF& primaryNative);
    /// The rectangle `rect` (root device pixels) of the root, less our
    /// capture-excluded overlays; null when the display does not answer.
    QImage captureRoot(const QRect& rect);

private:
    X11Connection* connection();
    void leaveOutExcluded(QImage& image, const QRect& rect);
    bool hasComposite();

    std::mutex m_lock;
    std::unique_ptr<X11Connection> m_x;
    int m_composite = -1;
};

} // namespace quillon::platform::linux_
