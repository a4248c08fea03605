#pragma once

#include "platform/Permissions.h"
#include "platform/SystemSettings.h"
#include "platform/UserNotifications.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace quillon {

class Settings;
class SettingsModel;

/// The grants as they stand at one redraw of the General pane. Nothing here
/// is cached between redraws: the pane reads them again each time.
struct PermissionFacts {
    bool accessibility = false;
    bool postEvents = false;
    bool screenCaptureAtLaunch = false;
    bool screenCapture = false;
    platform::AutomationConsent automation = platform::AutomationConsent::notApplicable;
    /// What the pane last heard; granted until the first answer arrives.
    platform::NotificationStatus notifications = platform::NotificationStatus::granted;
    bool screenshotFolderReadable = true;
};

/// One permission that a switched-on feature still lacks.
struct PermissionNeed {
    QString title;
    QString sub;
    /// None where the permission cannot be asked for.
    std::function<void()> request;
    std::function<void()> open;
};

/// What the entries' buttons do. Kept apart from the list so the list itself
/// is a plain function of the facts and the switches.
struct PermissionActions {
    std::function<void()> requestAccessibility;
    std::function<void()> requestPostEvents;
    std::function<void()> requestScreenCapture;
    std::function<void()> requestAutomation;
    std::function<void()> requestNotifications;
    std::function<void(platform::SettingsPage)> open;
};

/// The actions of a pane's permission rows: a request asks the desktop (or
/// looks again where nothing can be asked) and redraws; "Open" shows the
/// settings page, or says what to do where there is none. The pane and the
/// model are held weakly. `afterAutomation` and `afterNotifications` run
/// once those answers have come.
PermissionActions permissionRowActions(QWidget& pane, SettingsModel& model, std::function<void()> afterAutomation,
                                       std::function<void()> afterNotifications);

/// The action that opens `page` through `actions.open`.
std::function<void()> permissionOpener(const PermissionActions& actions, platform::SettingsPage page);

/// The permissions that the features switched on in the active profile need
/// and do not have, in a fixed order: Accessibility, Send Keystrokes, Screen
/// Recording, Automation, Notifications, Files & Folders.
std::vector<PermissionNeed> missingRequired(const PermissionFacts& facts, const Settings& settings,
                                            const PermissionActions& actions = {});

/// "needed by Snap, Jump, …": every feature that needs Accessibility, for
/// itself or for a right-hand shortcut, whether or not it is switched on.
QString accessibilityNeededBy();

} // namespace quillon
