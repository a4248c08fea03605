#pragma once

namespace quillon {

/// Whether the window manager tiles a window dragged to a screen edge, so
/// our own drag snapping can step aside. Unknown reads as off.
class EdgeTiling {
public:
    EdgeTiling() = delete;
    static bool isEnabled();
};

} // namespace quillon
