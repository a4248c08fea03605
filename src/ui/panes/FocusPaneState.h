#pragma once

#include <QStringList>

namespace quillon {

/// What the Focus pane shows besides its slider.
struct FocusPaneState {
    /// The headers of the sections, in order.
    QStringList sections;
    /// Dimming needs a compositing window manager; without one the
    /// "Dimming" section says so first.
    bool showsCompositorWarning = false;
    /// The feature chords that toggle focus.
    QStringList chords;

    static FocusPaneState read(bool compositorRunning);
    bool operator==(const FocusPaneState&) const = default;
};

} // namespace quillon
