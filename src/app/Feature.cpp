#include "app/Feature.h"

#include "support/Log.h"

namespace quillon {

void BasicFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    Log::debug([&] { return m_label + QStringLiteral(": activated"); });
}

void BasicFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    Log::debug([&] { return m_label + QStringLiteral(": deactivated"); });
}

} // namespace quillon
