#pragma once

#include "input/FeatureChords.h"
#include "platform/UserNotifications.h"
#include "ui/PaneView.h"
#include "ui/panes/MissingPermissions.h"

#include <vector>

class QFileDialog;
class QLabel;
class QPushButton;
class QShowEvent;
class QVBoxLayout;

namespace quillon {

class BackupDropArea;
class FormSection;
class RowLabel;
class SegmentedControl;
class SettingsBackup;
class ToggleSwitch;

/// The pane for what belongs to no single feature: the Accessibility grant
/// the global shortcuts need, the two profiles, launch at login, the global
/// shortcuts, the permissions the enabled features lack, the settings backup
/// and the debug log.
class GeneralPane final : public PaneView {
    Q_OBJECT

public:
    explicit GeneralPane(SettingsModel& model, QWidget* parent = nullptr);

    /// "A Awake · F Focus · B Breaks": the chords of one kind, in key order.
    static QString keyList(FeatureChords::Kind kind);

    /// Re-checks Accessibility, asks for the notification status (stored when
    /// it arrives) and redraws.
    void refreshPermissionStatus();
    PermissionFacts permissionFacts() const;
    std::vector<PermissionNeed> missingRequired() const;
    /// Opens the file chooser (not modal to the application); the chosen
    /// file is imported.
    QFileDialog* importFromFile();
    void reload() override;

    SettingsBackup& backup() const { return *m_backup; }
    platform::NotificationStatus notificationsStatus() const { return m_notificationsStatus; }

    // The parts a test looks at.
    FormSection* keyboardSection() const { return m_keyboardSection; }
    FormSection* permissionsSection() const { return m_permissionsSection; }
    FormSection* backupSection() const { return m_backupSection; }
    SegmentedControl* profileControl() const { return m_profileControl; }
    ToggleSwitch* loginSwitch() const { return m_loginSwitch; }
    RowLabel* loginLabel() const { return m_loginLabel; }
    RowLabel* profileRowLabel() const { return m_profileRowLabel; }
    RowLabel* snippetRowLabel() const { return m_snippetRowLabel; }
    QPushButton* saveButton() const { return m_saveButton; }
    /// "Take the Tour": restarts the getting-started tour.
    QPushButton* tourButton() const { return m_tourButton; }
    QPushButton* clearLogButton() const { return m_clearLogButton; }
    QLabel* logSizeLabel() const { return m_logSizeLabel; }
    QLabel* backupStatusLabel() const { return m_statusText; }
    BackupDropArea* dropArea() const { return m_dropArea; }
    /// The sections in order of appearance.
    QList<FormSection*> sections() const { return m_sections; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    FormSection* section(FormSection* section);
    void buildKeyboardSection();
    void buildProfilesSection();
    void buildStartupSection();
    void buildShortcutsSection();
    void buildBackupSection();
    void buildDiagnosticsSection();
    void readNotificationStatus();
    void showPermissionNeeds();
    void showBackupStatus();
    PermissionActions permissionActions() const;

    platform::NotificationStatus m_notificationsStatus = platform::NotificationStatus::granted;
    SettingsBackup* m_backup = nullptr;
    QList<FormSection*> m_sections;
    FormSection* m_keyboardSection = nullptr;
    FormSection* m_permissionsSection = nullptr;
    QWidget* m_permissionRows = nullptr;
    QVBoxLayout* m_permissionLayout = nullptr;
    QStringList m_shownNeeds;
    FormSection* m_backupSection = nullptr;
    SegmentedControl* m_profileControl = nullptr;
    ToggleSwitch* m_loginSwitch = nullptr;
    RowLabel* m_loginLabel = nullptr;
    RowLabel* m_profileRowLabel = nullptr;
    RowLabel* m_snippetRowLabel = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_tourButton = nullptr;
    QPushButton* m_clearLogButton = nullptr;
    QLabel* m_logSizeLabel = nullptr;
    BackupDropArea* m_dropArea = nullptr;
    QWidget* m_status = nullptr;
    QLabel* m_statusGlyph = nullptr;
    QLabel* m_statusText = nullptr;
};

} // namespace quillon
