#include "features/sweep/QuitPolicy.h"

#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace quillon {

QString QuitPolicy::rawValue(ListMode mode)
{
    return mode == ListMode::onlyListed ? QStringLiteral("onlyListed") : QStringLiteral("excludeListed");
}

std::optional<QuitPolicy::ListMode> QuitPolicy::listModeFromRaw(const QString& raw)
{
    if (raw == QLatin1String("excludeListed"))
        return ListMode::excludeListed;
    if (raw == QLatin1String("onlyListed"))
        return ListMode::onlyListed;
    return std::nullopt;
}

QSet<QString> QuitPolicy::systemCriticalBundleIDs()
{
    const QString fileManager = platform::platform().appDirectory().defaultFileManager();
    return fileManager.isEmpty() ? QSet<QString>() : QSet<QString>{fileManager};
}

QuitPolicy::ListMode QuitPolicy::sweepListMode(const Settings& settings)
{
    return settings.defaults().stringForKey(SettingsKeys::sweepListMode) == QLatin1String("onlyListed")
               ? ListMode::onlyListed
               : ListMode::excludeListed;
}

QuitPolicy::ListMode QuitPolicy::autoQuitListMode(const Settings& settings)
{
    return settings.defaults().stringForKey(SettingsKeys::autoQuitListMode) == QLatin1String("excludeListed")
               ? ListMode::excludeListed
               : ListMode::onlyListed;
}

bool QuitPolicy::passesList(ListMode mode, const QSet<QString>& listed, const QString& appId)
{
    return mode == ListMode::onlyListed ? listed.contains(appId) : !listed.contains(appId);
}

} // namespace quillon
