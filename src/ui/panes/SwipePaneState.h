#pragma once

#include <QStringList>

namespace quillon {

class Settings;

/// What the Swipe pane shows, read from the store and the Accessibility grant.
struct SwipePaneState {
    /// The headers of the sections, in order.
    QStringList sections;
    /// The Accessibility gate: only while it is not granted.
    bool showsGate = false;
    /// "Show the desktop number": 0 "In the notch", 1 "On screen", 2 "Nothing".
    int feedbackIndex = 0;

    static SwipePaneState read(const Settings& settings, bool accessibilityGranted);
    bool operator==(const SwipePaneState&) const = default;
};

} // namespace quillon
