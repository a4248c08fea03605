#include "features/autoquit/AutoQuitFeature.h"

namespace quillon {

AutoQuitFeature::AutoQuitFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Auto-Quit"))
    , m_settings(settings)
{
}

} // namespace quillon
