#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quillon {

class Settings;

/// What the Auto-Quit pane shows, read from the store.
struct AutoQuitPaneState {
    /// The "After" entries: the presets, with the stored minutes among them.
    std::vector<int> intervalChoices;
    QStringList intervalTitles;
    /// The stored minutes, at least 1.
    int minutes = 1;
    /// "Mode": 0 "Quit all except listed", 1 "Quit only listed".
    int modeIndex = 1;
    QString appsTitle;
    QString appsSubtitle;
    /// The listed apps of the current mode, each once, in ascending order.
    QStringList apps;
    /// Only in the "excludeListed" mode.
    std::optional<QString> warning;

    /// The presets 5, 15, 30 and 60, plus `storedMinutes` (read as at least
    /// 1) in its place when it is none of them.
    static std::vector<int> intervalChoicesFor(qint64 storedMinutes);
    static AutoQuitPaneState read(const Settings& settings);
    bool operator==(const AutoQuitPaneState&) const = default;
};

} // namespace quillon
