#pragma once

#include "platform/AppShell.h"

#include <vector>

namespace quillon::fakes {

/// Records what the system asks of the application.
class FakeAppShell final : public platform::AppShell {
public:
    Claim claimSingleInstance(bool waitForRelease) override
    {
        ++claims;
        lastClaimWaited = waitForRelease;
        return claimAnswer;
    }
    bool requestReopen() override
    {
        ++reopenRequests;
        return reopenAnswered;
    }
    void setReopenHandler(std::function<void()> handler) override { onReopen = std::move(handler); }
    bool relaunch() override
    {
        ++relaunches;
        if (relaunchStarts)
            ++terminations;
        return relaunchStarts;
    }
    void terminate(int status = 0) override
    {
        ++terminations;
        lastExitStatus = status;
    }
    int lastExitStatus = 0;
    void bringToFront(QWidget& window) override { broughtToFront.push_back(&window); }
    void setAppearance(platform::Appearance value) override { current = value; }
    platform::Appearance appearance() const override { return current; }
    bool anotherInstanceIsRunning() const override { return anotherInstance; }

    /// What another launch's reopen request does.
    void reopen()
    {
        if (onReopen)
            onReopen();
    }

    Claim claimAnswer = Claim::claimed;
    bool anotherInstance = false;
    bool reopenAnswered = true;
    bool relaunchStarts = true;
    int claims = 0;
    bool lastClaimWaited = false;
    int reopenRequests = 0;
    int relaunches = 0;
    int terminations = 0;
    std::vector<QWidget*> broughtToFront;
    platform::Appearance current = platform::Appearance::light;
    std::function<void()> onReopen;
};

} // namespace quillon::fakes
