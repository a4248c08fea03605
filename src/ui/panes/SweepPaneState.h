#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace quillon {

class Settings;

/// What the Sweep pane shows, read from the store and whether the window
/// manager reports workspaces.
struct SweepPaneState {
    /// The "Quit delay" entries, in seconds.
    static constexpr std::array<double, 4> delayChoices{0.5, 1, 2, 5};

    /// The headers of the sections, in order.
    QStringList sections;
    /// "Limited window detection …": only while workspaces are unknown.
    bool showsDetectionWarning = false;
    /// The "Quit delay" entries' titles, in the order of `delayChoices`.
    QStringList delayTitles;
    /// The index of the stored delay; none for a value that is not a choice.
    std::optional<int> delayIndex;
    /// "Mode": 0 "Quit all except listed", 1 "Quit only listed".
    int modeIndex = 0;
    /// "Detection": 0 "Efficient", 1 "Thorough".
    int strategyIndex = 0;
    QString strategySubtitle;
    QString listHeader;
    /// Empty in the "onlyListed" mode.
    QString listFooter;
    bool showsListWarning = false;
    /// The listed apps of the current mode, each once, in ascending order.
    QStringList apps;

    static SweepPaneState read(const Settings& settings, bool workspacesResolved);
    bool operator==(const SweepPaneState&) const = default;
};

} // namespace quillon
