#pragma once

namespace quillon {

/// A control that shows a stored value. Its pane calls reload() on every
/// redraw; reload() only reads, and sets the control without signals, so
/// showing a value never stores it.
class Reloadable {
public:
    virtual ~Reloadable() = default;
    virtual void reload() = 0;
};

} // namespace quillon
