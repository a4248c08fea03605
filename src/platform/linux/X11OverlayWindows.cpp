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
#include <cstdlib>
#include <string_view>
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
    if (style.captureExcluded)
        markCaptureExcluded(window);
}

// On Qt's connection: the window must exist before the property names it.
// Creating the native window here is fine, its flags and visual are set.
void X11OverlayWindows::markCaptureExcluded(QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    xcb_connection_t* conn = x11->connection();
    const auto name = std::string_view(captureExcludedProperty);
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, uint16_t(name.size()), name.data()), nullptr);
    if (!reply)
        return;
    const xcb_atom_t atom = reply->atom;
    free(reply);
    const uint32_t one = 1;
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), atom, XCB_ATOM_CARDINAL,
                        32, 1, &one);
    xcb_flush(conn);
}

bool X11OverlayWindows::isCaptureExcluded(X11Connection& x, uint32_t window)
{
    xcb_connection_t* conn = x.get();
    const xcb_atom_t atom = x.atom(captureExcludedProperty);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        conn, xcb_get_property(conn, 0, window, atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    if (!reply)
        return false;
    const bool marked = reply->type == XCB_ATOM_CARDINAL && xcb_get_property_value_length(reply) >= 4 &&
                        *static_cast<const uint32_t*>(xcb_get_property_value(reply)) != 0;
    free(reply);
    return marked;
}

std::vector<uint32_t> X11OverlayWindows::captureExcludedWindows(X11Connection& x)
{
    std::vector<uint32_t> marked;
    xcb_connection_t* conn = x.get();
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, x.root()), nullptr);
    if (!tree)
        return marked;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    for (int i = 0; i < count; ++i) {
        if (isCaptureExcluded(x, children[i]))
            marked.push_back(children[i]);
    }
    free(tree);
    return marked;
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
