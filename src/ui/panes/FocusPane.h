#pragma once

#include "ui/PaneView.h"
#include "ui/panes/FocusPaneState.h"

#include <optional>

namespace quillon {

class FocusDimRow;
class FormSection;
class WarningRow;

/// The pane of focus dimming: how strongly everything but the front window
/// is dimmed, and the chord that toggles it.
class FocusPane final : public PaneView {
    Q_OBJECT

public:
    explicit FocusPane(SettingsModel& model, QWidget* parent = nullptr);
    ~FocusPane() override;

    /// The state now, with whether a compositor runs.
    static FocusPaneState currentState();
    void reload() override;

    WarningRow* compositorWarning() const { return m_compositorWarning; }
    FocusDimRow* dimRow() const { return m_dimRow; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    WarningRow* m_compositorWarning = nullptr;
    FocusDimRow* m_dimRow = nullptr;
    std::optional<int> m_compositorToken;
};

} // namespace quillon
