#include "features/snap/SnapPosition.h"

#include "platform/Platform.h"

#include <algorithm>

namespace quillon {

QString caseName(SnapPosition position)
{
    switch (position) {
    case SnapPosition::leftHalf:
        return QStringLiteral("leftHalf");
    case SnapPosition::rightHalf:
        return QStringLiteral("rightHalf");
    case SnapPosition::topHalf:
        return QStringLiteral("topHalf");
    case SnapPosition::bottomHalf:
        return QStringLiteral("bottomHalf");
    case SnapPosition::topLeft:
        return QStringLiteral("topLeft");
    case SnapPosition::topRight:
        return QStringLiteral("topRight");
    case SnapPosition::bottomLeft:
        return QStringLiteral("bottomLeft");
    case SnapPosition::bottomRight:
        return QStringLiteral("bottomRight");
    case SnapPosition::leftThird:
        return QStringLiteral("leftThird");
    case SnapPosition::centerThird:
        return QStringLiteral("centerThird");
    case SnapPosition::rightThird:
        return QStringLiteral("rightThird");
    case SnapPosition::leftTwoThirds:
        return QStringLiteral("leftTwoThirds");
    case SnapPosition::rightTwoThirds:
        return QStringLiteral("rightTwoThirds");
    case SnapPosition::maximize:
        return QStringLiteral("maximize");
    case SnapPosition::center:
        return QStringLiteral("center");
    case SnapPosition::restore:
        return QStringLiteral("restore");
    case SnapPosition::nextDisplay:
        return QStringLiteral("nextDisplay");
    case SnapPosition::previousDisplay:
        return QStringLiteral("previousDisplay");
    }
    return QString();
}

std::optional<QRectF> snapFrame(SnapPosition position, const QRectF& v, const QSizeF& windowSize)
{
    const double x = v.x(), y = v.y(), w = v.width(), h = v.height();
    const double mx = x + w / 2, my = y + h / 2;
    const double t = w / 3;
    switch (position) {
    case SnapPosition::leftHalf:
        return QRectF(x, y, w * 0.5, h);
    case SnapPosition::rightHalf:
        return QRectF(mx, y, w * 0.5, h);
    case SnapPosition::topHalf:
        return QRectF(x, my, w, h * 0.5);
    case SnapPosition::bottomHalf:
        return QRectF(x, y, w, h * 0.5);
    case SnapPosition::topLeft:
        return QRectF(x, my, w * 0.5, h * 0.5);
    case SnapPosition::topRight:
        return QRectF(mx, my, w * 0.5, h * 0.5);
    case SnapPosition::bottomLeft:
        return QRectF(x, y, w * 0.5, h * 0.5);
    case SnapPosition::bottomRight:
        return QRectF(mx, y, w * 0.5, h * 0.5);
    case SnapPosition::leftThird:
        return QRectF(x, y, t, h);
    case SnapPosition::centerThird:
        return QRectF(x + t, y, t, h);
    case SnapPosition::rightThird:
        return QRectF(x + (t + t), y, t, h);
    case SnapPosition::leftTwoThirds:
        return QRectF(x, y, t + t, h);
    case SnapPosition::rightTwoThirds:
        return QRectF(x + t, y, t + t, h);
    case SnapPosition::maximize:
        return v;
    case SnapPosition::center: {
        const double cw = std::min(w, windowSize.width()), ch = std::min(h, windowSize.height());
        return QRectF(mx - cw * 0.5, my - ch * 0.5, cw, ch);
    }
    case SnapPosition::restore:
    case SnapPosition::nextDisplay:
    case SnapPosition::previousDisplay:
        break;
    }
    return std::nullopt;
}

namespace {

bool holds(const QRectF& r, const QPointF& p)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

} // namespace

std::optional<platform::Screen> containing(const QPointF& point)
{
    const auto screens = platform::platform().displays().screens();
    for (const auto& screen : screens) {
        if (holds(screen.frame, point))
            return screen;
    }
    for (const auto& screen : screens) {
        if (holds(screen.frame.adjusted(-1, -1, 1, 1), point))
            return screen;
    }
    return std::nullopt;
}

} // namespace quillon
