#pragma once

#include <QIcon>
#include <QString>
#include <optional>
#include <set>
#include <vector>

namespace quillon {

/// Installed and running applications as the settings panes' pickers and
/// chips see them. A bundle identifier is a desktop application id. Every
/// call asks the platform again; its directory keeps its own watched cache.
class AppDirectory {
public:
    AppDirectory() = delete;

    struct InstalledApp {
        QString bundleID;
        QString name;
        /// The desktop entry's path; empty for a running app without one.
        QString url;
        bool isRunning = false;

        bool operator==(const InstalledApp&) const = default;
    };

    struct Resolved {
        QString name;
        std::optional<QIcon> icon;
    };

    /// Entries shown in menus, in the directory's order (the user's copy first).
    static std::vector<InstalledApp> installedApps();
    /// Regular running apps with an app id, by name in code-point order after NFC.
    static std::vector<InstalledApp> runningDockApps();
    /// Installed and running apps merged, without `excluding`, sorted for a picker.
    static std::vector<InstalledApp> pickable(const std::set<QString>& excluding);
    /// The apps whose name or id contains the trimmed query, running first,
    /// then by name in the locale's numeric order; stable.
    static std::vector<InstalledApp> filter(const std::vector<InstalledApp>& apps, const QString& query);
    static Resolved resolve(const QString& bundleID);
};

} // namespace quillon
