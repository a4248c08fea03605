#include "platform/linux/SelectionReader.h"

#include "platform/linux/X11Connection.h"

#include <functional>
#include <poll.h>

namespace quillon::platform::linux_ {

namespace {

constexpr uint32_t largestRead = 64u << 20; // in 32-bit units: more than any text we keep

} // namespace

std::unique_ptr<SelectionReader> SelectionReader::open()
{
    // Its events are read here alone, on whichever thread reads.
    auto x = X11Connection::open(false);
    if (!x)
        return nullptr;
    return std::unique_ptr<SelectionReader>(new SelectionReader(std::move(x)));
}

SelectionReader::SelectionReader(std::unique_ptr<X11Connection> x)
    : m_x(std::move(x))
{
    xcb_connection_t* c = m_x->get();
    m_window = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_x->root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    m_x->internAtoms({"CLIPBOARD", "TARGETS", "INCR", "ATOM", "QUILLON_SELECTION"});
    m_property = m_x->atom("QUILLON_SELECTION");
    xcb_flush(c);
}

SelectionReader::~SelectionReader()
{
    xcb_destroy_window(m_x->get(), m_window);
    xcb_flush(m_x->get());
}

// Reads events straight from the connection until one is wanted or the
// deadline passes; the connection is ours alone, so nothing else needs them.
xcb_generic_event_t* SelectionReader::waitFor(Deadline deadline,
                                              const std::function<bool(const xcb_generic_event_t*)>& wanted)
{
    xcb_connection_t* c = m_x->get();
    xcb_flush(c);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if (wanted(event))
                return event;
            std::free(event);
        }
        if (xcb_connection_has_error(c))
            return nullptr;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return nullptr;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, int(left.count()));
    }
}

std::optional<QByteArray> SelectionReader::readProperty(Deadline deadline)
{
    xcb_connection_t* c = m_x->get();
    const auto get = [&] {
        return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(
            c, xcb_get_property(c, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, largestRead),
            nullptr));
    };
    const auto bytes = [](const xcb_get_property_reply_t* reply) {
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                          xcb_get_property_value_length(reply)); // in bytes already
    };
    XcbReply<xcb_get_property_reply_t> reply = get();
    if (!reply)
        return std::nullopt;
    if (reply->type != m_x->atom("INCR"))
        return bytes(reply.get());
    // An incremental transfer: deleting the property asks for the next piece;
    // an empty piece ends it.
    QByteArray data;
    for (;;) {
        xcb_generic_event_t* event = waitFor(deadline, [this](const xcb_generic_event_t* e) {
            if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                return false;
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(e);
            return notify->window == m_window && notify->atom == m_property &&
                   notify->state == XCB_PROPERTY_NEW_VALUE;
        });
        if (!event)
            return std::nullopt;
        std::free(event);
        XcbReply<xcb_get_property_reply_t> piece = get();
        if (!piece)
            return std::nullopt;
        if (xcb_get_property_value_length(piece.get()) == 0)
            return data;
        data += bytes(piece.get());
    }
}

std::optional<QByteArray> SelectionReader::read(const char* selection, const QString& target,
                                                Deadline deadline)
{
    xcb_connection_t* c = m_x->get();
    // Answers to earlier conversions that came too late are of no use now.
    while (xcb_generic_event_t* stale = xcb_poll_for_event(c))
        std::free(stale);
    const QByteArray targetName = target.toUtf8();
    const xcb_atom_t targetAtom = m_x->atom(targetName.constData());
    xcb_convert_selection(c, m_window, m_x->atom(selection), targetAtom, m_property, XCB_CURRENT_TIME);
    xcb_generic_event_t* event = waitFor(deadline, [&](const xcb_generic_event_t* e) {
        if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(e);
        return notify->requestor == m_window && notify->target == targetAtom;
    });
    if (!event)
        return std::nullopt;
    const bool refused = reinterpret_cast<const xcb_selection_notify_event_t*>(event)->property == XCB_NONE;
    std::free(event);
    if (refused)
        return std::nullopt;
    return readProperty(deadline);
}

std::optional<QStringList> SelectionReader::targets(const char* selection, Deadline deadline)
{
    const std::optional<QByteArray> data = read(selection, QStringLiteral("TARGETS"), deadline);
    if (!data)
        return std::nullopt;
    xcb_connection_t* c = m_x->get();
    const auto* atoms = reinterpret_cast<const xcb_atom_t*>(data->constData());
    const qsizetype count = data->size() / qsizetype(sizeof(xcb_atom_t));
    std::vector<xcb_get_atom_name_cookie_t> cookies;
    for (qsizetype i = 0; i < count; ++i)
        cookies.push_back(xcb_get_atom_name(c, atoms[i]));
    QStringList names;
    for (const xcb_get_atom_name_cookie_t& cookie : cookies) {
        XcbReply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, cookie, nullptr));
        if (reply)
            names << QString::fromUtf8(xcb_get_atom_name_name(reply.get()),
                                       xcb_get_atom_name_name_length(reply.get()));
    }
    return names;
}

} // namespace quillon::platform::linux_
