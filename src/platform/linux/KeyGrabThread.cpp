#include "platform/linux/KeyGrabThread.h"

#include "platform/KeyFlags.h"
#include "platform/linux/X11Connection.h"

#include <QString>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xinput.h>

namespace quillon::platform::linux_ {

namespace {

// While a grab of ours is active the server sends the raw events of the
// grabbed keyboard only to us, and only when the grab asks for them.
constexpr uint32_t rawKeyMask =
    XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
constexpr uint32_t grabMask =
    XCB_INPUT_XI_EVENT_MASK_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_KEY_RELEASE | rawKeyMask;

std::vector<uint16_t> masterKeyboardsOf(xcb_connection_t* c)
{
    XcbReply<xcb_input_xi_query_device_reply_t> devices(
        xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr));
    std::vector<uint16_t> result;
    if (!devices)
        return result;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        if (it.data->type == XCB_INPUT_DEVICE_TYPE_MASTER_KEYBOARD)
            result.push_back(it.data->deviceid);
    }
    return result;
}

} // namespace

std::unique_ptr<KeyGrabThread> KeyGrabThread::start(Callbacks callbacks)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    XcbReply<xcb_input_xi_query_version_reply_t> version(
        extension && extension->present
            ? xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr)
            : nullptr);
    if (!screens.data || !version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 2)) {
        xcb_disconnect(c);
        return nullptr;
    }
    std::unique_ptr<KeyGrabThread> thread(
        new KeyGrabThread(c, screens.data->root, extension->major_opcode, std::move(callbacks)));
    if (thread->m_wakeFd < 0)
        return nullptr;
    thread->m_thread = std::thread([t = thread.get()] { t->run(); });
    return thread;
}

KeyGrabThread::KeyGrabThread(xcb_connection_t* c, xcb_window_t root, uint8_t opcode, Callbacks callbacks)
    : m_c(c)
    , m_root(root)
    , m_opcode(opcode)
    , m_keyboards(masterKeyboardsOf(c))
    , m_callbacks(std::move(callbacks))
    , m_main(std::make_unique<QObject>())
    , m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

KeyGrabThread::~KeyGrabThread()
{
    m_stop = true;
    wake();
    if (m_thread.joinable())
        m_thread.join();
    if (m_wakeFd >= 0)
        close(m_wakeFd);
    // Closing the connection ends every grab it holds.
    xcb_disconnect(m_c);
}

void KeyGrabThread::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = write(m_wakeFd, &one, sizeof one);
}

void KeyGrabThread::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(m_main.get(), std::move(fn), Qt::QueuedConnection);
}

bool KeyGrabThread::claim(uint64_t id)
{
    std::lock_guard lock(m_lock);
    if (m_pending && m_pending->press.id == id && m_pending->state == State::waiting) {
        // The main thread has come to it: its handlers answer at once, and
        // get a full wait of their own however late the thread came.
        m_pending->state = State::claimed;
        m_pending->deadline = std::chrono::steady_clock::now() + answerTimeout;
        return true;
    }
    // The main thread is back: the next press waits for it again.
    m_stalled = false;
    return false;
}

void KeyGrabThread::answer(uint64_t id, bool swallow)
{
    {
        std::lock_guard lock(m_lock);
        if (!m_pending || m_pending->press.id != id || m_pending->state != State::claimed) {
            m_stalled = false;
            return;
        }
        m_pending->state = State::answered;
        m_pending->swallow = swallow;
    }
    wake();
}

void KeyGrabThread::listen(bool on)
{
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? rawKeyMask : 0};
    xcb_input_xi_select_events(m_c, m_root, 1, &selection.head);
    xcb_flush(m_c);
    if (on) {
        // A modifier already held when listening starts still counts: the
        // thread reads what is down once the selection is in place.
        m_seed = true;
        wake();
    }
}

void KeyGrabThread::setTapCombos(std::set<std::pair<uint8_t, uint16_t>> combos,
                                 std::map<uint8_t, std::vector<uint32_t>> holes)
{
    std::lock_guard lock(m_lock);
    m_tapCombos = std::move(combos);
    m_tapHoles = std::move(holes);
}

void KeyGrabThread::run()
{
    pollfd fds[2] = {{xcb_get_file_descriptor(m_c), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    bool lost = false;
    while (!m_stop) {
        // Before the events: waiting for a reply may queue events, which the
        // socket then no longer announces.
        if (m_seed.exchange(false)) {
            XcbReply<xcb_query_keymap_reply_t> keymap(
                xcb_query_keymap_reply(m_c, xcb_query_keymap(m_c), nullptr));
            if (keymap)
                m_stream.seed(keymap->keys);
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_c)) {
            handle(event);
            std::free(event);
        }
        if (xcb_connection_has_error(m_c)) {
            if (!lost)
                post([this] {
                    m_callbacks.onLog(QStringLiteral("Keys: the X server closed the key grab "
                                                     "connection; key taps stop"));
                });
            lost = true;
            break;
        }
        checkPending();
        xcb_flush(m_c);
        int timeout = -1;
        {
            std::lock_guard lock(m_lock);
            if (m_pending) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                    m_pending->deadline - std::chrono::steady_clock::now());
                timeout = m_pending->state == State::answered ? 0 : int(std::max<int64_t>(0, left.count()));
            }
        }
        if (poll(fds, 2, timeout) > 0 && (fds[1].revents & POLLIN)) {
            uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(m_wakeFd, &count, sizeof count);
        }
    }
}

void KeyGrabThread::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == 0) {
        // Errors of our requests: an ungrab of a key another mapping moved,
        // a grab of a window gone. Each kind once; the taps keep working.
        const auto* error = reinterpret_cast<const xcb_generic_error_t*>(event);
        const int kind = error->error_code << 8 | error->major_code;
        if (m_reportedErrors.insert(kind).second) {
            post([this, code = error->error_code, major = error->major_code, minor = error->minor_code] {
                m_callbacks.onLog(QStringLiteral("Keys: X error %1 on request %2.%3; ignored")
                                      .arg(code)
                                      .arg(major)
                                      .arg(minor));
            });
        }
        return;
    }
    if (type == XCB_MAPPING_NOTIFY) {
        post([this] { m_callbacks.onMappingChange(); });
        return;
    }
    if (type != XCB_GE_GENERIC)
        return;
    const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
    if (generic->extension != m_opcode)
        return;
    switch (generic->event_type) {
    case XCB_INPUT_RAW_KEY_PRESS:
    case XCB_INPUT_RAW_KEY_RELEASE: {
        const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event);
        if (raw->detail <= 255)
            rawKey(uint8_t(raw->detail), generic->event_type == XCB_INPUT_RAW_KEY_PRESS, raw->time,
                   raw->sourceid);
        return;
    }
    case XCB_INPUT_KEY_PRESS:
        pressed(event);
        return;
    case XCB_INPUT_KEY_RELEASE:
        released(event);
        return;
    default:
        return;
    }
}

// Raw events give the modifier keys held (by side, whatever the layout makes
// of them) and every release, also of presses that were replayed.
void KeyGrabThread::rawKey(uint8_t xKey, bool isPress, uint32_t time, uint16_t sourceId)
{
    auto keyEvent = m_stream.handle(xKey, isPress);
    if (isPress)
        return;
    // A swallowed key let go while no grab of ours is active: its release
    // went to the focused window, so nothing of it is ours any more. During
    // a grab the release itself comes next and is answered.
    if (!m_grabKey && m_swallowed.test(xKey)) {
        m_swallowed.reset(xKey);
        updateHolding();
    }
    releaseHeldKey(xKey);
    if (!keyEvent || keyEvent->type != KeyEvent::Type::keyUp)
        return;
    keyEvent->time = time;
    keyEvent->fromSyntheticDevice = isSyntheticDevice(sourceId);
    post([this, xKey, event = *keyEvent] { m_callbacks.onRelease(xKey, event); });
}

bool KeyGrabThread::grabKeyboard()
{
    if (m_whole)
        return true;
    const uint32_t mask = XCB_INPUT_XI_EVENT_MASK_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_KEY_RELEASE;
    std::vector<xcb_input_xi_grab_device_cookie_t> cookies;
    for (const uint16_t keyboard : m_keyboards)
        cookies.push_back(xcb_input_xi_grab_device(m_c, m_root, XCB_CURRENT_TIME, XCB_NONE, keyboard,
                                                   XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC,
                                                   0, 1, &mask));
    bool all = !cookies.empty();
    for (const auto cookie : cookies) {
        XcbReply<xcb_input_xi_grab_device_reply_t> reply(
            xcb_input_xi_grab_device_reply(m_c, cookie, nullptr));
        all = all && reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    }
    m_whole = all;
    if (!all) {
        for (const uint16_t keyboard : m_keyboards)
            xcb_input_xi_ungrab_device(m_c, XCB_CURRENT_TIME, keyboard);
    }
    xcb_flush(m_c);
    wake();
    return all;
}

void KeyGrabThread::ungrabKeyboard()
{
    if (m_whole.exchange(false)) {
        for (const uint16_t keyboard : m_keyboards)
            xcb_input_xi_ungrab_device(m_c, XCB_CURRENT_TIME, keyboard);
        xcb_flush(m_c);
    }
}

void KeyGrabThread::releaseWholeKeyboard()
{
    ungrabKeyboard();
    post([this] {
        if (m_callbacks.onKeyboardFreed)
            m_callbacks.onKeyboardFreed();
    });
}

// Under the active grab nothing is frozen and nothing can be replayed: the
// press has gone nowhere, and the main thread only hears of it. The one way
// out is decided here, so a hung main thread never keeps the keyboard.
void KeyGrabThread::heldPress(const xcb_generic_event_t* generic)
{
    const auto* event = reinterpret_cast<const xcb_input_key_press_event_t*>(generic);
    const uint8_t xKey = event->detail <= 255 ? uint8_t(event->detail) : 0;
    const auto virtualKey = xKey ? KeyCodeMap::virtualKey(xKey) : std::nullopt;
    if (!virtualKey)
        return;
    const uint16_t mods = uint16_t(event->mods.effective);
    // The raw stream may not have caught up with the modifiers yet; the
    // press's own state has them.
    EventFlags flags = m_stream.flags();
    if (mods & XCB_MOD_MASK_SHIFT)
        flags |= KeyFlags::shift;
    if (mods & XCB_MOD_MASK_CONTROL)
        flags |= KeyFlags::control;
    if (mods & XCB_MOD_MASK_1)
        flags |= KeyFlags::option;
    if (mods & XCB_MOD_MASK_4)
        flags |= KeyFlags::command;
    KeyEvent press{KeyEvent::Type::keyDown, *virtualKey, flags,
                   (event->flags & XCB_INPUT_KEY_EVENT_FLAGS_KEY_REPEAT) != 0};
    press.time = event->time;
    press.fromSyntheticDevice = isSyntheticDevice(event->sourceid);
    constexpr uint16_t escapeKey = 53;
    const bool controlAlt = (mods & XCB_MOD_MASK_CONTROL) && (mods & XCB_MOD_MASK_1);
    if (*virtualKey == escapeKey && controlAlt)
        releaseWholeKeyboard();
    post([this, press] {
        if (m_callbacks.onHeldPress)
            m_callbacks.onHeldPress(press);
    });
}

void KeyGrabThread::pressed(const xcb_generic_event_t* generic)
{
    const auto* event = reinterpret_cast<const xcb_input_key_press_event_t*>(generic);
    if (m_whole) {
        heldPress(generic);
        return;
    }
    const uint8_t xKey = event->detail <= 255 ? uint8_t(event->detail) : 0;
    if (!m_grabKey)
        m_grabKey = xKey;
    const auto virtualKey = xKey ? KeyCodeMap::virtualKey(xKey) : std::nullopt;
    // A repeat of a key whose press we swallowed is swallowed whatever
    // happens: the focused window never saw the press.
    const bool ours = xKey && m_swallowed.test(xKey);
    if (!virtualKey) {
        allow(event->deviceid, ours, event->time, xKey);
        return;
    }
    Press press;
    press.xKey = xKey;
    press.modifiers = uint16_t(event->mods.effective & 0xff);
    press.event = KeyEvent{KeyEvent::Type::keyDown, *virtualKey, m_stream.flags(),
                           (event->flags & XCB_INPUT_KEY_EVENT_FLAGS_KEY_REPEAT) != 0};
    press.event.time = event->time;
    press.event.fromSyntheticDevice = isSyntheticDevice(event->sourceid);
    {
        std::lock_guard lock(m_lock);
        if (!m_stalled) {
            press.id = ++m_lastId;
            m_pending = Pending{press, event->deviceid, std::chrono::steady_clock::now() + answerTimeout,
                                State::waiting, false};
        }
    }
    if (!press.id) {
        allow(event->deviceid, ours, event->time, xKey);
        return;
    }
    post([this, press] { m_callbacks.onPress(press); });
}

void KeyGrabThread::checkPending()
{
    std::optional<Pending> done;
    bool stallBegins = false;
    {
        std::lock_guard lock(m_lock);
        if (!m_pending)
            return;
        if (m_pending->state != State::answered && std::chrono::steady_clock::now() < m_pending->deadline)
            return;
        done = m_pending;
        m_pending.reset();
        if (done->state != State::answered) {
            stallBegins = !m_stalled;
            m_stalled = true;
        }
    }
    const uint8_t xKey = done->press.xKey;
    const bool answered = done->state == State::answered;
    allow(done->deviceId, (answered && done->swallow) || m_swallowed.test(xKey), done->press.event.time,
          xKey);
    if (stallBegins) {
        post([this] {
            m_callbacks.onLog(QStringLiteral("Keys: the application did not answer a key within %1 ms; "
                                             "keys pass to the focused window until it does")
                                  .arg(answerTimeout.count()));
        });
    }
}

void KeyGrabThread::released(const xcb_generic_event_t* generic)
{
    const auto* event = reinterpret_cast<const xcb_input_key_press_event_t*>(generic);
    if (m_whole)
        return;
    // The release of the key whose press activated the grab ends the grab and
    // thaws the keyboard by itself. An answer to it would reach the server
    // after the keyboard moved on, and act on the next grab instead.
    if (m_grabKey && event->detail == *m_grabKey) {
        m_swallowed.reset(*m_grabKey);
        m_grabKey.reset();
        updateHolding();
        grabHeldKeys();
        xcb_flush(m_c);
        return;
    }
    const bool swallow = event->detail <= 255 && m_swallowed.test(event->detail);
    if (swallow)
        m_swallowed.reset(event->detail);
    allow(event->deviceid, swallow, event->time, std::nullopt);
}

// A swallowed event keeps the keyboard synchronous, so the next event during
// the same grab (another key, a modifier, a release) also waits for us and can
// still be replayed. A replayed event ends the grab; swallowed keys still down
// are then grabbed on their own, so their repeats stay ours. The answer
// carries the event's time, so the server ignores it should it ever arrive
// after a later grab began.
void KeyGrabThread::allow(uint16_t deviceId, bool swallow, uint32_t time, std::optional<uint8_t> pressed)
{
    if (swallow && pressed)
        m_swallowed.set(*pressed);
    if (!swallow) {
        m_grabKey.reset();
        grabHeldKeys();
    }
    updateHolding();
    xcb_input_xi_allow_events(m_c, time, deviceId,
                              swallow ? XCB_INPUT_EVENT_MODE_SYNC_DEVICE : XCB_INPUT_EVENT_MODE_REPLAY_DEVICE,
                              0, XCB_NONE);
    xcb_flush(m_c);
}

// Every modifier set but those a tap grabs already (a grab of ours for the
// same combination would replace it, and the ungrab remove it).
void KeyGrabThread::grabHeldKeys()
{
    std::set<std::pair<uint8_t, uint16_t>> taps;
    {
        std::lock_guard lock(m_lock);
        taps = m_tapCombos;
    }
    for (int key = 8; key < 256; ++key) {
        if (!m_swallowed.test(size_t(key)) || m_heldGrabs.count(uint8_t(key)))
            continue;
        // A tap's AnyModifier grab takes the repeats already; an ungrab of
        // ours for any set would punch a hole in it.
        if (taps.count({uint8_t(key), anyModifier}))
            continue;
        std::vector<uint32_t> sets;
        for (uint32_t set = 0; set < 256; ++set) {
            if (!taps.count({uint8_t(key), uint16_t(set)}))
                sets.push_back(set);
        }
        for (const uint16_t keyboard : m_keyboards) {
            xcb_discard_reply(m_c, xcb_input_xi_passive_grab_device(
                                       m_c, XCB_CURRENT_TIME, m_root, XCB_NONE, uint32_t(key), keyboard,
                                       uint16_t(sets.size()), 1, XCB_INPUT_GRAB_TYPE_KEYCODE,
                                       XCB_INPUT_GRAB_MODE_22_SYNC, XCB_INPUT_GRAB_MODE_22_ASYNC, 0,
                                       &grabMask, sets.data())
                                       .sequence);
        }
        m_heldGrabs[uint8_t(key)] = std::move(sets);
    }
}

void KeyGrabThread::releaseHeldKey(uint8_t xKey)
{
    const auto it = m_heldGrabs.find(xKey);
    if (it == m_heldGrabs.end())
        return;
    for (const uint16_t keyboard : m_keyboards) {
        xcb_input_xi_passive_ungrab_device(m_c, m_root, xKey, keyboard, uint16_t(it->second.size()),
                                           XCB_INPUT_GRAB_TYPE_KEYCODE, it->second.data());
    }
    m_heldGrabs.erase(it);
    // A tap armed with AnyModifier while the key was held lost those sets
    // to the ungrab: its grab is made whole again, the holes others hold
    // punched anew.
    std::vector<uint32_t> holes;
    bool anyTap = false;
    {
        std::lock_guard lock(m_lock);
        anyTap = m_tapCombos.count({xKey, anyModifier}) > 0;
        if (const auto found = m_tapHoles.find(xKey); found != m_tapHoles.end())
            holes = found->second;
    }
    if (anyTap) {
        const uint32_t any = XCB_INPUT_MODIFIER_MASK_ANY;
        for (const uint16_t keyboard : m_keyboards) {
            xcb_discard_reply(m_c, xcb_input_xi_passive_grab_device(
                                       m_c, XCB_CURRENT_TIME, m_root, XCB_NONE, xKey, keyboard, 1, 1,
                                       XCB_INPUT_GRAB_TYPE_KEYCODE, XCB_INPUT_GRAB_MODE_22_SYNC,
                                       XCB_INPUT_GRAB_MODE_22_ASYNC, 0, &grabMask, &any)
                                       .sequence);
            if (!holes.empty())
                xcb_input_xi_passive_ungrab_device(m_c, m_root, xKey, keyboard, uint16_t(holes.size()),
                                                   XCB_INPUT_GRAB_TYPE_KEYCODE, holes.data());
        }
    }
    xcb_flush(m_c);
}

bool KeyGrabThread::isSyntheticDevice(uint16_t deviceId)
{
    const auto known = m_synthetic.find(deviceId);
    if (known != m_synthetic.end())
        return known->second;
    // The server marks its XTest devices with a property nobody can remove.
    static const char name[] = "XTEST Device";
    XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 1, uint16_t(sizeof name - 1), name), nullptr));
    const xcb_atom_t marker = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    XcbReply<xcb_input_xi_get_property_reply_t> property(
        marker == XCB_ATOM_NONE
            ? nullptr
            : xcb_input_xi_get_property_reply(
                  m_c, xcb_input_xi_get_property(m_c, deviceId, 0, marker, XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
                  nullptr));
    const bool synthetic = property && property->type != XCB_ATOM_NONE;
    m_synthetic[deviceId] = synthetic;
    return synthetic;
}

} // namespace quillon::platform::linux_
