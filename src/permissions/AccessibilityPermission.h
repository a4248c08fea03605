#pragma once

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

/// The one Accessibility trust tracker: its owner learns of every real change.
class AccessibilityPermission {
public:
    AccessibilityPermission();
    ~AccessibilityPermission();
    AccessibilityPermission(const AccessibilityPermission&) = delete;
    AccessibilityPermission& operator=(const AccessibilityPermission&) = delete;

    /// Called on the main thread with the new state, only when it changes.
    std::function<void(bool)> onChange;
    /// The last known trust state.
    bool isGranted() const { return m_isGranted; }

    /// Watches the desktop's trust notices; each one is followed by a few
    /// polls, since the answer may settle a moment after the notice.
    void startMonitoring();
    /// Asks for trust (with the desktop's prompt where it has one) and applies
    /// the answer.
    void requestAccess();
    /// Asks, and opens the settings page at most once per run.
    void promptOnce();
    /// Polls the trust state now.
    void refresh();

    /// When the polls after a trust notice run, in seconds.
    static constexpr double recheckDelays[] = {0.3, 1.5, 4.0};

private:
    void apply(bool granted);
    void scheduleRechecks();

    bool m_isGranted = false;
    std::optional<int> m_token;
    bool m_didOpenSettings = false;
    // Scheduled polls hold this weakly: a poll after destruction does nothing.
    std::shared_ptr<AccessibilityPermission*> m_self;
};

} // namespace quillon
