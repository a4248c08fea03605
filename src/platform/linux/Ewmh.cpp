#include "platform/linux/Ewmh.h"

#include <QStringList>
#include <QSysInfo>
#include <xcb/randr.h>
#include <xcb/res.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillon::platform::linux_ {

namespace {

XcbReply<xcb_get_property_reply_t> property(X11Connection& x, xcb_window_t window, xcb_atom_t atom,
                                            xcb_atom_t type, uint32_t maxWords = 1u << 20)
{
    if (atom == XCB_ATOM_NONE)
        return nullptr;
    auto cookie = xcb_get_property(x.get(), 0, window, atom, type, 0, maxWords);
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(x.get(), cookie, nullptr));
}

std::vector<uint32_t> words(const xcb_get_property_reply_t* reply)
{
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE)
        return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / 4;
    return std::vector<uint32_t>(data, data + count);
}

std::optional<uint32_t> firstWord(const xcb_get_property_reply_t* reply)
{
    const auto values = words(reply);
    if (values.empty())
        return std::nullopt;
    return values.front();
}

std::optional<QString> text(const xcb_get_property_reply_t* reply, bool utf8)
{
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    const char* data = static_cast<const char*>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply);
    return utf8 ? QString::fromUtf8(data, length) : QString::fromLatin1(data, length);
}

using PropertyCookie = std::optional<xcb_get_property_cookie_t>;

PropertyCookie request(X11Connection& x, xcb_window_t window, xcb_atom_t atom, xcb_atom_t type, uint32_t maxWords)
{
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    return xcb_get_property(x.get(), 0, window, atom, type, 0, maxWords);
}

XcbReply<xcb_get_property_reply_t> replyOf(X11Connection& x, const PropertyCookie& cookie)
{
    if (!cookie)
        return nullptr;
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(x.get(), *cookie, nullptr));
}

// The cookies of one window's requests, sent before any reply is read.
struct ClientCookies {
    PropertyCookie type, transient, state, desktop, opacity, extents, gtkExtents, netName, wmName, wmClass, gtkId, kdeFile, pid, machine;
    std::optional<xcb_get_geometry_cookie_t> geometry;
    std::optional<xcb_translate_coordinates_cookie_t> origin;
    std::optional<xcb_get_window_attributes_cookie_t> attributes;
};

const std::pair<const char*, WindowKind> kindTable[] = {
    {"_NET_WM_WINDOW_TYPE_NORMAL", WindowKind::standard},
    {"_NET_WM_WINDOW_TYPE_DIALOG", WindowKind::dialog},
    {"_NET_WM_WINDOW_TYPE_UTILITY", WindowKind::utility},
    {"_NET_WM_WINDOW_TYPE_TOOLBAR", WindowKind::utility},
    {"_NET_WM_WINDOW_TYPE_MENU", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_DROPDOWN_MENU", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_POPUP_MENU", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_TOOLTIP", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_COMBO", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_DND", WindowKind::menu},
    {"_NET_WM_WINDOW_TYPE_SPLASH", WindowKind::splash},
    {"_NET_WM_WINDOW_TYPE_NOTIFICATION", WindowKind::notification},
    {"_NET_WM_WINDOW_TYPE_DOCK", WindowKind::dock},
    {"_NET_WM_WINDOW_TYPE_DESKTOP", WindowKind::desktop},
};

} // namespace

// Read from several threads: everything it caches is filled here.
Ewmh::Ewmh(X11Connection& connection)
    : m_x(connection)
{
    std::vector<const char*> names;
    for (const auto& entry : kindTable)
        names.push_back(entry.first);
    m_x.internAtoms(names);
    for (const auto& [name, kind] : kindTable)
        m_kindAtoms.emplace_back(m_x.atom(name), kind);
}

bool ClientInfo::hasState(xcb_atom_t state) const
{
    return state != XCB_ATOM_NONE && std::find(states.begin(), states.end(), state) != states.end();
}

std::vector<uint32_t> Ewmh::values32(xcb_window_t window, const char* name, xcb_atom_t type)
{
    return words(property(m_x, window, m_x.atom(name), type).get());
}

std::optional<uint32_t> Ewmh::cardinal(xcb_window_t window, const char* name)
{
    const auto values = values32(window, name, XCB_ATOM_CARDINAL);
    if (values.empty())
        return std::nullopt;
    return values.front();
}

std::optional<xcb_window_t> Ewmh::windowValue(xcb_window_t window, const char* name)
{
    const auto values = values32(window, name, XCB_ATOM_WINDOW);
    if (values.empty())
        return std::nullopt;
    return values.front();
}

std::vector<xcb_atom_t> Ewmh::atoms(xcb_window_t window, const char* name)
{
    return values32(window, name, XCB_ATOM_ATOM);
}

std::optional<QString> Ewmh::utf8(xcb_window_t window, const char* name)
{
    return text(property(m_x, window, m_x.atom(name), m_x.atom("UTF8_STRING")).get(), true);
}

std::optional<QString> Ewmh::title(xcb_window_t window)
{
    if (auto name = utf8(window, "_NET_WM_NAME"))
        return name;
    auto reply = property(m_x, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
    return text(reply.get(), reply && reply->type == m_x.atom("UTF8_STRING"));
}

bool Ewmh::supports(std::initializer_list<const char*> names)
{
    const auto supported = atoms(m_x.root(), "_NET_SUPPORTED");
    return std::all_of(names.begin(), names.end(), [&](const char* name) {
        return std::find(supported.begin(), supported.end(), m_x.atom(name)) != supported.end();
    });
}

bool Ewmh::compositorRunning()
{
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(m_x.screenNumber());
    const xcb_atom_t selection = m_x.atom(name.constData());
    if (selection == XCB_ATOM_NONE)
        return false;
    auto cookie = xcb_get_selection_owner(m_x.get(), selection);
    XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(m_x.get(), cookie, nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

bool Ewmh::windowManagerRuns()
{
    const auto check = windowValue(m_x.root(), "_NET_SUPPORTING_WM_CHECK");
    return check && *check != XCB_WINDOW_NONE && windowValue(*check, "_NET_SUPPORTING_WM_CHECK") == check;
}

std::optional<std::vector<xcb_window_t>> Ewmh::clientList(bool stacking)
{
    auto reply = property(m_x, m_x.root(), m_x.atom(stacking ? "_NET_CLIENT_LIST_STACKING" : "_NET_CLIENT_LIST"),
                          XCB_ATOM_WINDOW);
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    return words(reply.get());
}

ClientInfo Ewmh::client(xcb_window_t window, unsigned fields) { return clients({window}, fields).front(); }

std::vector<ClientInfo> Ewmh::clients(const std::vector<xcb_window_t>& windows, unsigned fields)
{
    m_x.internAtoms({"_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "_NET_WM_DESKTOP", "_NET_WM_WINDOW_OPACITY",
                     "_NET_FRAME_EXTENTS", "_NET_WM_NAME", "UTF8_STRING", "_GTK_APPLICATION_ID",
                     "_KDE_NET_WM_DESKTOP_FILE", "_NET_WM_PID", "_GTK_FRAME_EXTENTS"});
    xcb_connection_t* c = m_x.get();
    const xcb_atom_t utf8Type = m_x.atom("UTF8_STRING");
    const bool pidsFromServer = fields & ClientInfo::Pid;
    std::vector<std::optional<int32_t>> serverPids;
    const QString localHost = pidsFromServer ? QSysInfo::machineHostName() : QString();
    const xcb_atom_t typeAtom = m_x.atom("_NET_WM_WINDOW_TYPE"), stateAtom = m_x.atom("_NET_WM_STATE"),
                     desktopAtom = m_x.atom("_NET_WM_DESKTOP"), opacityAtom = m_x.atom("_NET_WM_WINDOW_OPACITY"),
                     extentsAtom = m_x.atom("_NET_FRAME_EXTENTS"), nameAtom = m_x.atom("_NET_WM_NAME"),
                     gtkAtom = m_x.atom("_GTK_APPLICATION_ID"), kdeAtom = m_x.atom("_KDE_NET_WM_DESKTOP_FILE"),
                     pidAtom = m_x.atom("_NET_WM_PID"), gtkExtentsAtom = m_x.atom("_GTK_FRAME_EXTENTS");
    std::vector<ClientCookies> cookies(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        const xcb_window_t w = windows[i];
        auto& k = cookies[i];
        if (fields & ClientInfo::Type) {
            k.type = request(m_x, w, typeAtom, XCB_ATOM_ATOM, 64);
            k.transient = request(m_x, w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1);
        }
        if (fields & ClientInfo::State)
            k.state = request(m_x, w, stateAtom, XCB_ATOM_ATOM, 64);
        if (fields & ClientInfo::Desktop)
            k.desktop = request(m_x, w, desktopAtom, XCB_ATOM_CARDINAL, 1);
        if (fields & ClientInfo::Opacity)
            k.opacity = request(m_x, w, opacityAtom, XCB_ATOM_CARDINAL, 1);
        if (fields & ClientInfo::Frame) {
            k.extents = request(m_x, w, extentsAtom, XCB_ATOM_CARDINAL, 4);
            k.gtkExtents = request(m_x, w, gtkExtentsAtom, XCB_ATOM_CARDINAL, 4);
            k.geometry = xcb_get_geometry(c, w);
            k.origin = xcb_translate_coordinates(c, w, m_x.root(), 0, 0);
            k.attributes = xcb_get_window_attributes(c, w);
        }
        if (fields & ClientInfo::Title) {
            k.netName = request(m_x, w, nameAtom, utf8Type, 1024);
            k.wmName = request(m_x, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 1024);
        }
        if (fields & ClientInfo::AppHints) {
            k.wmClass = request(m_x, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256);
            k.gtkId = request(m_x, w, gtkAtom, utf8Type, 256);
            k.kdeFile = request(m_x, w, kdeAtom, utf8Type, 256);
        }
        if (pidsFromServer) {
            k.pid = request(m_x, w, pidAtom, XCB_ATOM_CARDINAL, 1);
            k.machine = request(m_x, w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 64);
        }
    }
    if (pidsFromServer)
        serverPids = pids(windows); // its request goes out behind the ones above

    std::vector<ClientInfo> result(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        auto& info = result[i];
        auto& k = cookies[i];
        info.window = windows[i];
        if (fields & ClientInfo::Type) {
            info.types = words(replyOf(m_x, k.type).get());
            info.transientFor = firstWord(replyOf(m_x, k.transient).get());
        }
        if (fields & ClientInfo::State)
            info.states = words(replyOf(m_x, k.state).get());
        if (fields & ClientInfo::Desktop)
            info.desktop = firstWord(replyOf(m_x, k.desktop).get());
        if (fields & ClientInfo::Opacity)
            info.opacity = firstWord(replyOf(m_x, k.opacity).get());
        if (fields & ClientInfo::Frame) {
            const auto extents = words(replyOf(m_x, k.extents).get());
            const auto gtkExtents = words(replyOf(m_x, k.gtkExtents).get());
            XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, *k.geometry, nullptr));
            XcbReply<xcb_translate_coordinates_reply_t> origin(
                xcb_translate_coordinates_reply(c, *k.origin, nullptr));
            XcbReply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, *k.attributes, nullptr));
            info.exists = attributes != nullptr;
            info.viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            if (geometry && origin) {
                QRect frame(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
                if (extents.size() == 4) {
                    info.frameExtents = {int(extents[0]), int(extents[1]), int(extents[2]), int(extents[3])};
                    frame.adjust(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
                }
                if (gtkExtents.size() == 4) {
                    info.gtkFrameExtents = {int(gtkExtents[0]), int(gtkExtents[1]), int(gtkExtents[2]),
                                            int(gtkExtents[3])};
                    frame.adjust(int(gtkExtents[0]), int(gtkExtents[2]), -int(gtkExtents[1]), -int(gtkExtents[3]));
                }
                info.frame = frame;
            }
        }
        if (fields & ClientInfo::Title) {
            info.title = text(replyOf(m_x, k.netName).get(), true);
            auto wmName = replyOf(m_x, k.wmName);
            if (!info.title)
                info.title = text(wmName.get(), wmName && wmName->type == utf8Type);
        }
        if (fields & ClientInfo::AppHints) {
            const QString wmClass = text(replyOf(m_x, k.wmClass).get(), false).value_or(QString());
            const QStringList parts = wmClass.split(QChar(0));
            info.wmInstance = parts.value(0);
            info.wmClass = parts.value(1);
            info.gtkApplicationId = text(replyOf(m_x, k.gtkId).get(), true).value_or(QString());
            info.kdeDesktopFile = text(replyOf(m_x, k.kdeFile).get(), true).value_or(QString());
        }
        if (pidsFromServer) {
            const auto declared = firstWord(replyOf(m_x, k.pid).get());
            const auto machine = text(replyOf(m_x, k.machine).get(), false);
            info.pid = serverPids[i];
            if (!info.pid)
                info.pid = declaredPid(declared, machine, localHost);
        }
    }
    return result;
}

std::vector<std::optional<int32_t>> Ewmh::pids(const std::vector<xcb_window_t>& windows)
{
    std::vector<std::optional<int32_t>> result(windows.size());
    // One query for every client's pid; each answer names the client by the
    // base of its resource ids, which every window it creates shares.
    xcb_res_client_id_spec_t all{0, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto cookie = xcb_res_query_client_ids(m_x.get(), 1, &all);
    XcbReply<xcb_res_query_client_ids_reply_t> reply(xcb_res_query_client_ids_reply(m_x.get(), cookie, nullptr));
    if (!reply)
        return result;
    const uint32_t idMask = xcb_get_setup(m_x.get())->resource_id_mask;
    QHash<uint32_t, int32_t> pidOfClient;
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem; xcb_res_client_id_value_next(&it)) {
        if (it.data->spec.mask != XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID || it.data->length < 4)
            continue;
        const uint32_t pid = *xcb_res_client_id_value_value(it.data);
        if (pid > 0)
            pidOfClient.insert(it.data->spec.client & ~idMask, int32_t(pid));
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        auto found = pidOfClient.constFind(windows[i] & ~idMask);
        if (found != pidOfClient.constEnd())
            result[i] = *found;
    }
    return result;
}

std::optional<int32_t> Ewmh::declaredPid(std::optional<uint32_t> netWmPid,
                                         const std::optional<QString>& clientMachine, const QString& localHost)
{
    if (!netWmPid || *netWmPid == 0 || *netWmPid > uint32_t(INT32_MAX))
        return std::nullopt;
    if (!clientMachine || localHost.isEmpty())
        return std::nullopt;
    QString machine = *clientMachine;
    while (machine.endsWith(QChar(0)))
        machine.chop(1);
    if (machine.compare(localHost, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return int32_t(*netWmPid);
}

std::optional<WindowKind> Ewmh::kind(const ClientInfo& info)
{
    const bool transient = info.transientFor && *info.transientFor != XCB_WINDOW_NONE;
    for (const xcb_atom_t type : info.types) {
        for (const auto& [atom, kind] : m_kindAtoms) {
            if (atom == type)
                return kind == WindowKind::standard && transient ? WindowKind::dialog : kind;
        }
    }
    if (transient)
        return WindowKind::dialog;
    return std::nullopt;
}

QRect Ewmh::primaryMonitor()
{
    const QRect screen(0, 0, m_x.screen()->width_in_pixels, m_x.screen()->height_in_pixels);
    auto cookie = xcb_randr_get_monitors(m_x.get(), m_x.root(), 1);
    XcbReply<xcb_randr_get_monitors_reply_t> reply(xcb_randr_get_monitors_reply(m_x.get(), cookie, nullptr));
    if (!reply)
        return screen;
    std::optional<QRect> first;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
        const QRect rect(it.data->x, it.data->y, it.data->width, it.data->height);
        if (it.data->primary)
            return rect;
        if (!first)
            first = rect;
    }
    return first.value_or(screen);
}

std::vector<uint64_t> Ewmh::spaceIds(uint32_t desktop, uint32_t count)
{
    if (desktop == allDesktops) {
        std::vector<uint64_t> all;
        for (uint32_t i = 0; i < count; ++i)
            all.push_back(i + 1);
        return all;
    }
    if (desktop >= count)
        return {};
    return {uint64_t(desktop) + 1};
}

void Ewmh::activate(xcb_window_t window) { sendToRoot(window, "_NET_ACTIVE_WINDOW", 2, XCB_CURRENT_TIME, 0); }

void Ewmh::close(xcb_window_t window) { sendToRoot(window, "_NET_CLOSE_WINDOW", XCB_CURRENT_TIME, 2); }

void Ewmh::sendToRoot(xcb_window_t window, const char* message, uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3,
                      uint32_t d4)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof(event));
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_x.atom(message);
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    event.data.data32[4] = d4;
    xcb_send_event(m_x.get(), 0, m_x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    m_x.flush();
}

} // namespace quillon::platform::linux_
