#pragma once

#include "platform/SystemSettings.h"

#include <QString>

class QWidget;

namespace quillon {

/// Opens the desktop's page where a person grants what a feature needs. The
/// desktops this runs on have none of these pages, so where the desktop
/// answers that it opened nothing, a message says what to do instead.
class SystemSettingsLink {
public:
    SystemSettingsLink() = delete;

    static void open(platform::SettingsPage page, QWidget* parent = nullptr);
    /// What the message says for the page.
    static QString explanation(platform::SettingsPage page);
};

} // namespace quillon
