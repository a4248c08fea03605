#include "platform/AppDirectory.h"

namespace quillon::platform {

namespace {

// Among several matches, an entry people see in menus beats a hidden helper entry.
std::optional<AppEntry> best(const std::vector<AppEntry>& entries, const std::function<bool(const AppEntry&)>& matches)
{
    const AppEntry* found = nullptr;
    for (const auto& entry : entries) {
        if (!matches(entry))
            continue;
        if (entry.shownInMenus)
            return entry;
        if (!found)
            found = &entry;
    }
    if (found)
        return *found;
    return std::nullopt;
}

QString lastComponent(const QString& appId) { return appId.section(QLatin1Char('.'), -1); }

} // namespace

std::optional<AppEntry> AppDirectory::entry(const QString& appId)
{
    if (appId.isEmpty())
        return std::nullopt;
    return best(entries(), [&](const AppEntry& e) { return e.appId == appId; });
}

std::optional<AppEntry> AppDirectory::identify(const AppHints& hints)
{
    if (auto e = entry(hints.gtkApplicationId))
        return e;
    QString kdeId = hints.kdeDesktopFile.section(QLatin1Char('/'), -1);
    if (kdeId.endsWith(QLatin1String(".desktop")))
        kdeId.chop(8);
    if (auto e = entry(kdeId))
        return e;

    const auto& all = entries();
    const QStringList classes = {hints.wmClass, hints.wmInstance};
    for (const QString& wmClass : classes) {
        if (wmClass.isEmpty())
            continue;
        if (auto e = best(all, [&](const AppEntry& e) { return e.startupWMClass == wmClass; }))
            return e;
    }
    for (const QString& wmClass : classes) {
        if (wmClass.isEmpty())
            continue;
        auto named = [&](const AppEntry& e) {
            return e.startupWMClass.isEmpty() && (e.appId.compare(wmClass, Qt::CaseInsensitive) == 0 ||
                                                  lastComponent(e.appId).compare(wmClass, Qt::CaseInsensitive) == 0);
        };
        if (auto e = best(all, named))
            return e;
    }
    if (!hints.executable.isEmpty()) {
        if (auto e = best(all, [&](const AppEntry& e) { return e.executable == hints.executable; }))
            return e;
    }
    return std::nullopt;
}

QString AppDirectory::appId(const AppHints& hints)
{
    if (auto e = identify(hints))
        return e->appId;
    if (!hints.executable.isEmpty())
        return hints.executable;
    return hints.wmClass.isEmpty() ? hints.wmInstance : hints.wmClass;
}

} // namespace quillon::platform
