#pragma once

#include "platform/KeyFlags.h"

namespace quillon {

/// The keys of the open shelf, as a plain table: what a press does and
/// whether it is taken from the focused window.
namespace ShelfKeys {

enum class Action {
    none,
    /// The strip's send, copy and zip buttons, clicked as by the pointer.
    airDrop,
    copy,
    zip,
    quickLook,
    removeSelection,
    closePreview,
    collapse,
    selectAll,
    copyFiles,
    cutFiles,
};

/// What the table reads of the shelf, taken on the main thread.
struct State {
    /// The panel and its view exist.
    bool open = false;
    bool collapsing = false;
    /// The cards' drag-out runs, and when the last one ended (uptime).
    bool draggingOut = false;
    double dragOutEndedAt = -1e9;
    bool airDropVisible = false;
    bool copyVisible = false;
    bool zipVisible = false;
    /// The preview window shows.
    bool previewVisible = false;
};

struct Decision {
    bool consumed = false;
    Action action = Action::none;
    bool operator==(const Decision&) const = default;
};

/// Keys just after a drag-out belong to wherever the files went.
inline constexpr double dragOutQuiet = 0.3;

/// A press of `code` with `flags` held, at uptime `now`.
Decision decide(int code, platform::EventFlags flags, const State& state, double now);

} // namespace ShelfKeys

} // namespace quillon
