#pragma once

#include "platform/WindowControl.h"
#include "platform/linux/X11Connection.h"

#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace quillon::platform::linux_ {

/// What Ewmh::clients() reads of each client window. Fields that were not
/// asked for, or could not be read, stay empty.
struct ClientInfo {
    enum Field : unsigned {
        Pid = 1u << 0,
        Type = 1u << 1,      // types, transientFor
        State = 1u << 2,     // states
        Desktop = 1u << 3,   // desktop
        Opacity = 1u << 4,   // opacity
        Frame = 1u << 5,     // frame, viewable
        Title = 1u << 6,     // title
        AppHints = 1u << 7,  // wmInstance, wmClass, gtkApplicationId, kdeDesktopFile
    };

    xcb_window_t window = XCB_WINDOW_NONE;
    /// The window still exists (known only when Frame was read).
    bool exists = true;
    std::optional<int32_t> pid;
    /// _NET_WM_WINDOW_TYPE, most preferred first; empty when the client set none.
    std::vector<xcb_atom_t> types;
    std::optional<xcb_window_t> transientFor;
    std::vector<xcb_atom_t> states;
    std::optional<uint32_t> desktop;
    std::optional<uint32_t> opacity;
    /// The visible frame in root coordinates: the client geometry plus the
    /// window manager's decorations (_NET_FRAME_EXTENTS), less the shadow a
    /// client with its own decorations draws inside its area
    /// (_GTK_FRAME_EXTENTS). Bounds of the window list and of window control
    /// agree because both read it here.
    std::optional<QRect> frame;
    /// The two extents as read (left, right, top, bottom); zero when unset.
    std::array<int, 4> frameExtents{};
    std::array<int, 4> gtkFrameExtents{};
    bool viewable = false;
    std::optional<QString> title;
    QString wmInstance;
    QString wmClass;
    QString gtkApplicationId;
    QString kdeDesktopFile;

    bool hasState(xcb_atom_t state) const;
};

/// The one helper for EWMH and ICCCM properties and client messages. Every
/// X11 implementation reads and writes window-manager state through it.
class Ewmh {
public:
    /// _NET_WM_DESKTOP of a window that shows on every desktop.
    static constexpr uint32_t allDesktops = 0xFFFFFFFFu;

    explicit Ewmh(X11Connection& connection);

    X11Connection& connection() const { return m_x; }

    /// 32-bit values of a property (CARDINAL, WINDOW, ATOM lists); empty when missing.
    std::vector<uint32_t> values32(xcb_window_t window, const char* property, xcb_atom_t type);
    std::optional<uint32_t> cardinal(xcb_window_t window, const char* property);
    std::optional<xcb_window_t> windowValue(xcb_window_t window, const char* property);
    std::vector<xcb_atom_t> atoms(xcb_window_t window, const char* property);
    /// A UTF8_STRING property (such as _NET_WM_NAME).
    std::optional<QString> utf8(xcb_window_t window, const char* property);
    /// The title: _NET_WM_NAME, else WM_NAME.
    std::optional<QString> title(xcb_window_t window);

    /// True when the window manager lists every one of `names` in _NET_SUPPORTED.
    bool supports(std::initializer_list<const char*> names);
    /// True when an EWMH window manager runs: _NET_SUPPORTING_WM_CHECK names a
    /// live window that points to itself. A window manager that died leaves
    /// the root's properties behind; this tells.
    bool windowManagerRuns();

    /// _NET_CLIENT_LIST (mapping order) or _NET_CLIENT_LIST_STACKING (bottom to
    /// top); none when the window manager publishes no such list.
    std::optional<std::vector<xcb_window_t>> clientList(bool stacking);

    /// Reads `fields` of every window with all requests sent first and the
    /// replies read after: one round trip however many windows.
    std::vector<ClientInfo> clients(const std::vector<xcb_window_t>& windows, unsigned fields);
    ClientInfo client(xcb_window_t window, unsigned fields);

    /// The processes that own `windows`, from the X server's X-Resource
    /// extension (which knows the peer of each local client), falling back to
    /// _NET_WM_PID only for clients it cannot tell: a toolkit may set no pid,
    /// or a stale one.
    std::vector<std::optional<int32_t>> pids(const std::vector<xcb_window_t>& windows);
    /// The pid a client declares in _NET_WM_PID, taken only when its
    /// WM_CLIENT_MACHINE names this host: a pid from another machine (or from
    /// a client that does not say where it runs) names some unrelated process here.
    static std::optional<int32_t> declaredPid(std::optional<uint32_t> netWmPid,
                                              const std::optional<QString>& clientMachine,
                                              const QString& localHost);

    /// The kind a client declares: the first _NET_WM_WINDOW_TYPE we know, a
    /// dialog for a window transient for another; none when it declares nothing.
    std::optional<WindowKind> kind(const ClientInfo& info);

    /// The primary monitor in root coordinates (RandR), else the whole screen.
    QRect primaryMonitor();

    /// The Space ids of a window on `desktop` among `count` desktops: index + 1,
    /// every Space for a window on all desktops, none for an unknown desktop.
    static std::vector<uint64_t> spaceIds(uint32_t desktop, uint32_t count);

    /// True while a compositing manager runs: some client owns the
    /// _NET_WM_CM_Sn selection of this screen.
    bool compositorRunning();

    /// A client message to the root window, as EWMH asks of pagers and tools.
    void sendToRoot(xcb_window_t window, const char* message, uint32_t d0 = 0, uint32_t d1 = 0, uint32_t d2 = 0,
                    uint32_t d3 = 0, uint32_t d4 = 0);

    /// A client message to the root about `window` with the timestamp of now,
    /// source indication 2 (a pager: the person asked for it).
    void activate(xcb_window_t window);
    void close(xcb_window_t window);

private:
    X11Connection& m_x;
    std::vector<std::pair<xcb_atom_t, WindowKind>> m_kindAtoms;
};

} // namespace quillon::platform::linux_
