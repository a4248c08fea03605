#include "platform/linux/X11ScreenCapture.h"

#include "platform/ScreenSpace.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11OverlayWindows.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <xcb/composite.h>

namespace quillon::platform::linux_ {

namespace {

// What the server sends for a drawable of `depth`: 32 bits a pixel, least
// significant byte first, is what every TrueColor X server of today gives.
QImage::Format formatFor(xcb_connection_t* conn, uint8_t depth)
{
    const xcb_setup_t* setup = xcb_get_setup(conn);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return QImage::Format_Invalid;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth && it.data->bits_per_pixel != 32)
            return QImage::Format_Invalid;
    }
    if (depth == 24)
        return QImage::Format_RGB32;
    if (depth == 32)
        return QImage::Format_ARGB32_Premultiplied;
    return QImage::Format_Invalid;
}

// One `GetImage` of `rect` of a drawable; null on any error.
QImage getImage(xcb_connection_t* conn, xcb_drawable_t drawable, const QRect& rect)
{
    if (rect.isEmpty())
        return {};
    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        conn,
        xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(rect.width()), uint16_t(rect.height()), ~0u),
        nullptr));
    if (!reply)
        return {};
    const QImage::Format format = formatFor(conn, reply->depth);
    const int length = xcb_get_image_data_length(reply.get());
    const qsizetype stride = qsizetype(rect.width()) * 4;
    if (format == QImage::Format_Invalid || length < stride * rect.height())
        return {};
    QImage image(rect.size(), format);
    const uint8_t* data = xcb_get_image_data(reply.get());
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(image.scanLine(y), data + y * stride, size_t(stride));
    if (format == QImage::Format_RGB32) {
        // The pad byte is whatever the server left there.
        for (int y = 0; y < rect.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < rect.width(); ++x)
                line[x] |= 0xff000000u;
        }
    }
    return image;
}

struct TopWindow {
    xcb_window_t id;
    QRect outer;
    bool marked;
};

// The root's viewable children, bottom to top, with their outer rectangles.
std::vector<TopWindow> viewableChildren(X11Connection& x)
{
    std::vector<TopWindow> result;
    xcb_connection_t* conn = x.get();
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(conn, xcb_query_tree(conn, x.root()), nullptr));
    if (!tree)
        return result;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_geometry_cookie_t> geometries;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(conn, children[i]));
        geometries.push_back(xcb_get_geometry(conn, children[i]));
    }
    for (int i = 0; i < count; ++i) {
        XcbReply<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(conn, attributes[size_t(i)], nullptr));
        XcbReply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(conn, geometries[size_t(i)], nullptr));
        if (!a || !g || a->map_state != XCB_MAP_STATE_VIEWABLE || a->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        const int border = g->border_width;
        result.push_back(
            {children[i], QRect(g->x, g->y, g->width + 2 * border, g->height + 2 * border), false});
    }
    return result;
}

} // namespace

X11ScreenCapture::X11ScreenCapture() = default;
X11ScreenCapture::~X11ScreenCapture() = default;

X11Connection* X11ScreenCapture::connection()
{
    if (!m_x || !m_x->isAlive()) {
        m_x = X11Connection::open();
        m_composite = -1;
    }
    return m_x.get();
}

bool X11ScreenCapture::canCapture()
{
    std::lock_guard lock(m_lock);
    return connection() != nullptr;
}

QRect X11ScreenCapture::deviceRect(const Screen& screen, const QRectF& primaryNative)
{
    const QRectF native = ScreenSpace::nativeFromCocoa(screen.frame, primaryNative);
    const double scale = screen.scale > 0 ? screen.scale : 1.0;
    return QRectF(native.x() * scale, native.y() * scale, native.width() * scale, native.height() * scale)
        .toAlignedRect();
}

QImage X11ScreenCapture::capture(const Screen& screen)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRectF primaryNative = primary ? QRectF(primary->geometry()) : QRectF();
    QImage image = captureRoot(deviceRect(screen, primaryNative));
    if (!image.isNull())
        image.setDevicePixelRatio(screen.scale > 0 ? screen.scale : 1.0);
    return image;
}

QImage X11ScreenCapture::captureRoot(const QRect& rect)
{
    std::lock_guard lock(m_lock);
    X11Connection* x = connection();
    if (!x)
        return {};
    const QRect root(0, 0, x->screen()->width_in_pixels, x->screen()->height_in_pixels);
    // A screen partly off the root (a stale layout) keeps its size; what lies
    // outside stays black.
    const QRect inside = rect & root;
    if (rect.isEmpty() || inside.isEmpty())
        return {};
    QImage taken = getImage(x->get(), x->root(), inside);
    if (taken.isNull())
        return {};
    QImage image;
    if (inside == rect) {
        image = std::move(taken);
    } else {
        image = QImage(rect.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter(&image).drawImage(inside.topLeft() - rect.topLeft(), taken);
    }
    leaveOutExcluded(image, rect);
    return image;
}

bool X11ScreenCapture::hasComposite()
{
    if (m_composite < 0) {
        xcb_connection_t* conn = m_x->get();
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xcb_composite_id);
        m_composite = 0;
        if (ext && ext->present) {
            XcbReply<xcb_composite_query_version_reply_t> version(
                xcb_composite_query_version_reply(conn, xcb_composite_query_version(conn, 0, 2), nullptr));
            m_composite = version && (version->major_version > 0 || version->minor_version >= 2) ? 1 : 0;
        }
    }
    return m_composite == 1;
}

// Each area under a marked overlay is painted anew from black up: every
// viewable unmarked window over it, bottom to top, from its named pixmap.
void X11ScreenCapture::leaveOutExcluded(QImage& image, const QRect& rect)
{
    X11Connection& x = *m_x;
    const auto marked = X11OverlayWindows::captureExcludedWindows(x);
    if (marked.empty() || !hasComposite())
        return;
    auto windows = viewableChildren(x);
    std::vector<QRect> areas;
    for (auto& w : windows) {
        w.marked = std::find(marked.begin(), marked.end(), w.id) != marked.end();
        if (w.marked && w.outer.intersects(rect))
            areas.push_back(w.outer & rect);
    }
    if (areas.empty())
        return;
    xcb_connection_t* conn = x.get();
    for (const QRect& area : areas) {
        QImage rebuilt(area.size(), QImage::Format_RGB32);
        rebuilt.fill(Qt::black);
        QPainter painter(&rebuilt);
        bool complete = true;
        for (const auto& w : windows) {
            const QRect part = w.outer & area;
            if (w.marked || part.isEmpty())
                continue;
            const xcb_pixmap_t pixmap = xcb_generate_id(conn);
            XcbReply<xcb_generic_error_t> error(
                xcb_request_check(conn, xcb_composite_name_window_pixmap_checked(conn, w.id, pixmap)));
            if (error) {
                complete = false;
                break;
            }
            const QImage content = getImage(conn, pixmap, part.translated(-w.outer.topLeft()));
            xcb_free_pixmap(conn, pixmap);
            if (content.isNull()) {
                complete = false;
                break;
            }
            painter.drawImage(part.topLeft() - area.topLeft(), content);
        }
        painter.end();
        if (complete)
            QPainter(&image).drawImage(area.topLeft() - rect.topLeft(), rebuilt);
    }
    xcb_flush(conn);
}

} // namespace quillon::platform::linux_
