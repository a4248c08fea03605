#pragma once

#include "ui/PaneView.h"
#include "ui/panes/SwipePaneState.h"

namespace quillon {

class FormSection;
class PermissionGate;
class SegmentedControl;

/// The pane of workspace swipe: what it needs, and where the new
/// workspace's number shows after a switch.
class SwipePane final : public PaneView {
    Q_OBJECT

public:
    explicit SwipePane(SettingsModel& model, QWidget* parent = nullptr);

    /// The state now, with the Accessibility grant.
    SwipePaneState currentState() const;
    void reload() override;

    PermissionGate* gate() const { return m_gate; }
    SegmentedControl* feedbackControl() const { return m_feedback; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    PermissionGate* m_gate = nullptr;
    SegmentedControl* m_feedback = nullptr;
};

} // namespace quillon
