#include "platform/linux/X11DragProbe.h"

#include "platform/UriList.h"
#include "platform/linux/X11Connection.h"

#include <chrono>

#include <poll.h>
#include <xcb/xfixes.h>

namespace quillon::platform::linux_ {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");
constexpr const char* answerProperty = "QUILLON_DRAG_PROBE";

} // namespace

X11DragProbe::X11DragProbe()
    : m_x(X11Connection::open())
{
    if (!m_x)
        return;
    xcb_connection_t* c = m_x->get();
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) {
        m_x.reset();
        return;
    }
    XcbReply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    m_selectionNotify = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    m_x->internAtoms({"XdndSelection", "XdndTypeList", "TARGETS", "INCR", "text/uri-list", answerProperty});

    m_window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_x->root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_xfixes_select_selection_input(c, m_window, m_x->atom("XdndSelection"),
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    m_handler = m_x->addEventHandler([this](const xcb_generic_event_t* event) { handle(event); });
    m_x->flush();
}

X11DragProbe::~X11DragProbe()
{
    if (!m_x)
        return;
    m_x->removeEventHandler(m_handler);
    xcb_destroy_window(m_x->get(), m_window);
    xcb_flush(m_x->get());
}

void X11DragProbe::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == m_selectionNotify) {
        const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
        m_owner = notify->owner;
        // The selection going away ends a drag; only a new owner starts one.
        if (notify->owner != XCB_WINDOW_NONE)
            ++m_changes;
    } else if (type == XCB_SELECTION_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event);
        if (notify->requestor == m_window && m_awaited != XCB_ATOM_NONE && notify->target == m_awaited)
            m_answer = *notify;
    }
}

int X11DragProbe::changeCount()
{
    // Only what the server has already sent: no request, no wait.
    if (m_x)
        m_x->dispatchPending();
    return m_changes;
}

bool X11DragProbe::carriesFiles()
{
    study();
    return m_own ? !m_own->isEmpty() : m_carries;
}

QList<QUrl> X11DragProbe::fileURLs()
{
    study();
    return m_own ? *m_own : m_files;
}

QStringList X11DragProbe::types()
{
    study();
    return m_own ? QStringList{uriListType} : m_types;
}

void X11DragProbe::noteOwnDrag(const QList<QUrl>& urls)
{
    m_own = urls;
}

void X11DragProbe::endOwnDrag()
{
    m_own.reset();
}

void X11DragProbe::study()
{
    changeCount();
    if (m_own || m_studied == m_changes)
        return;
    m_studied = m_changes;
    m_carries = false;
    m_files.clear();
    m_types.clear();
    if (!m_x || m_owner == XCB_WINDOW_NONE)
        return;

    xcb_atom_t listType = XCB_ATOM_NONE;
    if (auto targets = convert(m_x->atom("TARGETS"), &listType); targets && listType == XCB_ATOM_ATOM)
        m_types = atomNames(reinterpret_cast<const xcb_atom_t*>(targets->constData()),
                            int(targets->size() / qsizetype(sizeof(xcb_atom_t))));
    if (m_types.isEmpty())
        m_types = ownerTypeList();
    if (!m_types.isEmpty() && !m_types.contains(uriListType))
        return;

    if (auto list = convert(m_x->atom("text/uri-list"))) {
        m_files = localFilesOfUriList(*list);
        m_carries = !m_files.isEmpty();
        return;
    }
    // Qt sources answer their drop target only. A drag that lists file URLs,
    // or lists nothing at all (toolkits publish the list above three types
    // only), may carry files: of which types cannot be told before the drop.
    m_carries = true;
}

std::optional<QByteArray> X11DragProbe::convert(xcb_atom_t target, xcb_atom_t* type)
{
    xcb_connection_t* c = m_x->get();
    const xcb_atom_t property = m_x->atom(answerProperty);
    m_answer.reset();
    m_awaited = target;
    xcb_convert_selection(c, m_window, m_x->atom("XdndSelection"), target, property, XCB_CURRENT_TIME);
    xcb_flush(c);

    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(answerWaitMs);
    m_x->dispatchPending();
    while (!m_answer && m_x->isAlive()) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            break;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        if (::poll(&fd, 1, int(left)) < 0 && errno != EINTR)
            break;
        m_x->dispatchPending();
    }
    m_awaited = XCB_ATOM_NONE;
    if (!m_answer || m_answer->property == XCB_ATOM_NONE)
        return std::nullopt;

    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 1, m_window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr));
    // An answer sent in pieces (INCR) is far beyond any list of files.
    if (!reply || reply->type == m_x->atom("INCR"))
        return std::nullopt;
    if (type)
        *type = reply->type;
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QStringList X11DragProbe::atomNames(const xcb_atom_t* atoms, int count)
{
    xcb_connection_t* c = m_x->get();
    std::vector<xcb_get_atom_name_cookie_t> cookies;
    for (int i = 0; i < count; ++i)
        cookies.push_back(xcb_get_atom_name(c, atoms[i]));
    QStringList names;
    for (const auto& cookie : cookies) {
        XcbReply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, cookie, nullptr));
        if (!reply)
            continue;
        const QString name = QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                                 xcb_get_atom_name_name_length(reply.get()));
        // MIME types only, not the selection's own targets (TARGETS, TIMESTAMP...).
        if (name.contains(QLatin1Char('/')) && !names.contains(name))
            names.push_back(name);
    }
    return names;
}

QStringList X11DragProbe::ownerTypeList()
{
    xcb_connection_t* c = m_x->get();
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, m_owner, m_x->atom("XdndTypeList"), XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return {};
    return atomNames(static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get())),
                     xcb_get_property_value_length(reply.get()) / 4);
}

} // namespace quillon::platform::linux_
