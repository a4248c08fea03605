#pragma once

#include "platform/Displays.h"

#include <QImage>

namespace quillon::platform {

/// Still images of the screens, as a person sees them, less our own
/// capture-excluded overlays (`OverlayStyle::captureExcluded`).
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;
    /// Whether the display answers capture requests. May be asked from
    /// background work.
    virtual bool canCapture() = 0;
    /// An image of one screen in device pixels (`frame` × `scale`), its device
    /// pixel ratio set to the screen's scale; a null image when the capture
    /// fails. One round trip to the display: taken when a person opens a tool.
    virtual QImage capture(const Screen& screen) = 0;
};

} // namespace quillon::platform
