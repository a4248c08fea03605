#pragma once

#include "platform/WindowEvents.h"

#include <map>
#include <set>

namespace quillon::fakes {

/// Observers that can be made to fail: `failObserve` attempts are refused
/// outright, and each notification answers the status scripted for it.
/// Tests send events with send().
class FakeWindowEvents final : public platform::WindowEvents {
public:
    struct Observer {
        int32_t pid = 0;
        Handler handler;
        std::set<std::pair<platform::WindowNotification, platform::WindowId>> registrations;
    };

    std::optional<int> observe(int32_t pid, Handler handler) override
    {
        ++observeCalls;
        if (failObserve > 0) {
            --failObserve;
            return std::nullopt;
        }
        const int token = ++m_last;
        observers[token] = Observer{pid, std::move(handler), {}};
        return token;
    }

    platform::RegistrationStatus add(int observer, platform::WindowNotification notification,
                                     platform::WindowId target) override
    {
        const auto it = observers.find(observer);
        if (it == observers.end())
            return platform::RegistrationStatus::invalidElement;
        if (const auto scripted = statusFor.find(notification); scripted != statusFor.end()) {
            if (scripted->second != platform::RegistrationStatus::success &&
                scripted->second != platform::RegistrationStatus::alreadyRegistered)
                return scripted->second;
            it->second.registrations.insert({notification, target});
            return scripted->second;
        }
        const bool added = it->second.registrations.insert({notification, target}).second;
        return added ? platform::RegistrationStatus::success : platform::RegistrationStatus::alreadyRegistered;
    }

    void remove(int observer) override { observers.erase(observer); }

    /// Delivers an event to the observers of `pid` registered for it on the
    /// application or on `window`.
    void send(int32_t pid, platform::WindowNotification notification, platform::WindowId window)
    {
        const auto snapshot = observers;
        for (const auto& [token, o] : snapshot) {
            if (o.pid != pid || !observers.count(token))
                continue;
            if (o.registrations.count({notification, application}) || o.registrations.count({notification, window}))
                o.handler(notification, window);
        }
    }

    bool isRegistered(platform::WindowNotification notification, platform::WindowId target) const
    {
        for (const auto& [token, o] : observers) {
            if (o.registrations.count({notification, target}))
                return true;
        }
        return false;
    }

    int failObserve = 0;
    int observeCalls = 0;
    std::map<platform::WindowNotification, platform::RegistrationStatus> statusFor;
    std::map<int, Observer> observers;

private:
    int m_last = 0;
};

} // namespace quillon::fakes
