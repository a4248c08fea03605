#pragma once

#include "platform/WindowManagerPrefs.h"

#include <QString>
#include <memory>

namespace quillon::platform::linux_ {

class X11Connection;

/// The window manager's own edge tiling, read where each keeps it: Mutter's
/// GSettings (from dconf's local database), KWin's kwinrc and Xfwm4's xfconf
/// channel file. An unreadable value takes that window manager's default,
/// which is on for all three.
class X11WindowManagerPrefs final : public WindowManagerPrefs {
public:
    /// `configHome` is $XDG_CONFIG_HOME.
    explicit X11WindowManagerPrefs(QString configHome);
    ~X11WindowManagerPrefs() override;

    std::optional<bool> edgeTilingEnabled() override;

    /// The answer for a window manager of that name (_NET_WM_NAME). None for
    /// one not listed. `schemaDir`, when given, is where to find the GNOME
    /// schemas instead of the system's.
    static std::optional<bool> forWindowManager(const QString& name, const QString& configHome,
                                                const std::optional<QString>& schemaDir = std::nullopt);
    static std::optional<bool> mutterEdgeTiling(const std::optional<QString>& schemaDir);
    static bool kwinEdgeTiling(const QString& configHome);
    static bool xfwmEdgeTiling(const QString& configHome);

private:
    QString windowManagerName();

    QString m_configHome;
    std::unique_ptr<X11Connection> m_x;
    bool m_triedX = false;
};

} // namespace quillon::platform::linux_
