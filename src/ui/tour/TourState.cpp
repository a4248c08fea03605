#include "ui/tour/TourState.h"

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/KeyNames.h"

#include <algorithm>

namespace quillon {

const std::vector<SettingsPane>& TourState::steps()
{
    static const std::vector<SettingsPane> tour = Onboarding::steps(SettingsPane::features());
    return tour;
}

TourState TourState::at(qint64 index, const std::vector<SettingsPane>& steps)
{
    const qint64 n = qint64(steps.size());
    const qint64 m = n + 1;
    TourState state;
    if (index < 1) {
        state.card = Onboarding::Card::welcome();
        state.title = QStringLiteral("Welcome");
    } else if (index > n) {
        state.card = Onboarding::Card::finale();
        state.title = QStringLiteral("All set");
    } else {
        const SettingsPane pane = steps[std::size_t(index - 1)];
        state.card = Onboarding::Card::step(pane);
        state.title = pane.title();
    }
    const bool finale = state.card.kind == Onboarding::Card::Kind::finale;
    const qint64 k = std::min(m, std::max<qint64>(0, std::min(index, m)) + 1);
    state.counter = finale ? QStringLiteral("Done") : QStringLiteral("%1 of %2").arg(k).arg(m);
    state.progress = Onboarding::fraction(int(std::min(m, std::max<qint64>(index, 0))), int(m));
    state.backEnabled = index >= 1;
    if (finale)
        state.buttons = {TourButton::done};
    else
        state.buttons = {TourButton::skip, TourButton::next};
    return state;
}

int TourState::stepped(qint64 index, int delta, int stepCount)
{
    const qint64 m = qint64(stepCount) + 1;
    const qint64 current = index >= 1 ? std::min(index, m) : 0;
    return int(std::max<qint64>(0, std::min(m, current + delta)));
}

qint64 TourState::storedIndex(const Settings& settings)
{
    return settings.defaults().integerForKey(SettingsKeys::onboardingIndex);
}

void TourState::step(Settings& settings, int delta, int stepCount)
{
    settings.set(platform::PlistValue(qint64(stepped(storedIndex(settings), delta, stepCount))),
                 SettingsKeys::onboardingIndex);
}

void TourState::finish(Settings& settings, bool dismissed, const std::function<void()>& onFinished,
                       int stepCount)
{
    settings.set(platform::PlistValue(qint64(stepCount) + 1), SettingsKeys::onboardingIndex);
    settings.set(platform::PlistValue(dismissed), SettingsKeys::onboardingDismissed);
    if (onFinished)
        onFinished();
}

TourDemoRow TourState::demoRow(const TourDemo& demo, const QString& title, bool featureOn,
                               const std::optional<QString>& note)
{
    TourDemoRow row;
    row.enabled = !demo.needsFeatureOn || featureOn;
    if (!row.enabled)
        row.text = QStringLiteral("Turn ") + title + QStringLiteral(" on to try it — this one opens its own window.");
    else
        row.text = note.value_or(demo.watchFor);
    row.secondary = note.has_value();
    return row;
}

bool TourState::showsPermissionBlock(SettingsPane pane, bool granted)
{
    return Onboarding::ask(pane) == Onboarding::Ask::permission && !granted;
}

QString TourState::firstKey(SettingsPane pane)
{
    const QStringList keys = pane.hotkeys();
    return keys.isEmpty() ? QString() : KeyNames::label(keys.first());
}

} // namespace quillon
