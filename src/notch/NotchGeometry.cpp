#include "notch/NotchGeometry.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

double maxX(const QRectF& r) { return r.x() + r.width(); }
double maxY(const QRectF& r) { return r.y() + r.height(); }

bool hasPhysical(const platform::Screen& s)
{
    return s.safeAreaTop > 0 && s.auxiliaryTopLeftArea && s.auxiliaryTopRightArea;
}

QRectF physicalNotch(const platform::Screen& s)
{
    const double x = maxX(*s.auxiliaryTopLeftArea);
    return QRectF(x, maxY(s.frame) - s.safeAreaTop, s.auxiliaryTopRightArea->x() - x, s.safeAreaTop);
}

std::optional<QRectF> notchRect(const platform::Screen& s)
{
    if (hasPhysical(s))
        return physicalNotch(s);
    if (!NotchGeometry::drawsWithoutNotch)
        return std::nullopt;
    // The top panel's thickness; a hidden panel (or none) leaves the work
    // area reaching the top, and the notch takes a panel's usual height.
    double h = maxY(s.frame) - maxY(s.visibleFrame);
    if (h <= 1)
        h = 24;
    const double w = std::min(s.frame.width() / 3, 120.0);
    const double x = std::round(s.frame.center().x() - w * 0.5);
    return QRectF(x, maxY(s.frame) - h, w, h);
}

} // namespace

std::optional<NotchGeometry::HudScreen> NotchGeometry::hudScreen()
{
    const auto screens = platform::platform().displays().screens();
    for (const auto& s : screens) {
        if (hasPhysical(s))
            return HudScreen{s, physicalNotch(s)};
    }
    if (screens.empty())
        return std::nullopt;
    const auto notch = notchRect(screens.front());
    if (!notch)
        return std::nullopt;
    return HudScreen{screens.front(), *notch};
}

bool NotchGeometry::hasPhysicalNotch()
{
    const auto screens = platform::platform().displays().screens();
    return std::any_of(screens.begin(), screens.end(), hasPhysical);
}

QPainterPath NotchGeometry::shelfPath(const QRectF& rect, double radius)
{
    const double r = std::min(rect.width() * 0.5, std::min(rect.height() * 0.5, radius));
    const double minX = rect.x(), minY = rect.y(), right = maxX(rect), top = maxY(rect);
    QPainterPath path;
    path.moveTo(minX, top);
    path.lineTo(minX, minY + r);
    path.quadTo(minX, minY, minX + r, minY);
    path.lineTo(right - r, minY);
    path.quadTo(right, minY, right, minY + r);
    path.lineTo(right, top);
    path.closeSubpath();
    return path;
}

NotchGeometry::StrokePaths NotchGeometry::shelfStrokePaths(const QSizeF& size, double inset, double radius)
{
    const double w = size.width(), h = size.height(), i = inset;
    const double rr = std::min((w - 2 * i) * 0.5, std::min((h - i) * 0.5, radius));
    const double mid = i + (w - 2 * i) * 0.5;
    StrokePaths paths;
    paths.left.moveTo(i, h);
    paths.left.lineTo(i, i + rr);
    paths.left.quadTo(i, i, i + rr, i);
    paths.left.lineTo(mid, i);
    paths.right.moveTo(w - i, h);
    paths.right.lineTo(w - i, i + rr);
    paths.right.quadTo(w - i, i, w - i - rr, i);
    paths.right.lineTo(mid, i);
    return paths;
}

QString NotchGeometry::didChangeNotification()
{
    static const QString name = [] {
        const QString appId = platform::platform().buildInfo().appId;
        const qsizetype dot = appId.lastIndexOf(u'.');
        return (dot < 0 ? QString() : appId.left(dot)) + QStringLiteral(".notchGeometryDidChange");
    }();
    return name;
}

NotchGeometryNotifier& NotchGeometry::notifier()
{
    static NotchGeometryNotifier notifier;
    if (notifier.objectName().isEmpty())
        notifier.setObjectName(didChangeNotification());
    return notifier;
}

} // namespace quillon
