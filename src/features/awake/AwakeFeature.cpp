#include "features/awake/AwakeFeature.h"

#include "settings/Settings.h"

namespace quillon {

AwakeFeature::AwakeFeature(Settings& settings, BatteryMonitor& battery)
    : BasicFeature(QStringLiteral("Awake"))
    , m_settings(settings)
    , m_battery(battery)
{
}

void AwakeFeature::toggleQuick()
{
    m_settings.set(!m_settings.isAwakeEnabled(), SettingsKeys::awakeIsEnabled);
}

} // namespace quillon
