#pragma once

#include "platform/WindowServer.h"

#include <QRectF>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace quillon::FocusLayout {

/// A window on screen, in the window list's y-down global space.
struct Window {
    qulonglong id = 0;
    QRectF bounds;
};

/// A window of the on-screen list with the process that owns it.
struct Owned {
    qint64 pid = 0;
    Window window;
};

/// The window to keep bright: the owner's focused window when it is on
/// screen, else the owner's frontmost one. `onScreen` is front to back.
std::optional<qulonglong> litWindowID(std::optional<qint64> owner, std::optional<qulonglong> focused,
                                      const std::vector<Owned>& onScreen);

/// The windows to dim, front to back: everything behind the lit window, and
/// the other applications' windows in front of it. The owner's windows in
/// front of its lit one stay bright.
std::vector<Window> dimCandidates(std::optional<qulonglong> lit, std::optional<qint64> owner,
                                  const std::vector<Owned>& onScreen);

/// For each screen, the frontmost candidate that touches it: the window each
/// screen's overlay lies directly above.
std::vector<std::optional<qulonglong>> topmostWindowPerScreen(const std::vector<QRectF>& screens,
                                                              const std::vector<Window>& windows);

/// The first window of `pid` whose bounds lie within 2.0 of `frame` in each
/// of x, y, width and height: the listed window a focused frame stands for.
std::optional<qulonglong> matchFrame(const QRectF& frame, qint64 pid, const std::vector<Owned>& onScreen);

/// What one reorder knows of the desktop.
struct Facts {
    /// The window server's on-screen list, front to back.
    std::vector<platform::WindowEntry> list;
    /// Our own dimming windows, never dimmed nor lit.
    std::set<qulonglong> overlays;
    qint64 ownPid = 0;
    /// The application in front, when there is one.
    std::optional<qint64> front;
    /// One of our own ordinary windows is visible.
    bool ownWindowVisible = false;
    /// One rectangle per screen, in the list's y-down space.
    std::vector<QRectF> screens;
    /// The focused window of an owner among the listed windows; asked at
    /// most once per plan, and only when there is an owner.
    std::function<std::optional<qulonglong>(qint64 owner, const std::vector<Owned>& onScreen)> focusedWindow;
};

/// Where the overlays go.
struct Plan {
    /// The qualifying windows, front to back.
    std::vector<Owned> onScreen;
    std::optional<qint64> owner;
    /// The front application had no qualifying window.
    bool frontIsWindowless = false;
    std::optional<qulonglong> lit;
    /// Per screen, the window its overlay lies directly above; none puts the
    /// overlay behind every window.
    std::vector<std::optional<qulonglong>> anchors;
};

/// From the facts to the anchors.
Plan plan(const Facts& facts);

} // namespace quillon::FocusLayout
