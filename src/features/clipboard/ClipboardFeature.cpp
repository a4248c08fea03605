#include "features/clipboard/ClipboardFeature.h"

namespace quillon {

ClipboardFeature::ClipboardFeature(Settings& settings, ModifierWatcher& modifiers)
    : BasicFeature(QStringLiteral("Clipboard"))
    , m_settings(settings)
    , m_modifiers(modifiers)
{
}

} // namespace quillon
