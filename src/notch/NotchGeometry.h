#pragma once

#include "platform/Displays.h"

#include <QObject>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace quillon {

/// Tells the notch feature and the shelf that the notch geometry changed
/// (synthesising a notch was switched on or off), so they rebuild what they
/// show. There is one, `NotchGeometry::notifier()`; its object name is the
/// notification's name.
class NotchGeometryNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void post() { emit didChange(); }

signals:
    void didChange();
};

/// Where the notch is: which display carries the bar, the notch's rectangle
/// there, and the outlines that hug it. Rectangles are in the y-up global
/// space (origin at the bottom-left of the primary display; a display's top
/// edge is its frame's maximum y). Nothing is cached: every query reads the
/// current displays.
class NotchGeometry {
public:
    NotchGeometry() = delete;

    /// Whether a notch is synthesised on displays that have none (no Linux
    /// display has one). Reconcile keeps it in step with
    /// "notch.onNotchlessDisplays".
    static inline bool drawsWithoutNotch = true;

    struct HudScreen {
        platform::Screen screen;
        QRectF notch;
    };

    /// The display that carries the bar and its notch: the first display with
    /// a physical notch, else the first display with a synthesised one.
    static std::optional<HudScreen> hudScreen();
    /// Whether some connected display has a real camera housing.
    static bool hasPhysicalNotch();

    /// The notch-hugging outline filling `rect`: flat top, two rounded bottom
    /// corners. In the rectangle's own y-up coordinates.
    static QPainterPath shelfPath(const QRectF& rect, double radius);

    struct StrokePaths {
        QPainterPath left;
        QPainterPath right;
    };
    /// The two halves of that outline, each from the top edge down to the
    /// middle of the bottom edge, so both sides can be traced at once.
    static StrokePaths shelfStrokePaths(const QSizeF& size, double inset, double radius);

    /// The application id without its last component, followed by
    /// ".notchGeometryDidChange".
    static QString didChangeNotification();
    static NotchGeometryNotifier& notifier();
};

} // namespace quillon
