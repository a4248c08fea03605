#include "features/clipboard/ClipboardFeature.h"

#include "support/AppFiles.h"

namespace quillon {

ClipboardFeature::ClipboardFeature(Settings& settings, ModifierWatcher& modifiers)
    : BasicFeature(QStringLiteral("Clipboard"))
    , m_settings(settings)
    , m_modifiers(modifiers)
    , m_store(AppFiles::root() + QStringLiteral("/Clipboard.json"),
              AppFiles::root() + QStringLiteral("/ClipboardPins.json"))
{
}

} // namespace quillon
