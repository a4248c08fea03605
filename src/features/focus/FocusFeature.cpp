#include "features/focus/FocusFeature.h"

#include <algorithm>
#include <cmath>

namespace quillon {

FocusFeature::FocusFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Focus"))
    , m_settings(settings)
{
}

void FocusFeature::applyAlpha(double alpha)
{
    if (std::isnan(alpha))
        return;
    m_alpha = std::clamp(alpha, 0.0, 1.0);
}

} // namespace quillon
