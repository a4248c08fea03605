#pragma once

#include "ui/PaneView.h"
#include "ui/panes/AutoQuitPaneState.h"

namespace quillon {

class AppChipsRow;
class ChoiceBox;
class FormSection;
class RowLabel;
class SegmentedControl;
class WarningRow;

/// The pane of auto-quit: how long an app may sit idle in the background,
/// whether the list names the apps to quit or the apps to spare, and the
/// list itself.
class AutoQuitPane final : public PaneView {
    Q_OBJECT

public:
    explicit AutoQuitPane(SettingsModel& model, QWidget* parent = nullptr);

    void reload() override;

    ChoiceBox* intervalBox() const { return m_interval; }
    SegmentedControl* modeControl() const { return m_mode; }
    RowLabel* appsLabel() const { return m_appsLabel; }
    AppChipsRow* appChips() const { return m_apps; }
    WarningRow* warning() const { return m_warning; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    ChoiceBox* m_interval = nullptr;
    SegmentedControl* m_mode = nullptr;
    RowLabel* m_appsLabel = nullptr;
    AppChipsRow* m_apps = nullptr;
    WarningRow* m_warning = nullptr;
};

} // namespace quillon
