#include "ui/StatusMenuModel.h"

#include "support/Config.h"
#include "ui/AwakeMenuText.h"
#include "ui/Onboarding.h"
#include "ui/TimeText.h"

#include <algorithm>

namespace quillon {

namespace {

using Entry = StatusMenuModel::Entry;
using Action = StatusMenuModel::Action;

Entry item(const QString& title, Action action, std::optional<bool> checked = std::nullopt, int tag = 0)
{
    Entry entry;
    entry.title = title;
    entry.action = action;
    entry.checked = checked;
    entry.tag = tag;
    return entry;
}

} // namespace

Entry StatusMenuModel::Entry::line()
{
    Entry entry;
    entry.separator = true;
    return entry;
}

std::vector<Entry> StatusMenuModel::awakeSubmenu(const Answers& answers)
{
    const int duration = answers.duration;
    const auto& presets = Config::awakeDurationPresetsMinutes;
    std::vector<Entry> entries;
    entries.push_back(item(QStringLiteral("No time limit"), Action::setIndefinite, duration == 0));
    entries.push_back(Entry::line());
    for (const int preset : presets)
        entries.push_back(item(TimeText::minutes(preset), Action::setDuration, duration == preset, preset));
    // A duration of the person's own shows, checked, below the presets.
    if (duration >= 1 && std::find(presets.begin(), presets.end(), duration) == presets.end())
        entries.push_back(item(TimeText::minutes(duration), Action::setDuration, true, duration));
    entries.push_back(item(QStringLiteral("Custom\u2026"), Action::pickCustomDuration));
    entries.push_back(Entry::line());
    entries.push_back(
        item(QStringLiteral("Allow Display to Sleep"), Action::toggleDisplaySleep, answers.allowsDisplaySleep));
    entries.push_back(Entry::line());
    entries.push_back(item(answers.session ? QStringLiteral("End Session Now") : QStringLiteral("Start Session"),
                           Action::toggleAwake));
    return entries;
}

std::vector<Entry> StatusMenuModel::build(const Answers& answers)
{
    std::vector<Entry> entries;
    if (const auto& tour = answers.walkthrough) {
        Entry line = item(Onboarding::menuLabel(tour->index, tour->total), Action::resumeWalkthrough);
        line.progress = Onboarding::fraction(tour->index, tour->total);
        entries.push_back(line);
        entries.push_back(Entry::line());
    }
    const bool running = answers.session.has_value();
    Entry awake = item(QStringLiteral("Keep Awake"), Action::toggleAwake, running);
    awake.submenu = awakeSubmenu(answers);
    entries.push_back(awake);
    if (running) {
        // Indented one level, as a detail of the entry above.
        Entry detail;
        detail.title = QStringLiteral("\u2003\u2003") +
                       AwakeMenuText::detail(answers.session->endsAt, answers.session->trigger, answers.now,
                                             answers.locale, answers.timeZone);
        detail.enabled = false;
        entries.push_back(detail);
    }
    entries.push_back(Entry::line());
    Entry settings = item(QStringLiteral("Settings\u2026"), Action::openSettings);
    settings.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Comma);
    entries.push_back(settings);
    if (answers.canCheckForUpdates)
        entries.push_back(item(QStringLiteral("Check for Updates\u2026"), Action::checkForUpdates));
    entries.push_back(Entry::line());
    Entry quit = item(QStringLiteral("Quit Quillon"), Action::quit);
    quit.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Q);
    entries.push_back(quit);
    return entries;
}

} // namespace quillon
