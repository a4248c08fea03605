#pragma once

#include "app/Feature.h"
#include "features/snap/EdgeSnapMonitor.h"
#include "features/snap/MouseSnapMonitor.h"
#include "features/snap/SnapHotKeys.h"
#include "features/snap/SnapPosition.h"
#include "features/snap/WindowSnapper.h"
#include "platform/KeyFlags.h"
#include "platform/MainQueue.h"

#include <functional>
#include <memory>

namespace quillon {

class DragWatcher;
class HotKeyWatcher;
class ModifierWatcher;
class Settings;

/// Window snapping by hot keys, edge drags and the mouse dial. Its three
/// parts follow "snap.keyboardShortcuts", "snap.onDrag" and "snap.mouseSnap"
/// each time it is activated; the Super+Alt chord shows the snap hints and
/// opens the dial.
class SnapFeature final : public Feature {
public:
    SnapFeature(Settings& settings, ModifierWatcher& modifiers, DragWatcher& drag, HotKeyWatcher& hotKeys);
    ~SnapFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// Every snap ends here; the Snap pane's rows call it too.
    WindowSnapper& snapper() { return m_snapper; }
    SnapHotKeys& hotKeys() { return m_hotKeys; }
    EdgeSnapMonitor& edgeSnap() { return m_edgeSnap; }
    MouseSnapMonitor& mouseSnap() { return m_mouseSnap; }
    bool isWatchingChord() const { return m_chordWatch; }

    /// Exactly Super and Alt among Shift, Ctrl, Alt and Super.
    static bool isChord(platform::EventFlags flags) { return (flags & 0x1E0000) == 0xC0000; }

    /// A snap made by a keyboard shortcut, with its position.
    std::function<void(SnapPosition)> onShortcut;
    /// A moment after the snap chord goes down: whether the focused window
    /// can be snapped.
    std::function<void(bool)> onChordHold;
    /// The snap chord was released.
    std::function<void()> onChordRelease;

private:
    void applySubToggles();
    void stopFlagsMonitor();
    void chordChanged(platform::EventFlags flags);
    void holdElapsed();

    Settings& m_settings;
    ModifierWatcher& m_modifiers;
    WindowSnapper m_snapper;
    SnapHotKeys m_hotKeys;
    EdgeSnapMonitor m_edgeSnap;
    bool m_active = false;
    MouseSnapMonitor m_mouseSnap;
    platform::WorkItem m_mouseHold;
    bool m_chordHeld = false;
    bool m_chordWatch = false;
    std::shared_ptr<SnapFeature*> m_self;
};

} // namespace quillon
