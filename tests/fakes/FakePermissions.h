#pragma once

#include "platform/Observers.h"
#include "platform/Permissions.h"

namespace quillon::fakes {

/// Settable grants. setTrusted() only changes the answer, as the desktop
/// would before it says anything; notifyTrustChange() sends the notice.
class FakePermissions final : public platform::Permissions {
public:
    bool accessibilityTrusted() override
    {
        ++trustReads;
        return trusted;
    }
    bool requestAccessibility() override
    {
        ++accessibilityRequests;
        return trusted;
    }
    int addTrustChangeHandler(std::function<void()> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeTrustChangeHandler(int token) override { m_handlers.remove(token); }
    bool screenCaptureAllowed() override { return screenCapture; }
    bool requestAutomation() override
    {
        ++automationRequests;
        return automation;
    }

    platform::AutomationConsent automationConsent() override { return consent; }
    bool postEventsAllowed() override { return postEvents; }
    bool requestPostEvents() override
    {
        ++postEventRequests;
        return postEvents;
    }

    void notifyTrustChange() { m_handlers.notify(); }
    std::size_t trustHandlerCount() const { return m_handlers.size(); }

    bool trusted = true;
    bool screenCapture = true;
    bool automation = true;
    bool postEvents = true;
    int postEventRequests = 0;
    platform::AutomationConsent consent = platform::AutomationConsent::notApplicable;
    int trustReads = 0;
    int accessibilityRequests = 0;
    int automationRequests = 0;

private:
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
