#pragma once

#include "input/OwnerHandlers.h"

#include <functional>
#include <optional>

namespace quillon {

/// The shared listener for left-button drags that start outside our own
/// windows (a file dragged from the file manager towards the notch). Handlers
/// get no event; they read the pointer position themselves.
class DragWatcher {
public:
    enum class Event {
        dragged,
        ended,
    };
    using Handler = std::function<void(Event)>;

    DragWatcher() = default;
    ~DragWatcher();
    DragWatcher(const DragWatcher&) = delete;
    DragWatcher& operator=(const DragWatcher&) = delete;

    /// Stores the handler under the owner (replacing an earlier one) and
    /// installs the drag monitor when there is none.
    void add(const void* owner, Handler handler);
    /// Drops the owner's handler; the last one to leave stops the watcher.
    void remove(const void* owner);
    /// Removes the monitor; a drag under way is forgotten without `ended`.
    void stop();

    bool isRunning() const { return m_monitor.has_value(); }

private:
    void handleDragged();
    void handleEnded();

    std::optional<int> m_monitor;
    /// Between the first `dragged` of a drag and its end.
    bool m_inDrag = false;
    OwnerHandlers<Event> m_handlers;
};

} // namespace quillon
