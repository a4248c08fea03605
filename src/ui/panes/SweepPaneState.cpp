#include "ui/panes/SweepPaneState.h"

#include "settings/Settings.h"
#include "ui/TimeText.h"
#include "windows/SweepStrategy.h"

#include <algorithm>

namespace quillon {

namespace {

const char* const thoroughText = "Wakes on every window an app closes, its menus and pop-ups included, so nothing is "
                                 "missed — but busy apps wake it often. Heavier.";
const char* const efficientText = "Wakes only when an app's own windows open and close — never on menus, tooltips "
                                  "or pop-ups. Lightest; recommended.";

QStringList sorted(const QSet<QString>& apps)
{
    QStringList list(apps.begin(), apps.end());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

SweepPaneState SweepPaneState::read(const Settings& settings, bool workspacesResolved)
{
    const platform::DefaultsStore& store = settings.defaults();
    SweepPaneState state;
    state.showsDetectionWarning = !workspacesResolved;
    const double delay = settings.quitDelay();
    for (std::size_t i = 0; i < delayChoices.size(); ++i) {
        state.delayTitles << TimeText::delay(delayChoices[i]);
        if (delay == delayChoices[i])
            state.delayIndex = int(i);
    }
    // Anything but the exact raw values reads as the first case, and stays
    // stored until the person picks a segment.
    const bool onlyListed = store.stringForKey(SettingsKeys::sweepListMode) == QLatin1String("onlyListed");
    state.modeIndex = onlyListed ? 1 : 0;
    const bool thorough =
        store.stringForKey(SettingsKeys::sweepStrategy) == rawValue(SweepStrategy::thorough);
    state.strategyIndex = thorough ? 1 : 0;
    state.strategySubtitle = QString::fromUtf8(thorough ? thoroughText : efficientText);
    state.listHeader = onlyListed ? QStringLiteral("Apps to quit") : QStringLiteral("Excluded apps (never quit)");
    if (!onlyListed)
        state.listFooter = QStringLiteral("Apps here are never quit by Sweep, whether they're running now or not.");
    state.showsListWarning = !onlyListed;
    state.apps = sorted(settings.listedApps());
    state.sections = {QStringLiteral("Behavior"), QStringLiteral("Detection"), state.listHeader};
    return state;
}

} // namespace quillon
