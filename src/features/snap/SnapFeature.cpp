#include "features/snap/SnapFeature.h"

#include "features/snap/AXWindow.h"
#include "input/ModifierWatcher.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Log.h"

namespace quillon {

namespace {

QString yesNo(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

SnapFeature::SnapFeature(Settings& settings, ModifierWatcher& modifiers, DragWatcher& drag,
                         HotKeyWatcher& hotKeys)
    : m_settings(settings)
    , m_modifiers(modifiers)
    , m_hotKeys(hotKeys)
    , m_edgeSnap(drag)
    , m_self(std::make_shared<SnapFeature*>(this))
{
    m_hotKeys.onSnap = [this](SnapPosition position) {
        m_snapper.snap(position);
        m_mouseSnap.cleanup();
        if (onShortcut)
            onShortcut(position);
    };
    m_edgeSnap.onSnap = [this](SnapPosition position, int32_t pid) { m_snapper.snap(position, pid); };
    m_mouseSnap.onSnap = [this](SnapPosition position) { m_snapper.snap(position); };
}

SnapFeature::~SnapFeature()
{
    m_self.reset();
    m_mouseHold.cancel();
    m_modifiers.remove(this);
}

void SnapFeature::activate()
{
    m_active = true;
    applySubToggles();
    Log::debug([&] {
        return QStringLiteral("Snap active (shortcuts: ") + yesNo(m_settings.snapKeyboardShortcuts()) +
               QStringLiteral(", drag: ") + yesNo(m_settings.snapOnDrag()) + QStringLiteral(")");
    });
}

void SnapFeature::applySubToggles()
{
    if (m_settings.snapKeyboardShortcuts())
        m_hotKeys.registerAll();
    else
        m_hotKeys.unregisterAll();
    if (m_settings.snapOnDrag())
        m_edgeSnap.start();
    else
        m_edgeSnap.stop();
    if (m_settings.snapMouseSnap() || m_settings.notchSnapHints()) {
        std::weak_ptr<SnapFeature*> weak = m_self;
        m_modifiers.add(this, [weak](platform::EventFlags flags) {
            if (const auto self = weak.lock())
                (*self)->chordChanged(flags);
        });
        m_chordWatch = true;
    } else {
        stopFlagsMonitor();
    }
}

void SnapFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    m_hotKeys.unregisterAll();
    m_edgeSnap.stop();
    stopFlagsMonitor();
    m_snapper.clear();
    Log::debug("Snap deactivated");
}

// Only a watch that was installed has a chord to let go of: telling the
// delegate otherwise would drop whatever hint row another chord shows, on
// every settings change.
void SnapFeature::stopFlagsMonitor()
{
    m_modifiers.remove(this);
    m_mouseHold.cancel();
    m_mouseHold = {};
    m_chordHeld = false;
    m_mouseSnap.cleanup();
    const bool wasWatching = m_chordWatch;
    m_chordWatch = false;
    if (wasWatching && onChordRelease)
        onChordRelease();
}

void SnapFeature::chordChanged(platform::EventFlags flags)
{
    const bool held = isChord(flags);
    if (held == m_chordHeld)
        return;
    m_chordHeld = held;
    m_mouseHold.cancel();
    m_mouseHold = {};
    if (!held) {
        if (const auto sector = m_mouseSnap.pendingSector()) {
            Log::debug([&] { return QStringLiteral("MouseSnapMonitor: snap ") + caseName(*sector); });
            if (m_mouseSnap.onSnap)
                m_mouseSnap.onSnap(*sector);
        }
        m_mouseSnap.cleanup();
        if (onChordRelease)
            onChordRelease();
        return;
    }
    std::weak_ptr<SnapFeature*> weak = m_self;
    m_mouseHold = platform::platform().mainQueue().after(m_settings.notchHintDelay(), [weak] {
        if (const auto self = weak.lock())
            (*self)->holdElapsed();
    });
}

void SnapFeature::holdElapsed()
{
    const auto window = AXWindow::focused();
    const bool snappable = window && window->isResizable();
    if (onChordHold)
        onChordHold(snappable);
    if (snappable && m_settings.snapMouseSnap() && !m_mouseSnap.isOpen())
        m_mouseSnap.begin();
}

} // namespace quillon
