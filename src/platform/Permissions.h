#pragma once

#include <functional>

namespace quillon::platform {

/// Whether this application may drive the file manager. Desktops with no
/// such consent answer notApplicable, which counts as granted.
enum class AutomationConsent { granted, denied, notApplicable };

/// The grants the system asks of the desktop. On Linux none of them is a
/// per-application consent: each is a property of the session.
class Permissions {
public:
    virtual ~Permissions() = default;

    /// Whether key taps, synthetic input and window control can work: an X11
    /// session with XTest and XInput 2.2 (never a Wayland session).
    virtual bool accessibilityTrusted() = 0;
    /// Asks for that trust where the desktop can be asked, and answers it.
    virtual bool requestAccessibility() = 0;
    /// Called on the main thread when the trust may have changed.
    virtual int addTrustChangeHandler(std::function<void()> handler) = 0;
    virtual void removeTrustChangeHandler(int token) = 0;

    /// Whether the screen can be captured.
    virtual bool screenCaptureAllowed() = 0;
    /// Asks for consent to read the file manager's selection; may wait for
    /// the person, so it is called off the main thread. Answers whether it
    /// was given.
    virtual bool requestAutomation() = 0;
    /// The consent as it stands, read without asking anyone.
    virtual AutomationConsent automationConsent() = 0;
    /// Whether synthetic key strokes can be posted (the paste after a pick).
    virtual bool postEventsAllowed() = 0;
    /// Asks for that access where the desktop can be asked, and answers it.
    virtual bool requestPostEvents() = 0;
};

} // namespace quillon::platform
