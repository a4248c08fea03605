#include "platform/linux/X11Pointer.h"

#include "platform/ScreenSpace.h"
#include "platform/linux/X11OverlayWindows.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <QWindow>
#include <xcb/xinput.h>

namespace quillon::platform::linux_ {

namespace {

constexpr int leftButton = 1;

bool isWheel(int button)
{
    return button >= 4 && button <= 7;
}

} // namespace

X11Pointer::~X11Pointer()
{
    if (m_xi && m_selected)
        m_xi->selectOnRoot(0);
}

QPointF X11Pointer::location() const
{
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {};
    return ScreenSpace::cocoaFromNative(QPointF(QCursor::pos()), QRectF(primary->geometry()));
}

bool X11Pointer::connect()
{
    if (!m_xi)
        m_xi = XInput::open([this](const xcb_generic_event_t* event) { handle(event); });
    return m_xi != nullptr;
}

std::optional<int> X11Pointer::addMouseDownMonitor(std::function<void(const MouseDown&)> handler)
{
    if (!connect())
        return std::nullopt;
    const int token = m_downs.add(std::move(handler));
    updateSelection();
    return token;
}

void X11Pointer::removeMouseDownMonitor(int token)
{
    m_downs.remove(token);
    updateSelection();
}

std::optional<int> X11Pointer::addDragMonitor(std::function<void(DragPhase)> handler)
{
    if (!connect())
        return std::nullopt;
    if (m_drags.empty() && !m_selected) {
        // Button events were not watched: learn whether a drag is already under way.
        xcb_connection_t* c = m_xi->connection().get();
        XcbReply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(c, xcb_query_pointer(c, m_xi->connection().root()), nullptr));
        m_leftDown = pointer && (pointer->mask & XCB_BUTTON_MASK_1);
        m_dragOutside = m_leftDown && windowUnderPointer() != Under::overlay;
        m_dragReported = false;
    }
    const int token = m_drags.add(std::move(handler));
    updateSelection();
    return token;
}

void X11Pointer::removeDragMonitor(int token)
{
    m_drags.remove(token);
    if (m_drags.empty())
        m_dragReported = false;
    updateSelection();
}

std::optional<int> X11Pointer::addScrollMonitor(std::function<void(int button)> handler)
{
    if (!connect())
        return std::nullopt;
    const int token = m_scrolls.add(std::move(handler));
    updateSelection();
    return token;
}

void X11Pointer::removeScrollMonitor(int token)
{
    m_scrolls.remove(token);
    updateSelection();
}

std::optional<int> X11Pointer::addMoveMonitor(std::function<void()> handler)
{
    if (!connect())
        return std::nullopt;
    const int token = m_moves.add(std::move(handler));
    updateSelection();
    return token;
}

void X11Pointer::removeMoveMonitor(int token)
{
    m_moves.remove(token);
    updateSelection();
}

void X11Pointer::updateSelection()
{
    uint32_t mask = 0;
    if (!m_downs.empty() || !m_drags.empty() || !m_scrolls.empty())
        mask |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    if ((!m_drags.empty() && m_leftDown && m_dragOutside) || !m_moves.empty())
        mask |= XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
    if (mask == m_selected || !m_xi)
        return;
    m_selected = mask;
    m_xi->selectOnRoot(mask);
}

void X11Pointer::handle(const xcb_generic_event_t* event)
{
    const auto type = m_xi->eventType(event);
    if (!type)
        return;
    switch (*type) {
    case XCB_INPUT_RAW_BUTTON_PRESS:
    case XCB_INPUT_RAW_BUTTON_RELEASE: {
        const auto* raw = reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event);
        const int button = logicalButton(raw->sourceid, raw->detail);
        if (button <= 0)
            return;
        if (isWheel(button)) {
            // A wheel turn is a press and a release at once; the press tells it.
            if (*type == XCB_INPUT_RAW_BUTTON_PRESS)
                m_scrolls.notify(button);
            return;
        }
        if (*type == XCB_INPUT_RAW_BUTTON_PRESS)
            pressed(button);
        else
            released(button);
        return;
    }
    case XCB_INPUT_RAW_MOTION:
        // A fast mouse sends up to a thousand events a second, and each
        // monitor reads the location with a round trip: the events read in
        // one go are told as one, once the batch is through.
        if (!m_motionQueued) {
            m_motionQueued = true;
            QMetaObject::invokeMethod(
                &m_xi->connection(), [this] { flushMotion(); }, Qt::QueuedConnection);
        }
        return;
    default:
        return;
    }
}

void X11Pointer::flushMotion()
{
    if (!m_motionQueued)
        return;
    m_motionQueued = false;
    if (m_leftDown && m_dragOutside && !m_drags.empty()) {
        m_dragReported = true;
        m_drags.notify(DragPhase::dragged);
    }
    m_moves.notify();
}

void X11Pointer::pressed(int button)
{
    // Motion read before the press belongs to what came before it.
    flushMotion();
    const bool needsWindow = !m_downs.empty() || (button == leftButton && !m_drags.empty());
    const Under under = needsWindow ? windowUnderPointer() : Under::elsewhere;
    if (button == leftButton) {
        m_leftDown = true;
        m_dragOutside = under != Under::overlay;
        m_dragReported = false;
        updateSelection();
    }
    // A press on any window of ours is ours, whatever kind of window it is.
    m_downs.notify(MouseDown{button, under != Under::elsewhere});
}

void X11Pointer::released(int button)
{
    if (button != leftButton)
        return;
    // The motion before the release comes first.
    flushMotion();
    const bool ended = m_dragReported;
    m_leftDown = false;
    m_dragOutside = false;
    m_dragReported = false;
    updateSelection();
    if (ended)
        m_drags.notify(DragPhase::ended);
}

int X11Pointer::logicalButton(uint16_t device, uint32_t physical)
{
    xcb_connection_t* c = m_xi->connection().get();
    XcbReply<xcb_input_get_device_button_mapping_reply_t> mapping(xcb_input_get_device_button_mapping_reply(
        c, xcb_input_get_device_button_mapping(c, uint8_t(device)), nullptr));
    if (!mapping || physical == 0 ||
        int(physical) > xcb_input_get_device_button_mapping_map_length(mapping.get()))
        return int(physical);
    return xcb_input_get_device_button_mapping_map(mapping.get())[physical - 1];
}

X11Pointer::Under X11Pointer::windowUnderPointer()
{
    QSet<xcb_window_t> own;
    QSet<xcb_window_t> overlays;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible() || !window->handle())
            continue;
        own.insert(xcb_window_t(window->winId()));
        if (window->type() == Qt::Popup)
            overlays.insert(xcb_window_t(window->winId()));
    }
    if (own.isEmpty())
        return Under::elsewhere;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowHandle() && X11OverlayWindows::isOverlay(*widget))
            overlays.insert(xcb_window_t(widget->windowHandle()->winId()));
    }
    // Walk down from the root through the window under the pointer: a window
    // manager's frame first, then the client inside it.
    xcb_connection_t* c = m_xi->connection().get();
    xcb_window_t window = m_xi->connection().root();
    for (int depth = 0; depth < 4; ++depth) {
        XcbReply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(c, xcb_query_pointer(c, window), nullptr));
        if (!pointer || pointer->child == XCB_WINDOW_NONE)
            return Under::elsewhere;
        if (own.contains(pointer->child))
            return overlays.contains(pointer->child) ? Under::overlay : Under::ownWindow;
        window = pointer->child;
    }
    return Under::elsewhere;
}

} // namespace quillon::platform::linux_
