#include "platform/linux/X11SpaceGestures.h"

#include <QTimer>
#include <xcb/xinput.h>

namespace quillon::platform::linux_ {

namespace {

constexpr uint16_t gestureMinorVersion = 4;

// Event masks are bit (1 << event type); the swipe types 30 to 32 straddle
// the first two words.
constexpr uint64_t swipeMask = (uint64_t(1) << XCB_INPUT_GESTURE_SWIPE_BEGIN) |
                               (uint64_t(1) << XCB_INPUT_GESTURE_SWIPE_UPDATE) |
                               (uint64_t(1) << XCB_INPUT_GESTURE_SWIPE_END);

// A grab for every modifier state: a swipe is the same gesture whatever keys
// are held.
const uint32_t anyModifier = XCB_INPUT_MODIFIER_MASK_ANY;

double fromFixed(xcb_input_fp1616_t value)
{
    return double(value) / 65536.0;
}

bool takesFingers(uint32_t fingers)
{
    return fingers == 3 || fingers == 4;
}

} // namespace

X11SpaceGestures::~X11SpaceGestures()
{
    ungrab();
    m_xi.reset();
}

GestureStart X11SpaceGestures::start(std::function<void(const Swipe&)> handler)
{
    if (m_lost) {
        release();
        m_lost = false;
    }
    if (m_xi) {
        m_handler = std::move(handler);
        return GestureStart::started;
    }
    auto connection = X11Connection::open();
    if (!connection)
        return GestureStart::noSession;
    const int generation = ++m_generation;
    m_xi = XInput::open(
        std::move(connection),
        [this, generation](const xcb_generic_event_t* event) { handle(event, generation); },
        gestureMinorVersion);
    if (!m_xi)
        return GestureStart::unsupported;
    m_lost = false;
    m_taking = false;
    const GestureStart outcome = grab();
    if (outcome != GestureStart::started) {
        release();
        return outcome;
    }
    m_xi->connection().setOnLost([this] { m_lost = true; });
    m_handler = std::move(handler);
    return outcome;
}

GestureStart X11SpaceGestures::grab()
{
    X11Connection& x = m_xi->connection();
    xcb_connection_t* c = x.get();
    const uint32_t mask[2] = {uint32_t(swipeMask), uint32_t(swipeMask >> 32)};
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_input_xi_passive_grab_device_reply_t> reply(xcb_input_xi_passive_grab_device_reply(
        c,
        xcb_input_xi_passive_grab_device(c, XCB_CURRENT_TIME, x.root(), XCB_CURSOR_NONE, 0,
                                         XCB_INPUT_DEVICE_ALL_MASTER, 1, 2,
                                         XCB_INPUT_GRAB_TYPE_GESTURE_SWIPE_BEGIN, XCB_INPUT_GRAB_MODE_22_SYNC,
                                         XCB_INPUT_GRAB_MODE_22_ASYNC, 0, mask, &anyModifier),
        &error));
    if (error) {
        // A server that announces 2.4 knows the grab type; anything else it
        // objects to means it does not really do gestures.
        const bool refused = error->error_code == XCB_ACCESS;
        std::free(error);
        return refused ? GestureStart::refused : GestureStart::unsupported;
    }
    if (!reply)
        return GestureStart::noSession;
    if (xcb_input_xi_passive_grab_device_modifiers_length(reply.get()) > 0) {
        // Another client holds a swipe grab on the root for some modifiers:
        // give back what we got rather than share the swipes.
        ungrab();
        return GestureStart::refused;
    }
    return GestureStart::started;
}

void X11SpaceGestures::stop()
{
    if (!m_xi)
        return;
    ungrab();
    release();
    m_handler = nullptr;
    m_taking = false;
}

void X11SpaceGestures::ungrab()
{
    if (!m_xi || m_lost)
        return;
    X11Connection& x = m_xi->connection();
    xcb_input_xi_passive_ungrab_device(x.get(), x.root(), 0, XCB_INPUT_DEVICE_ALL_MASTER, 1,
                                       XCB_INPUT_GRAB_TYPE_GESTURE_SWIPE_BEGIN, &anyModifier);
    x.flush();
}

void X11SpaceGestures::release()
{
    ++m_generation;
    std::shared_ptr<XInput> old(std::move(m_xi));
    QTimer::singleShot(0, [old] {});
}

void X11SpaceGestures::handle(const xcb_generic_event_t* event, int generation)
{
    if (generation != m_generation || !m_xi)
        return;
    const auto type = m_xi->eventType(event);
    if (!type || *type < XCB_INPUT_GESTURE_SWIPE_BEGIN || *type > XCB_INPUT_GESTURE_SWIPE_END)
        return;
    const auto* e = reinterpret_cast<const xcb_input_gesture_swipe_begin_event_t*>(event);
    xcb_connection_t* c = m_xi->connection().get();
    Swipe swipe;
    swipe.fingers = int(e->detail);
    switch (*type) {
    case XCB_INPUT_GESTURE_SWIPE_BEGIN:
        // The pointer stays frozen until this answer, so it goes out at once.
        m_taking = takesFingers(e->detail);
        xcb_input_xi_allow_events(c, e->time, e->deviceid,
                                  m_taking ? XCB_INPUT_EVENT_MODE_ASYNC_DEVICE
                                           : XCB_INPUT_EVENT_MODE_REPLAY_DEVICE,
                                  0, XCB_WINDOW_NONE);
        m_xi->connection().flush();
        if (!m_taking)
            return;
        swipe.phase = SwipePhase::began;
        break;
    case XCB_INPUT_GESTURE_SWIPE_UPDATE:
        if (!m_taking)
            return;
        swipe.phase = SwipePhase::changed;
        swipe.dx = fromFixed(e->delta_unaccel_x);
        swipe.dy = fromFixed(e->delta_unaccel_y);
        break;
    default:
        // A replayed swipe ends for us at once; only a taken one is reported.
        if (!m_taking)
            return;
        m_taking = false;
        swipe.phase = (e->flags & XCB_INPUT_GESTURE_SWIPE_EVENT_FLAGS_GESTURE_SWIPE_CANCELLED)
                          ? SwipePhase::cancelled
                          : SwipePhase::ended;
        break;
    }
    if (m_handler) {
        const auto handler = m_handler;
        handler(swipe);
    }
}

} // namespace quillon::platform::linux_
