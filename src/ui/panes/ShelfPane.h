#pragma once

#include "platform/Permissions.h"
#include "ui/PaneView.h"

#include <QString>
#include <optional>

namespace quillon {

class FormSection;
class PermissionRow;
class RowLabel;
class Settings;
class ToggleSwitch;
class WarningRow;

namespace platform {
class ScreenshotPrefs;
}

/// The screenshot folder as the pane reports it.
struct ScreenshotFolderFacts {
    QString path;
    QString home;
    bool readable = true;
};

/// What the Shelf pane shows besides its switches.
struct ShelfPaneState {
    /// The floating-thumbnail rows and the section's footer: only where the
    /// desktop keeps a thumbnail preference.
    bool showsThumbnailRows = false;
    bool skipThumbnailEnabled = false;
    QString skipThumbnailSubtitle;
    /// The thumbnail is off by the person's own choice, not held by the shelf.
    bool showsThumbnailWarning = false;
    /// The folder cannot be listed while stashing is on; none otherwise.
    std::optional<QString> folderWarning;
    /// "Optional", with the file manager automation grant.
    bool showsAutomation = false;
    bool operator==(const ShelfPaneState&) const = default;
};

/// The pane of the file shelf: drag behaviour, new screenshots, the feature
/// chord and, where the desktop asks for one, the file manager grant.
class ShelfPane final : public PaneView {
    Q_OBJECT

public:
    explicit ShelfPane(SettingsModel& model, QWidget* parent = nullptr);

    static ShelfPaneState state(const Settings& settings, const platform::ScreenshotPrefs& prefs,
                                const ScreenshotFolderFacts& folder, platform::AutomationConsent consent);
    /// The folder path as text, the home folder as "~".
    static QString displayPath(const QString& path, const QString& home);
    /// The state now, from the platform.
    ShelfPaneState currentState() const;

    void reload() override;

    FormSection* screenshotsSection() const { return m_screenshots; }
    FormSection* automationSection() const { return m_automation; }
    QWidget* skipThumbnailRow() const { return m_skipRow; }
    ToggleSwitch* skipThumbnailSwitch() const { return m_skipSwitch; }
    WarningRow* thumbnailWarning() const { return m_thumbnailWarning; }
    WarningRow* folderWarning() const { return m_folderWarning; }
    QString folderWarningText() const;
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    FormSection* m_screenshots = nullptr;
    FormSection* m_automation = nullptr;
    QWidget* m_skipRow = nullptr;
    ToggleSwitch* m_skipSwitch = nullptr;
    RowLabel* m_skipLabel = nullptr;
    WarningRow* m_thumbnailWarning = nullptr;
    QWidget* m_folderBox = nullptr;
    WarningRow* m_folderWarning = nullptr;
};

} // namespace quillon
