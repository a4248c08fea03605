#include "ui/Onboarding.h"

#include "app/FeatureRegistry.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/AutomationPermission.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "support/KeyNames.h"
#include "support/Words.h"
#include "ui/SettingsModel.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QPointer>
#include <algorithm>

namespace quillon {

bool Onboarding::needsPermission(SettingsPane pane)
{
    return FeatureRegistry::needsAccessibility(pane) || pane.needsAccessibilityToTrigger() ||
           pane == SettingsPane::ocr || pane == SettingsPane::shelf;
}

std::vector<SettingsPane> Onboarding::steps(const std::vector<SettingsPane>& panes)
{
    std::vector<SettingsPane> result;
    for (const SettingsPane pane : panes) {
        if (pane != SettingsPane::gettingStarted && pane != SettingsPane::general &&
            pane != SettingsPane::notch && pane != SettingsPane::about)
            result.push_back(pane);
    }
    std::stable_partition(result.begin(), result.end(), needsPermission);
    return result;
}

Onboarding::Ask Onboarding::ask(SettingsPane pane)
{
    return needsPermission(pane) ? Ask::permission : Ask::nothing;
}

double Onboarding::fraction(int index, int total)
{
    if (total < 1)
        return 1.0;
    index = std::max(index, 0);
    if (index >= total)
        return 1.0;
    return double(std::min(total, index + 1)) / total;
}

QString Onboarding::menuLabel(int index, int total)
{
    const int k = index < 1 || total < 1 ? 0 : std::min(index, total);
    const int n = std::min(std::max(total, 1), k + 1);
    return QStringLiteral("Getting Started — %1 of %2").arg(n).arg(total);
}

OnboardingPermission::Need OnboardingPermission::need(SettingsPane pane, SettingsModel& model)
{
    using platform::SettingsPage;
    QPointer<SettingsModel> weak(&model);
    if (pane == SettingsPane::ocr) {
        // An X11 session grants capture to every program: no relaunch follows.
        return {QStringLiteral("Screen Recording"),
                QStringLiteral("OCR reads the region you draw off the screen."),
                ScreenRecordingPermission::grantedAtLaunch ||
                    platform::platform().permissions().screenCaptureAllowed(),
                [weak] {
                    if (weak)
                        weak->refresh();
                },
                [] { SystemSettingsLink::open(SettingsPage::screenCapture); }};
    }
    if (pane == SettingsPane::shelf) {
        return {Words::adapt(QStringLiteral("Automation (Finder)")),
                KeyNames::label(
                    Words::adapt(QStringLiteral("Only so r⌘ r⌥ S can stash whatever you have selected in "
                                                "Finder. Dragging files onto the shelf needs nothing."))),
                platform::platform().permissions().automationConsent() != platform::AutomationConsent::denied,
                [weak] {
                    AutomationPermission::request([weak] {
                        if (weak)
                            weak->refresh();
                    });
                },
                [] { SystemSettingsLink::open(SettingsPage::automation); }};
    }
    AccessibilityPermission& permission = model.features.permission;
    return {
        QStringLiteral("Accessibility"),
        QStringLiteral("Moving windows and global shortcuts need an X11 session with the XTEST and XInput "
                       "extensions."),
        permission.isGranted(), [&permission] { permission.requestAccess(); },
        [] { SystemSettingsLink::open(SettingsPage::accessibility); }};
}

} // namespace quillon
