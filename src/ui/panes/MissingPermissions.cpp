#include "ui/panes/MissingPermissions.h"

#include "app/FeatureRegistry.h"
#include "app/SettingsPane.h"
#include "settings/Settings.h"
#include "support/KeyNames.h"
#include "support/Words.h"

namespace quillon {

namespace {

QString text(const char* words)
{
    return KeyNames::label(Words::adapt(QString::fromUtf8(words)));
}

std::function<void()> opener(const PermissionActions& actions, platform::SettingsPage page)
{
    return [open = actions.open, page] {
        if (open)
            open(page);
    };
}

} // namespace

QString accessibilityNeededBy()
{
    QStringList titles;
    for (const SettingsPane pane : SettingsPane::features()) {
        if (FeatureRegistry::needsAccessibility(pane) || pane.needsAccessibilityToTrigger())
            titles << pane.title();
    }
    return QStringLiteral("needed by ") + titles.join(QStringLiteral(", "));
}

std::vector<PermissionNeed> missingRequired(const PermissionFacts& facts, const Settings& settings,
                                            const PermissionActions& actions)
{
    using platform::SettingsPage;
    std::vector<PermissionNeed> needs;
    // The same predicate that decides whether the features ask for access at
    // all, so this list never disagrees with them.
    if (!facts.accessibility && FeatureRegistry::needsAccessibilityNow(settings)) {
        needs.push_back({QStringLiteral("Accessibility"), accessibilityNeededBy(),
                         actions.requestAccessibility, opener(actions, SettingsPage::accessibility)});
    }
    if ((settings.isClipboardEnabled() || settings.isSnippetsEnabled()) && !facts.postEvents) {
        needs.push_back({QStringLiteral("Send Keystrokes"),
                         text("replays ⌘V so Clipboard & Snippets can paste"), actions.requestPostEvents,
                         opener(actions, SettingsPage::accessibility)});
    }
    if (settings.isOCREnabled() && !facts.screenCaptureAtLaunch && !facts.screenCapture) {
        needs.push_back({QStringLiteral("Screen Recording"),
                         text("OCR reads the region you select off the screen"), actions.requestScreenCapture,
                         opener(actions, SettingsPage::screenCapture)});
    }
    if (settings.isShelfEnabled() && facts.automation == platform::AutomationConsent::denied) {
        needs.push_back({text("Automation (Finder)"), text("Shelf stashes the current Finder selection"),
                         actions.requestAutomation, opener(actions, SettingsPage::automation)});
    }
    const bool wantsNotifications = settings.isAwakeEnabled() || settings.isSweepEnabled();
    if (wantsNotifications && facts.notifications != platform::NotificationStatus::granted) {
        needs.push_back({QStringLiteral("Notifications"),
                         text("so Quillon can alert you when a permission is lost or a limit is hit"),
                         facts.notifications == platform::NotificationStatus::notDetermined
                             ? actions.requestNotifications
                             : std::function<void()>(),
                         opener(actions, SettingsPage::notifications)});
    }
    if (settings.shelfAutoScreenshots() && !facts.screenshotFolderReadable) {
        needs.push_back({QStringLiteral("Files & Folders"),
                         text("Shelf auto-stashes new screenshots from your capture folder"),
                         {},
                         opener(actions, SettingsPage::filesAndFolders)});
    }
    return needs;
}

} // namespace quillon
