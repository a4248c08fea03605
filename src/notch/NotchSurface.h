#pragma once

#include <QRectF>
#include <memory>
#include <optional>

namespace quillon {

class NotchBarView;

/// A bar placed somewhere: in its own panel at the notch, or inside a host
/// widget. Removing the mount takes the bar off screen; the bar goes with it.
class NotchMount {
public:
    virtual ~NotchMount() = default;
    /// The bar now mounted.
    virtual NotchBarView* bar() const = 0;
    /// Swaps in another bar with a new frame, without animation. Takes the bar.
    virtual void replace(NotchBarView* bar, const QRectF& frame) = 0;
    /// Moves the bar as it is to a new frame (the displays changed).
    virtual void move(const QRectF& frame) = 0;
    /// Takes the bar off screen.
    virtual void remove() = 0;
};

/// Where the chip controller puts its bars. Rectangles are y up: screen
/// coordinates for the screen, the host's own for a host widget.
class NotchSurface {
public:
    virtual ~NotchSurface() = default;
    /// The notch to draw at; nothing when there is none.
    virtual std::optional<QRectF> notchRect() const = 0;
    /// Puts the bar on screen with the given frame. Takes the bar.
    virtual std::shared_ptr<NotchMount> mount(NotchBarView* bar, const QRectF& frame) = 0;
};

} // namespace quillon
