#include "ui/panes/AutoQuitPane.h"

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

#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

AutoQuitPane::AutoQuitPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    Settings& settings = model.features.settings;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::autoQuit,
        helpRows({
            {"Idle quit", "a listed app is quit gracefully once it has sat in the background this long — switching "
                          "back to it cancels the countdown"},
            {"Not the same as Sweep",
             "Sweep quits an app when you close its last window; this quits one you simply stopped using"},
        })));

    auto* behavior = new FormSection(QStringLiteral("Behavior"));
    m_interval = new ChoiceBox(QStringLiteral("After"));
    // The setter ignores the value already stored: choosing it again notifies nobody.
    connect(m_interval, &QComboBox::activated, this,
            [this, &settings](int index) { settings.setAutoQuitMinutes(m_interval->tagAt(index)); });
    behavior->addLabeledRow(new RowLabel(QStringLiteral("After"), QStringLiteral("idle time before quitting")),
                            m_interval);
    m_mode = new SegmentedControl({QStringLiteral("Quit all except listed"), QStringLiteral("Quit only listed")});
    m_mode->setAccessibleName(QStringLiteral("Mode"));
    connect(m_mode, &SegmentedControl::chosen, this, [&settings](int index) {
        if (index == AutoQuitPaneState::read(settings).modeIndex)
            return;
        settings.set(index == 0 ? QStringLiteral("excludeListed") : QStringLiteral("onlyListed"),
                     SettingsKeys::autoQuitListMode);
    });
    behavior->addLabeledRow(QStringLiteral("Mode"), m_mode);
    m_sections << behavior;

    auto* list = new FormSection;
    // The title follows the mode, so it sits above a chip row of its own
    // rather than inside it.
    auto* apps = new QWidget;
    auto* appsLayout = new QVBoxLayout(apps);
    appsLayout->setContentsMargins(0, 2, 0, 2);
    appsLayout->setSpacing(8);
    m_appsLabel = new RowLabel(QStringLiteral(" "), QStringLiteral(" "));
    appsLayout->addWidget(m_appsLabel);
    m_apps = new AppChipsRow({}, {}, {}, [&settings](const QString& id) { settings.toggleAutoQuitApp(id); });
    appsLayout->addWidget(m_apps);
    list->addRow(apps);
    m_warning = new WarningRow(QString());
    list->addRow(m_warning);
    m_sections << list;

    placeForm(*this, form, m_sections);
}

void AutoQuitPane::reload()
{
    PaneView::reload();
    const AutoQuitPaneState now = AutoQuitPaneState::read(model().features.settings);
    std::vector<std::pair<QString, int>> entries;
    for (std::size_t i = 0; i < now.intervalChoices.size(); ++i)
        entries.emplace_back(now.intervalTitles[qsizetype(i)], now.intervalChoices[i]);
    m_interval->setChoices(entries);
    m_interval->select(now.minutes);
    m_mode->setSelectedIndex(now.modeIndex);
    m_appsLabel->setTitle(now.appsTitle);
    m_appsLabel->subLabel()->setText(now.appsSubtitle);
    m_apps->setBundleIDs(now.apps);
    m_warning->setText(now.warning.value_or(QString()));
    m_warning->setVisible(now.warning.has_value());
}

} // namespace quillon
