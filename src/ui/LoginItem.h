#pragma once

class QWidget;

namespace quillon {

/// The launch-at-login switch of the General pane and the status menu.
class LoginItem {
public:
    LoginItem() = delete;

    /// Registers or unregisters by the current status. A failure is logged
    /// and told in an alert; the status stays as the system reports it.
    static void toggle(QWidget* parent = nullptr);
    /// Launch at login is on.
    static bool isEnabled();
};

} // namespace quillon
