#pragma once

#include <QRectF>
#include <optional>
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

} // namespace quillon::FocusLayout
