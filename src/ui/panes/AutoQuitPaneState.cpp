#include "ui/panes/AutoQuitPaneState.h"

#include "settings/Settings.h"
#include "ui/TimeText.h"

#include <algorithm>
#include <array>
#include <limits>

namespace quillon {

namespace {

constexpr std::array<int, 4> presets{5, 15, 30, 60};

// The store keeps 64-bit integers; a pop-up entry and its wording hold an int.
int shownMinutes(qint64 stored)
{
    return int(std::clamp<qint64>(stored, 1, std::numeric_limits<int>::max()));
}

} // namespace

std::vector<int> AutoQuitPaneState::intervalChoicesFor(qint64 storedMinutes)
{
    std::vector<int> choices(presets.begin(), presets.end());
    const int minutes = shownMinutes(storedMinutes);
    if (std::find(choices.begin(), choices.end(), minutes) == choices.end()) {
        choices.push_back(minutes);
        std::sort(choices.begin(), choices.end());
    }
    return choices;
}

AutoQuitPaneState AutoQuitPaneState::read(const Settings& settings)
{
    AutoQuitPaneState state;
    state.minutes = shownMinutes(settings.autoQuitMinutes());
    state.intervalChoices = intervalChoicesFor(state.minutes);
    for (const int each : state.intervalChoices)
        state.intervalTitles << TimeText::minutes(each);
    // Only the exact raw value means "excludeListed"; anything else is the
    // safer list of apps to quit, and stays stored until the person chooses.
    const bool excludeListed =
        settings.defaults().stringForKey(SettingsKeys::autoQuitListMode) == QLatin1String("excludeListed");
    state.modeIndex = excludeListed ? 0 : 1;
    state.appsTitle = excludeListed ? QStringLiteral("Never auto-quit these") : QStringLiteral("Apps");
    state.appsSubtitle = excludeListed ? QStringLiteral("everything else is quit after it sits idle")
                                       : QStringLiteral("only these apps auto-quit; nothing else is touched");
    const QSet<QString> apps = settings.autoQuitApps();
    state.apps = QStringList(apps.begin(), apps.end());
    std::sort(state.apps.begin(), state.apps.end());
    if (excludeListed)
        state.warning = QStringLiteral("Every app you haven't used for ") + TimeText::minutes(state.minutes) +
                        QStringLiteral(" will be quit — including ones with unsaved work.");
    return state;
}

} // namespace quillon
