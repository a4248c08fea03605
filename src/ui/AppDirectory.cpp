#include "ui/AppDirectory.h"

#include "platform/AppDirectory.h"
#include "platform/Platform.h"
#include "platform/Workspace.h"

#include <QCollator>
#include <QCoreApplication>
#include <QCollatorSortKey>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace quillon {

std::vector<AppDirectory::InstalledApp> AppDirectory::installedApps()
{
    std::vector<InstalledApp> apps;
    std::set<QString> seen;
    for (const auto& entry : platform::platform().appDirectory().entries()) {
        if (!entry.shownInMenus || entry.appId.isEmpty() || !seen.insert(entry.appId).second)
            continue;
        apps.push_back({entry.appId, entry.name.isEmpty() ? entry.appId : entry.name, entry.path, false});
    }
    return apps;
}

std::vector<AppDirectory::InstalledApp> AppDirectory::runningDockApps()
{
    std::vector<InstalledApp> apps;
    // Our own settings window makes this process look like an ordinary app;
    // it is the tray's, not one of the person's.
    const qint64 ours = QCoreApplication::applicationPid();
    for (const auto& app : platform::platform().workspace().runningApps()) {
        if (!app.regular || app.appId.isEmpty() || app.pid == ours)
            continue;
        apps.push_back({app.appId, app.name, {}, true});
    }
    std::stable_sort(apps.begin(), apps.end(), [](const InstalledApp& a, const InstalledApp& b) {
        return a.name.normalized(QString::NormalizationForm_C) <
               b.name.normalized(QString::NormalizationForm_C);
    });
    return apps;
}

std::vector<AppDirectory::InstalledApp> AppDirectory::pickable(const std::set<QString>& excluding)
{
    std::vector<InstalledApp> apps = installedApps();
    for (const auto& running : runningDockApps()) {
        const auto it = std::find_if(apps.begin(), apps.end(),
                                     [&](const InstalledApp& a) { return a.bundleID == running.bundleID; });
        if (it != apps.end()) {
            it->isRunning = true;
            continue;
        }
        apps.push_back(
            {running.bundleID, running.name.isEmpty() ? running.bundleID : running.name, {}, true});
    }
    std::erase_if(apps, [&](const InstalledApp& a) { return excluding.count(a.bundleID) > 0; });
    return filter(apps, {});
}

std::vector<AppDirectory::InstalledApp> AppDirectory::filter(const std::vector<InstalledApp>& apps,
                                                             const QString& query)
{
    const QString needle = query.trimmed();
    struct Keyed {
        const InstalledApp* app;
        QCollatorSortKey key;
    };
    // The C locale collates by code point and ignores numeric mode, so a
    // session without a language still gets "App 2" before "App 10".
    const QLocale locale = QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<Keyed> kept;
    kept.reserve(apps.size());
    for (const auto& app : apps) {
        if (needle.isEmpty() || app.name.contains(needle, Qt::CaseInsensitive) ||
            app.bundleID.contains(needle, Qt::CaseInsensitive))
            kept.push_back({&app, collator.sortKey(app.name)});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Keyed& a, const Keyed& b) {
        if (a.app->isRunning != b.app->isRunning)
            return a.app->isRunning;
        return a.key.compare(b.key) < 0;
    });
    std::vector<InstalledApp> result;
    result.reserve(kept.size());
    for (const auto& k : kept)
        result.push_back(*k.app);
    return result;
}

AppDirectory::Resolved AppDirectory::resolve(const QString& bundleID)
{
    auto& workspace = platform::platform().workspace();
    for (const auto& app : workspace.runningApps()) {
        if (app.appId == bundleID) {
            const QIcon icon = workspace.icon(app);
            return {app.name.isEmpty() ? bundleID : app.name,
                    icon.isNull() ? std::nullopt : std::optional<QIcon>(icon)};
        }
    }
    if (const auto entry = platform::platform().appDirectory().entry(bundleID)) {
        std::optional<QIcon> icon;
        if (!entry->icon.isEmpty()) {
            const QIcon found =
                QFileInfo(entry->icon).isAbsolute() ? QIcon(entry->icon) : QIcon::fromTheme(entry->icon);
            if (!found.isNull())
                icon = found;
        }
        return {entry->name.isEmpty() ? bundleID : entry->name, icon};
    }
    return {bundleID, std::nullopt};
}

} // namespace quillon
