#include "features/breaks/BreaksFeature.h"

namespace quillon {

BreaksFeature::BreaksFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Breaks"))
    , m_settings(settings)
{
}

} // namespace quillon
