#pragma once

#include "ui/PaneView.h"

namespace quillon {

class FormSection;
class PermissionRow;
class WarningRow;

/// What the OCR pane's "Needed to work" shows.
struct OCRPaneState {
    /// The Screen Recording part.
    enum class Capture {
        /// Granted when this process started: nothing to do.
        none,
        /// Granted since: it takes a new process ("one more step").
        relaunchToFinish,
        /// Not granted: the permission row and a small relaunch.
        permissionRow,
    };
    bool showsSection = false;
    Capture capture = Capture::none;
    bool showsAccessibility = false;
    bool operator==(const OCRPaneState&) const = default;
};

/// The pane of screen-text capture: the feature chord and what it takes to
/// work, with the grants and the relaunch while something is missing.
class OCRPane final : public PaneView {
    Q_OBJECT

public:
    explicit OCRPane(SettingsModel& model, QWidget* parent = nullptr);

    /// Chosen afresh at every redraw: `grantedAtLaunch` is fixed for the
    /// process, the other two are read now.
    static OCRPaneState state(bool grantedAtLaunch, bool grantedNow, bool accessibility);
    OCRPaneState currentState() const;

    void reload() override;

    FormSection* neededSection() const { return m_needed; }
    QWidget* relaunchStepRow() const { return m_stepRow; }
    QWidget* capturePermissionRow() const { return m_captureRow; }
    PermissionRow* accessibilityRow() const { return m_accessRow; }
    WarningRow* relaunchWarning() const { return m_warning; }
    QList<FormSection*> sections() const { return {m_needed}; }

private:
    void relaunch();

    FormSection* m_needed = nullptr;
    QWidget* m_stepRow = nullptr;
    QWidget* m_captureRow = nullptr;
    PermissionRow* m_accessRow = nullptr;
    WarningRow* m_warning = nullptr;
    /// The last relaunch could not start a new process.
    bool m_relaunchFailed = false;
};

} // namespace quillon
