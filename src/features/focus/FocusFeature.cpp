#include "features/focus/FocusFeature.h"

namespace quillon {

FocusFeature::FocusFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Focus"))
    , m_settings(settings)
{
}

} // namespace quillon
