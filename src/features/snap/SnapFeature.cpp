#include "features/snap/SnapFeature.h"

namespace quillon {

SnapFeature::SnapFeature(Settings& settings, ModifierWatcher& modifiers, DragWatcher& drag,
                         HotKeyWatcher& hotKeys)
    : BasicFeature(QStringLiteral("Snap"))
    , m_settings(settings)
    , m_modifiers(modifiers)
    , m_drag(drag)
    , m_hotKeys(hotKeys)
{
}

} // namespace quillon
