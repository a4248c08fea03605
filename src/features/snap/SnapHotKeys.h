#pragma once

#include "features/snap/SnapPosition.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class HotKeyWatcher;

/// The 18 global hot keys of snapping: Super+Alt with the arrows, U I J K,
/// D F G E T, Return, C and BackSpace, and Super+Alt+Ctrl with Left and Right.
class SnapHotKeys {
public:
    struct Binding {
        SnapPosition position;
        /// Virtual key code (the physical key, see KeyCodes).
        int64_t keyCode;
        /// platform::HotKeyModifiers mask.
        uint32_t modifiers;
    };
    static const std::array<Binding, 18> bindings;

    explicit SnapHotKeys(HotKeyWatcher& hotKeys);
    ~SnapHotKeys();
    SnapHotKeys(const SnapHotKeys&) = delete;
    SnapHotKeys& operator=(const SnapHotKeys&) = delete;

    std::function<void(SnapPosition)> onSnap;

    /// Registers every binding once; a combination another client holds is
    /// left out (the watcher logs it) and the others still register.
    void registerAll();
    void unregisterAll();
    const std::vector<uint32_t>& ids() const { return m_ids; }

private:
    HotKeyWatcher& m_hotKeys;
    std::vector<uint32_t> m_ids;
};

} // namespace quillon
