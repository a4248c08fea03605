#pragma once

#include <functional>

namespace quillon {

/// Consent to read the file manager's selection.
class AutomationPermission {
public:
    AutomationPermission() = delete;

    /// Asks for the consent in the background (the question may wait for the
    /// person), then calls `completion`, if any, on the main queue.
    static void request(std::function<void()> completion = {});
    static void openSystemSettings();
};

} // namespace quillon
