#include "features/swipe/SwipeFeature.h"

namespace quillon {

SwipeFeature::SwipeFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Swipe"))
    , m_settings(settings)
{
}

} // namespace quillon
