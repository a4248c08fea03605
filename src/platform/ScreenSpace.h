#pragma once

#include <QPointF>
#include <QRectF>

namespace quillon::platform {

/// Conversions between the global coordinate spaces.
///
/// - "Cocoa": y up, origin at the bottom-left corner of the primary display.
///   Screen and window frames of the notch, the shelf and the snapping maths.
/// - "Quartz": y down, origin at the top-left corner of the primary display.
///   Window positions and the window list.
/// - Qt/X11 ("native"): y down, origin at the top-left of the X screen. The
///   primary display need not sit at the origin.
///
/// Every conversion takes the primary display's rectangle in native space.
namespace ScreenSpace {

QRectF cocoaFromQuartz(const QRectF& rect, const QRectF& primaryNative);
QRectF quartzFromCocoa(const QRectF& rect, const QRectF& primaryNative);
QPointF cocoaFromQuartz(const QPointF& point, const QRectF& primaryNative);
QPointF quartzFromCocoa(const QPointF& point, const QRectF& primaryNative);

QRectF quartzFromNative(const QRectF& rect, const QRectF& primaryNative);
QRectF nativeFromQuartz(const QRectF& rect, const QRectF& primaryNative);
QPointF quartzFromNative(const QPointF& point, const QRectF& primaryNative);
QPointF nativeFromQuartz(const QPointF& point, const QRectF& primaryNative);

QRectF cocoaFromNative(const QRectF& rect, const QRectF& primaryNative);
QRectF nativeFromCocoa(const QRectF& rect, const QRectF& primaryNative);
QPointF cocoaFromNative(const QPointF& point, const QRectF& primaryNative);
QPointF nativeFromCocoa(const QPointF& point, const QRectF& primaryNative);

} // namespace ScreenSpace
} // namespace quillon::platform
