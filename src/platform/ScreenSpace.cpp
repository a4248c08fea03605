#include "platform/ScreenSpace.h"

namespace quillon::platform::ScreenSpace {

// Cocoa and Quartz share their x axis and mirror y about the primary
// display's height; Quartz and native differ by the primary's offset.

QRectF cocoaFromQuartz(const QRectF& r, const QRectF& primary)
{
    return QRectF(r.x(), primary.height() - r.y() - r.height(), r.width(), r.height());
}

QRectF quartzFromCocoa(const QRectF& r, const QRectF& primary) { return cocoaFromQuartz(r, primary); }

QPointF cocoaFromQuartz(const QPointF& p, const QRectF& primary) { return QPointF(p.x(), primary.height() - p.y()); }

QPointF quartzFromCocoa(const QPointF& p, const QRectF& primary) { return cocoaFromQuartz(p, primary); }

QRectF quartzFromNative(const QRectF& r, const QRectF& primary) { return r.translated(-primary.topLeft()); }

QRectF nativeFromQuartz(const QRectF& r, const QRectF& primary) { return r.translated(primary.topLeft()); }

QPointF quartzFromNative(const QPointF& p, const QRectF& primary) { return p - primary.topLeft(); }

QPointF nativeFromQuartz(const QPointF& p, const QRectF& primary) { return p + primary.topLeft(); }

QRectF cocoaFromNative(const QRectF& r, const QRectF& primary)
{
    return cocoaFromQuartz(quartzFromNative(r, primary), primary);
}

QRectF nativeFromCocoa(const QRectF& r, const QRectF& primary)
{
    return nativeFromQuartz(quartzFromCocoa(r, primary), primary);
}

QPointF cocoaFromNative(const QPointF& p, const QRectF& primary)
{
    return cocoaFromQuartz(quartzFromNative(p, primary), primary);
}

QPointF nativeFromCocoa(const QPointF& p, const QRectF& primary)
{
    return nativeFromQuartz(quartzFromCocoa(p, primary), primary);
}

} // namespace quillon::platform::ScreenSpace
