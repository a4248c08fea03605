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
#include <xcb/xfixes.h>

namespace quillon::platform::linux_ {

X11OverlayWindows::X11OverlayWindows() = default;

X11OverlayWindows::~X11OverlayWindows()
{
    if (m_x && m_compositorEvents) {
        m_x->removeEventHandler(m_compositorEvents);
        xcb_destroy_window(m_x->get(), m_selectionWindow);
        m_x->flush();
    }
}

bool X11OverlayWindows::connect()
{
    if (m_x && m_x->isAlive())
        return true;
    m_compositorEvents = 0;
    m_x = X11Connection::open();
    if (m_x && !m_compositorHandlers.empty())
        watchCompositor();
    return m_x != nullptr;
}

// Asked anew each time: a compositor may start or stop while we run.
bool X11OverlayWindows::translucent()
{
    if (!connect())
        return false;
    return Ewmh(*m_x).compositorRunning();
}

int X11OverlayWindows::addCompositorHandler(std::function<void()> handler)
{
    const int token = m_compositorHandlers.add(std::move(handler));
    if (connect() && !m_compositorEvents)
        watchCompositor();
    return token;
}

void X11OverlayWindows::removeCompositorHandler(int token)
{
    m_compositorHandlers.remove(token);
}

// A compositor owns the selection while it runs: a new owner, or the owner's
// window or connection going, is a compositor starting or stopping.
void X11OverlayWindows::watchCompositor()
{
    xcb_connection_t* c = m_x->get();
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return;
    XcbReply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    m_selectionNotify = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    m_selectionWindow = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_selectionWindow, m_x->root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(m_x->screenNumber());
    xcb_xfixes_select_selection_input(c, m_selectionWindow, m_x->atom(name.constData()),
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    m_compositorEvents = m_x->addEventHandler([this](const xcb_generic_event_t* event) {
        if (event && (event->response_type & 0x7f) == m_selectionNotify)
            m_compositorHandlers.notify();
    });
    m_x->flush();
}

void X11OverlayWindows::markPlaced(QWidget& window)
{
    for (auto& e : m_windows) {
        if (e.window == &window)
            e.placed = true;
    }
}

std::optional<uint32_t> X11OverlayWindows::topLevelOf(uint32_t window)
{
    if (!connect())
        return std::nullopt;
    xcb_connection_t* c = m_x->get();
    // A frame nests a client a few levels deep at most; the bound only
    // guards against a tree that changes under us.
    for (int depth = 0; depth < 16; ++depth) {
        XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            return std::nullopt;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
    return std::nullopt;
}

bool X11OverlayWindows::configureStack(QWidget& window, std::optional<uint32_t> sibling, uint32_t mode)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return false;
    xcb_connection_t* conn = x11->connection();
    uint16_t mask = XCB_CONFIG_WINDOW_STACK_MODE;
    std::vector<uint32_t> values;
    if (sibling) {
        mask |= XCB_CONFIG_WINDOW_SIBLING;
        values.push_back(*sibling);
    }
    values.push_back(mode);
    xcb_generic_error_t* error = xcb_request_check(
        conn, xcb_configure_window_checked(conn, xcb_window_t(window.winId()), mask, values.data()));
    if (!error)
        return true;
    free(error);
    return false;
}

// A client that went away between the window list and this call (BadWindow
// or BadMatch) leaves the overlay where it was.
bool X11OverlayWindows::stackAbove(QWidget& window, WindowId client)
{
    markPlaced(window);
    const auto frame = topLevelOf(client);
    return frame && configureStack(window, *frame, XCB_STACK_MODE_ABOVE);
}

void X11OverlayWindows::stackAtBack(QWidget& window)
{
    markPlaced(window);
    std::optional<uint32_t> desktop;
    if (connect()) {
        Ewmh ewmh(*m_x);
        const xcb_atom_t desktopType = m_x->atom("_NET_WM_WINDOW_TYPE_DESKTOP");
        const auto stacking = ewmh.clientList(true).value_or(std::vector<xcb_window_t>{});
        const auto infos = ewmh.clients(stacking, ClientInfo::Type);
        for (auto it = infos.rbegin(); it != infos.rend() && !desktop; ++it) {
            if (std::find(it->types.begin(), it->types.end(), desktopType) != it->types.end())
                desktop = topLevelOf(it->window);
        }
    }
    if (desktop && configureStack(window, *desktop, XCB_STACK_MODE_ABOVE))
        return;
    configureStack(window, std::nullopt, XCB_STACK_MODE_BELOW);
}

bool X11OverlayWindows::isOverlay(const QWidget& window)
{
    return window.property(overlayMark).toBool();
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
    window.setProperty(overlayMark, true);
    std::erase_if(m_windows, [&](const Entry& e) { return !e.window || e.window == &window; });
    m_windows.push_back({&window, style.level, false});
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
        if (e.window->isVisible() && !e.placed)
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
