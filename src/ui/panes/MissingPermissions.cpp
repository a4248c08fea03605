#include "ui/panes/MissingPermissions.h"

#include "app/FeatureRegistry.h"
#include "app/SettingsPane.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/AutomationPermission.h"
#include "permissions/NotificationPermission.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/KeyNames.h"
#include "support/Words.h"
#include "ui/SettingsModel.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QPointer>
#include <QWidget>

namespace quillon {

namespace {

QString text(const char* words)
{
    return KeyNames::label(Words::adapt(QString::fromUtf8(words)));
}

} // namespace

std::function<void()> permissionOpener(const PermissionActions& actions, platform::SettingsPage page)
{
    return [open = actions.open, page] {
        if (open)
            open(page);
    };
}

PermissionActions permissionRowActions(QWidget& pane, SettingsModel& model, std::function<void()> afterAutomation,
                                       std::function<void()> afterNotifications)
{
    // The actions may outlive the pane: each holds it weakly.
    QPointer<QWidget> self(&pane);
    QPointer<SettingsModel> weakModel(&model);
    const auto refresh = [weakModel] {
        if (weakModel)
            weakModel->refresh();
    };
    PermissionActions actions;
    actions.requestAccessibility = [weakModel, refresh] {
        if (!weakModel)
            return;
        weakModel->features.permission.requestAccess();
        refresh();
    };
    actions.requestPostEvents = [refresh] {
        platform::platform().permissions().requestPostEvents();
        refresh();
    };
    // Nothing on this desktop asks for capture: looking again is the request.
    actions.requestScreenCapture = refresh;
    actions.requestAutomation = [after = std::move(afterAutomation)] { AutomationPermission::request(after); };
    actions.requestNotifications = [after = std::move(afterNotifications)] {
        NotificationPermission::request([after](bool) {
            if (after)
                after();
        });
    };
    actions.open = [self](platform::SettingsPage page) { SystemSettingsLink::open(page, self); };
    return actions;
}

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
                         actions.requestAccessibility, permissionOpener(actions, SettingsPage::accessibility)});
    }
    if ((settings.isClipboardEnabled() || settings.isSnippetsEnabled()) && !facts.postEvents) {
        needs.push_back({QStringLiteral("Send Keystrokes"),
                         text("replays ⌘V so Clipboard & Snippets can paste"), actions.requestPostEvents,
                         permissionOpener(actions, SettingsPage::accessibility)});
    }
    if (settings.isOCREnabled() && !facts.screenCaptureAtLaunch && !facts.screenCapture) {
        needs.push_back({QStringLiteral("Screen Recording"),
                         text("OCR reads the region you select off the screen"), actions.requestScreenCapture,
                         permissionOpener(actions, SettingsPage::screenCapture)});
    }
    if (settings.isShelfEnabled() && facts.automation == platform::AutomationConsent::denied) {
        needs.push_back({text("Automation (Finder)"), text("Shelf stashes the current Finder selection"),
                         actions.requestAutomation, permissionOpener(actions, SettingsPage::automation)});
    }
    const bool wantsNotifications = settings.isAwakeEnabled() || settings.isSweepEnabled();
    if (wantsNotifications && facts.notifications != platform::NotificationStatus::granted) {
        needs.push_back({QStringLiteral("Notifications"),
                         text("so Quillon can alert you when a permission is lost or a limit is hit"),
                         facts.notifications == platform::NotificationStatus::notDetermined
                             ? actions.requestNotifications
                             : std::function<void()>(),
                         permissionOpener(actions, SettingsPage::notifications)});
    }
    if (settings.shelfAutoScreenshots() && !facts.screenshotFolderReadable) {
        needs.push_back({QStringLiteral("Files & Folders"),
                         text("Shelf auto-stashes new screenshots from your capture folder"),
                         {},
                         permissionOpener(actions, SettingsPage::filesAndFolders)});
    }
    return needs;
}

} // namespace quillon
