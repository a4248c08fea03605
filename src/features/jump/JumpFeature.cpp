#include "features/jump/JumpFeature.h"

namespace quillon {

JumpFeature::JumpFeature(Settings& settings, LeaderWatcher& leader)
    : BasicFeature(QStringLiteral("Jump"))
    , m_settings(settings)
    , m_leader(leader)
{
}

} // namespace quillon
