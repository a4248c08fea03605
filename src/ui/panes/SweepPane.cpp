#include "ui/panes/SweepPane.h"

#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"
#include "windows/SweepStrategy.h"
#include "windows/WindowSpaces.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

SweepPaneState SweepPane::currentState() const
{
    return SweepPaneState::read(model().features.settings, WindowSpaces::shared().symbolsResolved());
}

SweepPane::SweepPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    using BoolPath = Settings::KeyPath<bool>;
    Settings& settings = model.features.settings;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::sweep,
        helpRows({
            {"The list", "“Quit all except listed” is the safe start — add anything you want left running; “Quit "
                         "only listed” touches nothing else"},
            {"It never guesses", "an app is quit only after a re-count confirms it has no windows left on any "
                                 "Space, and it's an ordinary quit, so unsaved work still prompts you"},
        })));

    auto* behavior = new FormSection(QStringLiteral("Behavior"));
    m_detectionWarning = new WarningRow(
        QStringLiteral("Limited window detection (the window manager does not report workspaces) — an app "
                       "fullscreen on another workspace may be quit when its last visible window closes."));
    behavior->addRow(m_detectionWarning);
    m_delay = new ChoiceBox(QStringLiteral("Quit delay"));
    {
        std::vector<std::pair<QString, int>> entries;
        const SweepPaneState now = currentState();
        for (int i = 0; i < now.delayTitles.size(); ++i)
            entries.emplace_back(now.delayTitles[i], i);
        m_delay->setChoices(entries);
    }
    // The setter ignores the value already stored: choosing it again notifies nobody.
    connect(m_delay, &QComboBox::activated, this, [this, &settings](int index) {
        settings.setQuitDelay(SweepPaneState::delayChoices[std::size_t(m_delay->tagAt(index))]);
    });
    behavior->addLabeledRow(
        new RowLabel(QStringLiteral("Quit delay"), QStringLiteral("after an app's last window closes")), m_delay);
    m_mode = new SegmentedControl({QStringLiteral("Quit all except listed"), QStringLiteral("Quit only listed")});
    m_mode->setAccessibleName(QStringLiteral("Mode"));
    connect(m_mode, &SegmentedControl::chosen, this, [this, &settings](int index) {
        if (index == currentState().modeIndex)
            return;
        settings.set(index == 1 ? QStringLiteral("onlyListed") : QStringLiteral("excludeListed"),
                     SettingsKeys::sweepListMode);
    });
    behavior->addLabeledRow(QStringLiteral("Mode"), m_mode);
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Keep self-backgrounding apps"),
                     QStringLiteral("don't quit an app that keeps running in the tray when its window closes")),
        model.bind(BoolPath{&Settings::keepSelfBackgroundedApps, &Settings::setKeepSelfBackgroundedApps}));
    behavior->addToggleRow(new RowLabel(QStringLiteral("Show quit chips in the notch"),
                                        QStringLiteral("a brief chip naming each app Sweep quits")),
                           model.bind(BoolPath{&Settings::sweepQuitChips, &Settings::setSweepQuitChips}));
    m_sections << behavior;

    auto* detection = new FormSection(
        QStringLiteral("Detection"),
        QStringLiteral("Both are equally safe — an app is quit only after a window re-count confirms it has none. "
                       "They differ only in how often Quillon is woken to check."));
    m_strategy = new SegmentedControl({QStringLiteral("Efficient"), QStringLiteral("Thorough")});
    m_strategy->setAccessibleName(QStringLiteral("Detection"));
    connect(m_strategy, &SegmentedControl::chosen, this, [this, &settings](int index) {
        if (index == currentState().strategyIndex)
            return;
        settings.set(rawValue(index == 1 ? SweepStrategy::thorough : SweepStrategy::efficient),
                     SettingsKeys::sweepStrategy);
    });
    m_strategyLabel = new RowLabel(QStringLiteral("Detection"), QStringLiteral(" "));
    detection->addLabeledRow(m_strategyLabel, m_strategy);
    m_sections << detection;

    m_list = new FormSection(QStringLiteral(" "), QStringLiteral(" "));
    m_apps = new AppChipsRow({}, {}, {}, [&settings](const QString& id) { settings.toggleListedApp(id); });
    m_list->addRow(m_apps);
    m_listWarning = new WarningRow(QStringLiteral("Any app not listed here quits the moment you close its last "
                                                  "window — an ordinary quit, so unsaved work still prompts you."));
    m_list->addRow(m_listWarning);
    m_sections << m_list;

    placeForm(*this, form, m_sections);
}

void SweepPane::reload()
{
    PaneView::reload();
    const SweepPaneState now = currentState();
    m_detectionWarning->setVisible(now.showsDetectionWarning);
    m_delay->select(now.delayIndex);
    m_mode->setSelectedIndex(now.modeIndex);
    m_strategy->setSelectedIndex(now.strategyIndex);
    m_strategyLabel->subLabel()->setText(now.strategySubtitle);
    m_list->headerLabel()->setText(now.listHeader);
    m_list->footerLabel()->setText(now.listFooter);
    m_list->footerLabel()->setVisible(!now.listFooter.isEmpty());
    m_listWarning->setVisible(now.showsListWarning);
    m_apps->setBundleIDs(now.apps);
}

} // namespace quillon
