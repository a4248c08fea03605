#include "permissions/AccessibilityPermission.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

AccessibilityPermission::AccessibilityPermission()
    : m_isGranted(platform::platform().permissions().accessibilityTrusted())
    , m_self(std::make_shared<AccessibilityPermission*>(this))
{
}

AccessibilityPermission::~AccessibilityPermission()
{
    if (m_token)
        platform::platform().permissions().removeTrustChangeHandler(*m_token);
}

void AccessibilityPermission::apply(bool granted)
{
    if (granted == m_isGranted)
        return;
    m_isGranted = granted;
    Log::debug([&] {
        return QStringLiteral("Accessibility permission changed: ")
               + (granted ? QStringLiteral("true") : QStringLiteral("false"));
    });
    if (onChange)
        onChange(granted);
}

void AccessibilityPermission::startMonitoring()
{
    if (m_token)
        return;
    std::weak_ptr<AccessibilityPermission*> weak = m_self;
    m_token = platform::platform().permissions().addTrustChangeHandler([weak] {
        if (auto self = weak.lock())
            (*self)->scheduleRechecks();
    });
}

// A further notice schedules three more polls without cancelling the pending
// ones; apply() keeps onChange to real changes however many polls run.
void AccessibilityPermission::scheduleRechecks()
{
    std::weak_ptr<AccessibilityPermission*> weak = m_self;
    for (const double delay : recheckDelays) {
        platform::platform().mainQueue().after(delay, [weak] {
            if (auto self = weak.lock())
                (*self)->apply(platform::platform().permissions().accessibilityTrusted());
        });
    }
}

void AccessibilityPermission::requestAccess()
{
    apply(platform::platform().permissions().requestAccessibility());
}

void AccessibilityPermission::promptOnce()
{
    if (m_isGranted)
        return;
    requestAccess();
    if (m_didOpenSettings)
        return;
    m_didOpenSettings = true;
    platform::platform().systemSettings().open(platform::SettingsPage::accessibility);
}

void AccessibilityPermission::refresh() { apply(platform::platform().permissions().accessibilityTrusted()); }

} // namespace quillon
