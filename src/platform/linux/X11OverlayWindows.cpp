#include "platform/linux/X11OverlayWindows.h"

#include "platform/ScreenSpace.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <xcb/shape.h>

namespace quillon::platform::linux_ {

X11OverlayWindows::X11OverlayWindows() = default;
X11OverlayWindows::~X11OverlayWindows() = default;

// Asked anew each time: a compositor may start or stop while we run.
bool X11OverlayWindows::translucent()
{
    if (!m_x || !m_x->isAlive())
        m_x = X11Connection::open();
    if (!m_x)
        return false;
    return Ewmh(*m_x).compositorRunning();
}

void X11OverlayWindows::prepare(QWidget& window, const OverlayStyle& style)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                            Qt::NoDropShadowWindowHint;
    if (style.clickThrough)
        flags |= Qt::WindowTransparentForInput;
    window.setWindowFlags(flags);
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_X11DoNotAcceptFocus);
    window.setAttribute(Qt::WA_TranslucentBackground, translucent());
    window.setFocusPolicy(Qt::NoFocus);
    std::erase_if(m_windows, [&](const Entry& e) { return !e.window || e.window == &window; });
    m_windows.push_back({&window, style.level});
}

void X11OverlayWindows::setFrame(QWidget& window, const QRectF& frame)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRectF native = primary ? ScreenSpace::nativeFromCocoa(frame, QRectF(primary->geometry())) : frame;
    window.setGeometry(int(std::lround(native.x())), int(std::lround(native.y())),
                       int(std::ceil(native.width())), int(std::ceil(native.height())));
}

void X11OverlayWindows::show(QWidget& window)
{
    window.show();
    restack();
}

void X11OverlayWindows::hide(QWidget& window)
{
    window.hide();
}

// Raising every shown overlay, lowest level first, leaves the highest on top.
void X11OverlayWindows::restack()
{
    std::erase_if(m_windows, [](const Entry& e) { return !e.window; });
    std::stable_sort(m_windows.begin(), m_windows.end(),
                     [](const Entry& a, const Entry& b) { return a.level < b.level; });
    for (const auto& e : m_windows) {
        if (e.window->isVisible())
            e.window->raise();
    }
}

// Qt's own connection shapes Qt's windows: a request on another connection
// could reach the server before the window it names exists.
void X11OverlayWindows::setShape(QWidget& window, const QPainterPath& outline)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    xcb_connection_t* conn = x11->connection();
    const auto id = xcb_window_t(window.winId());
    const double scale = window.devicePixelRatioF();
    const QPolygonF polygon = outline.toFillPolygon(QTransform::fromScale(scale, scale));
    const QRegion region(polygon.toPolygon(), Qt::WindingFill);
    std::vector<xcb_rectangle_t> rects;
    for (const QRect& r : region)
        rects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    // No rectangles at all is an empty shape: nothing of the window shows.
    xcb_shape_rectangles(conn, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0,
                         uint32_t(rects.size()), rects.data());
    xcb_flush(conn);
}

// On Qt's connection for the same reason as the shape. The server intersects
// the input region with the bounding shape, so the two never disagree.
void X11OverlayWindows::setInputRegion(QWidget& window, const QRectF& rect)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    xcb_connection_t* conn = x11->connection();
    const double scale = window.devicePixelRatioF();
    const QRect r = QRectF(rect.x() * scale, rect.y() * scale, rect.width() * scale, rect.height() * scale)
                        .toAlignedRect();
    const xcb_rectangle_t area{int16_t(r.x()), int16_t(r.y()), uint16_t(std::max(0, r.width())),
                               uint16_t(std::max(0, r.height()))};
    xcb_shape_rectangles(conn, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                         xcb_window_t(window.winId()), 0, 0, r.isEmpty() ? 0 : 1, &area);
    xcb_flush(conn);
}

} // namespace quillon::platform::linux_
