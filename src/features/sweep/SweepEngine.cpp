#include "features/sweep/SweepEngine.h"

namespace quillon {

SweepEngine::SweepEngine(Settings& settings)
    : BasicFeature(QStringLiteral("Sweep"))
    , m_settings(settings)
{
}

} // namespace quillon
