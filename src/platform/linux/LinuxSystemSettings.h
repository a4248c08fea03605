#pragma once

#include "platform/SystemSettings.h"

namespace quillon::platform::linux_ {

/// Linux desktops keep no settings page for the grants the system needs:
/// each is a property of the session, so there is nothing to open.
class LinuxSystemSettings final : public SystemSettings {
public:
    bool open(SettingsPage page) override;
};

} // namespace quillon::platform::linux_
