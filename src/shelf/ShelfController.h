#pragma once

#include <QList>
#include <QUrl>

namespace quillon {

/// The shelf at the notch: opens while files are dragged towards it, holds
/// the dropped files and hands them on.
///
/// Only what the application delegate drives is here yet.
class ShelfController {
public:
    /// While set (a break overlay covers the screen), the shelf does not open.
    bool suppressed = false;

    /// Closes the open shelf.
    void collapse() {}
    /// The shelf chord: adds the file manager's selection; answers whether
    /// anything was added.
    bool hotkeyInvoked() { return false; }
    /// Adds the files to the shelf as one item.
    void add(const QList<QUrl>& urls) { (void)urls; }
};

} // namespace quillon
