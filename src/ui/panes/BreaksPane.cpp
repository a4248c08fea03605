#include "ui/panes/BreaksPane.h"

#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/AppIdChips.h"
#include "ui/panes/PaneKit.h"

#include <QVBoxLayout>
#include <algorithm>

namespace quillon {

namespace {

template <std::size_t N> std::optional<int> chosen(const std::array<int, N>& choices, qint64 stored)
{
    if (std::find(choices.begin(), choices.end(), stored) == choices.end())
        return std::nullopt;
    return int(stored);
}

template <std::size_t N>
std::vector<std::pair<QString, int>> entries(const std::array<int, N>& choices, const QString& unit)
{
    std::vector<std::pair<QString, int>> result;
    for (const int value : choices)
        result.emplace_back(QStringLiteral("%1 %2").arg(value).arg(unit), value);
    return result;
}

QStringList excluded(const Settings& settings)
{
    const QSet<QString> apps = settings.breaksExcludedApps();
    QStringList list(apps.begin(), apps.end());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

BreaksPaneState BreaksPane::state(const Settings& settings)
{
    return {chosen(workIntervalChoices, settings.breaksWorkIntervalMinutes()),
            chosen(breakLengthChoices, settings.breaksBreakSeconds()), excluded(settings)};
}

BreaksPane::BreaksPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    using BoolPath = Settings::KeyPath<bool>;
    Settings& settings = model.features.settings;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::breaks,
        helpRows({
            {"20-20-20", "every 20 minutes, look 20 feet away for 20 seconds — that's the schedule below"},
            {"At break time", "the screen blurs with a countdown; Skip Break ends it, Snooze 5m pushes it back, "
                              "and pressing Esc twice also gets you out"},
            {"It waits for you", "a break never lands while you're mid-sentence or watching video, and time away "
                                 "from the Mac already counts as one"},
        })));

    auto* schedule = new FormSection(QStringLiteral("Schedule"));
    m_work = new ChoiceBox(QStringLiteral("Work interval"));
    m_work->setChoices(entries(workIntervalChoices, QStringLiteral("minutes")));
    // The setter ignores the value already stored: choosing it again notifies nobody.
    connect(m_work, &QComboBox::activated, this,
            [this, &settings](int index) { settings.setBreaksWorkIntervalMinutes(m_work->tagAt(index)); });
    schedule->addLabeledRow(new RowLabel(QStringLiteral("Work interval"),
                                         QStringLiteral("mid-cycle changes re-aim the running schedule")),
                            m_work);
    m_break = new ChoiceBox(QStringLiteral("Break length"));
    m_break->setChoices(entries(breakLengthChoices, QStringLiteral("seconds")));
    connect(m_break, &QComboBox::activated, this,
            [this, &settings](int index) { settings.setBreaksBreakSeconds(m_break->tagAt(index)); });
    schedule->addLabeledRow(QStringLiteral("Break length"), m_break);
    m_sections << schedule;

    auto* behavior = new FormSection(QStringLiteral("Behavior"));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Pre-break warning"), QStringLiteral("a \"1m\" notch chip a minute out")),
        model.bind(BoolPath{&Settings::breaksPreWarn, &Settings::setBreaksPreWarn}));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Smart deferral"),
                     QStringLiteral("away time is credited silently; typing or video pushes a break back")),
        model.bind(BoolPath{&Settings::breaksSmartDefer, &Settings::setBreaksSmartDefer}));
    behavior->addToggleRow(new RowLabel(QStringLiteral("Delayed skip"),
                                        QStringLiteral("Skip is disabled for the first 5 seconds of a break")),
                           model.bind(BoolPath{&Settings::breaksDelayedSkip, &Settings::setBreaksDelayedSkip}));
    m_sections << behavior;

    auto* apps = new FormSection(
        QStringLiteral("Excluded apps (defer while frontmost)"),
        QStringLiteral("A break waits while one of these is the app you're in — including one you switch to "
                       "while the countdown is running. Works whether or not Smart deferral is on."));
    m_excluded = new AppIdChips([&settings] { return excluded(settings); },
                                [&settings](const QString& id) { settings.toggleBreaksExcludedApp(id); });
    apps->addRow(m_excluded);
    m_sections << apps;

    m_sections << shortcutSection(SettingsPane::breaks, QStringLiteral("Toggle Breaks"));
    placeForm(*this, form, m_sections);
}

void BreaksPane::reload()
{
    PaneView::reload();
    const BreaksPaneState now = state(model().features.settings);
    m_work->select(now.workInterval);
    m_break->select(now.breakSeconds);
}

} // namespace quillon
