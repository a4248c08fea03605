#include "permissions/AutomationPermission.h"

#include "platform/Platform.h"

namespace quillon {

void AutomationPermission::request(std::function<void()> completion)
{
    platform::platform().tasks().run([] { platform::platform().permissions().requestAutomation(); },
                                     [completion = std::move(completion)] {
                                         if (completion)
                                             completion();
                                     });
}

void AutomationPermission::openSystemSettings()
{
    platform::platform().systemSettings().open(platform::SettingsPage::automation);
}

} // namespace quillon
