#pragma once

namespace quillon::platform {

/// The places of the desktop's settings where a person grants what the
/// system needs.
enum class SettingsPage { accessibility, automation, notifications, screenCapture, filesAndFolders, loginItems };

class SystemSettings {
public:
    virtual ~SystemSettings() = default;
    /// Opens the page; false when the desktop has no such page.
    virtual bool open(SettingsPage page) = 0;
};

} // namespace quillon::platform
