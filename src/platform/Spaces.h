#pragma once

#include "platform/WindowServer.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon::platform {

/// What the window manager tells about workspaces ("Spaces"), at one moment.
/// Space ids are desktop index + 1; 0 means unknown. One set of Spaces spans
/// every display.
struct SpacesSnapshot {
    /// The window manager reports workspaces, the current one and each
    /// window's; without it every answer below is empty.
    bool available = false;
    uint64_t activeSpace = 0;
    int count = 0;
    /// What is missing when not available, for the log.
    QString reason;
};

/// Workspaces. The snapshot and the window queries are safe from any thread
/// (the census asks from the sweep's queue); switching and the change
/// handlers belong to the main thread.
class Spaces {
public:
    virtual ~Spaces() = default;

    /// The state now, swapped whole whenever it changes (also when another
    /// window manager takes over).
    virtual std::shared_ptr<const SpacesSnapshot> snapshot() const = 0;
    /// The Spaces a window shows on; none when unknown.
    virtual std::optional<std::vector<uint64_t>> spacesOfWindow(WindowId window) = 0;
    /// Switches to the Space at `index` (0-based) at once; false when there is
    /// no such Space or workspaces are not available.
    virtual bool switchTo(int index) = 0;
    /// Called on the main thread after the snapshot changed.
    virtual int addChangeHandler(std::function<void()> handler) = 0;
    virtual void removeChangeHandler(int token) = 0;

    bool available() const { return snapshot()->available; }
    uint64_t activeSpace() const { return snapshot()->activeSpace; }
    int count() const { return snapshot()->count; }
    /// The Space ids in order.
    std::vector<uint64_t> displaySpaces() const
    {
        std::vector<uint64_t> ids;
        for (int i = 0; i < count(); ++i)
            ids.push_back(uint64_t(i) + 1);
        return ids;
    }
};

} // namespace quillon::platform
