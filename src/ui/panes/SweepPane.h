#pragma once

#include "ui/PaneView.h"
#include "ui/panes/SweepPaneState.h"

namespace quillon {

class AppChipsRow;
class ChoiceBox;
class FormSection;
class RowLabel;
class SegmentedControl;
class WarningRow;

/// The pane of app sweep: how long it waits after a last window closes,
/// whether the list names the apps to spare or the only apps to quit, how it
/// watches windows, and the list itself.
class SweepPane final : public PaneView {
    Q_OBJECT

public:
    explicit SweepPane(SettingsModel& model, QWidget* parent = nullptr);

    /// The state now, with the window manager's workspaces.
    SweepPaneState currentState() const;
    void reload() override;

    WarningRow* detectionWarning() const { return m_detectionWarning; }
    ChoiceBox* delayBox() const { return m_delay; }
    SegmentedControl* modeControl() const { return m_mode; }
    SegmentedControl* strategyControl() const { return m_strategy; }
    RowLabel* strategyLabel() const { return m_strategyLabel; }
    FormSection* listSection() const { return m_list; }
    WarningRow* listWarning() const { return m_listWarning; }
    AppChipsRow* appChips() const { return m_apps; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    WarningRow* m_detectionWarning = nullptr;
    ChoiceBox* m_delay = nullptr;
    SegmentedControl* m_mode = nullptr;
    SegmentedControl* m_strategy = nullptr;
    RowLabel* m_strategyLabel = nullptr;
    FormSection* m_list = nullptr;
    WarningRow* m_listWarning = nullptr;
    AppChipsRow* m_apps = nullptr;
};

} // namespace quillon
