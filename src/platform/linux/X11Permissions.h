#pragma once

#include "platform/Observers.h"
#include "platform/Permissions.h"

#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

namespace quillon::platform::linux_ {

class X11Connection;

/// Trust is a property of the session: an X server with XTest (synthetic
/// input) and XInput 2.2 (every client's raw keys and pointer), and no Wayland
/// compositor, under which X11 clients see only other X11 clients. The answer
/// changes only with the X connection, so it is taken once and again when the
/// connection is lost or comes back; a trust change is announced only then.
class X11Permissions final : public Permissions {
public:
    /// `retrySeconds`: how often a lost X server is looked for again.
    explicit X11Permissions(double retrySeconds = 5.0);
    ~X11Permissions() override;

    bool accessibilityTrusted() override;
    /// X11 has no consent to ask for: the answer is the session's.
    bool requestAccessibility() override { return accessibilityTrusted(); }
    int addTrustChangeHandler(std::function<void()> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeTrustChangeHandler(int token) override { m_handlers.remove(token); }
    bool screenCaptureAllowed() override;
    /// Nothing on Linux asks before the file manager's selection is read.
    bool requestAutomation() override { return true; }
    /// No desktop here asks before one program drives another.
    AutomationConsent automationConsent() override { return AutomationConsent::notApplicable; }
    /// XTest is all it takes; nothing can be asked for.
    bool postEventsAllowed() override;
    bool requestPostEvents() override { return postEventsAllowed(); }

private:
    struct Answer {
        bool x11Session = false;
        bool trusted = false;
        bool xtest = false;
        QString reason;
    };
    Answer probe();
    void update();
    void onConnectionLost();

    std::unique_ptr<X11Connection> m_connection;
    std::optional<Answer> m_answer;
    QTimer m_retry;
    Observers<> m_handlers;
};

} // namespace quillon::platform::linux_
