#pragma once

#include "app/Feature.h"
#include "features/snap/SnapPosition.h"

#include <functional>

namespace quillon {

class DragWatcher;
class HotKeyWatcher;
class ModifierWatcher;
class Settings;

/// Window snapping by hot keys, edge drags and the mouse dial.
class SnapFeature final : public BasicFeature {
public:
    SnapFeature(Settings& settings, ModifierWatcher& modifiers, DragWatcher& drag, HotKeyWatcher& hotKeys);

    /// A snap made by a keyboard shortcut, with its position.
    std::function<void(SnapPosition)> onShortcut;
    /// A moment after the snap chord goes down: whether the focused window
    /// can be snapped.
    std::function<void(bool)> onChordHold;
    /// The snap chord was released.
    std::function<void()> onChordRelease;

private:
    [[maybe_unused]] Settings& m_settings;
    [[maybe_unused]] ModifierWatcher& m_modifiers;
    [[maybe_unused]] DragWatcher& m_drag;
    [[maybe_unused]] HotKeyWatcher& m_hotKeys;
};

} // namespace quillon
