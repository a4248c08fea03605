#include "fakes/FakePlatform.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/AutomationPermission.h"
#include "permissions/NotificationPermission.h"
#include "permissions/ScreenRecordingPermission.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::SettingsPage;

namespace {

class AccessibilityPermissionTest : public ::testing::Test {
protected:
    void SetUp() override { fake.permissionsImpl.trusted = false; }

    std::unique_ptr<AccessibilityPermission> makePermission()
    {
        auto permission = std::make_unique<AccessibilityPermission>();
        permission->onChange = [this](bool granted) { changes.push_back(granted); };
        return permission;
    }

    fakes::FakePlatform fake;
    std::vector<bool> changes;
};

TEST_F(AccessibilityPermissionTest, ChangeHandlerRunsOncePerRealChange)
{
    auto permission = makePermission();
    EXPECT_FALSE(permission->isGranted());
    permission->startMonitoring();

    // Two notices in quick succession: six polls, one change.
    fake.permissionsImpl.notifyTrustChange();
    fake.permissionsImpl.notifyTrustChange();
    EXPECT_EQ(fake.queue.pendingCount(), 6);
    fake.queue.advance(0.2);
    fake.permissionsImpl.trusted = true;
    fake.queue.advance(0.1);
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(permission->isGranted());
    fake.queue.advance(5);
    EXPECT_EQ(changes, std::vector<bool>{true});

    // The answer settles only after the first poll: the later polls catch it.
    fake.permissionsImpl.notifyTrustChange();
    fake.queue.advance(1.0);
    fake.permissionsImpl.trusted = false;
    fake.queue.advance(5);
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));

    // A notice without a change reports nothing.
    fake.permissionsImpl.notifyTrustChange();
    fake.queue.advance(5);
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(AccessibilityPermissionTest, PollsAfterDestructionDoNothing)
{
    auto permission = makePermission();
    permission->startMonitoring();
    fake.permissionsImpl.notifyTrustChange();
    permission.reset();
    EXPECT_EQ(fake.permissionsImpl.trustHandlerCount(), 0u);
    fake.permissionsImpl.trusted = true;
    fake.queue.advance(5);
    EXPECT_TRUE(changes.empty());
}

TEST_F(AccessibilityPermissionTest, RequestAndRefreshApplyTheAnswer)
{
    auto permission = makePermission();
    fake.permissionsImpl.trusted = true;
    permission->requestAccess();
    EXPECT_EQ(fake.permissionsImpl.accessibilityRequests, 1);
    fake.permissionsImpl.trusted = false;
    permission->refresh();
    permission->refresh();
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(AccessibilityPermissionTest, PromptOnceOpensSettingsAtMostOncePerRun)
{
    auto permission = makePermission();
    permission->promptOnce();
    permission->promptOnce();
    EXPECT_EQ(fake.permissionsImpl.accessibilityRequests, 2);
    EXPECT_EQ(fake.systemSettingsImpl.requested, std::vector<SettingsPage>{SettingsPage::accessibility});
}

TEST_F(AccessibilityPermissionTest, PromptOnceWhileGrantedDoesNothing)
{
    fake.permissionsImpl.trusted = true;
    auto permission = makePermission();
    permission->promptOnce();
    EXPECT_EQ(fake.permissionsImpl.accessibilityRequests, 0);
    EXPECT_TRUE(fake.systemSettingsImpl.requested.empty());
}

// The page opens on the first call even when the request itself just
// reported access: the decision was taken on the state before asking.
TEST_F(AccessibilityPermissionTest, PromptOnceOpensSettingsEvenWhenTheRequestGrants)
{
    auto permission = makePermission();
    fake.permissionsImpl.trusted = true;
    permission->promptOnce();
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_EQ(fake.systemSettingsImpl.requested.size(), 1u);
}

class ScreenRecordingPermissionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScreenRecordingPermission::grantedAtLaunch = false;
        ScreenRecordingPermission::didSnapshot = false;
        ScreenRecordingPermission::restartPromptDismissed = false;
    }
    fakes::FakePlatform fake;
};

TEST_F(ScreenRecordingPermissionTest, SnapshotIsTakenOncePerProcess)
{
    struct Case {
        bool atLaunch;
        bool now;
        bool relaunchNeeded;
    };
    const Case cases[] = {
        {false, false, false}, {false, true, true}, {true, true, false}, {true, false, false}};
    for (const auto& c : cases) {
        SetUp();
        fake.permissionsImpl.screenCapture = c.atLaunch;
        ScreenRecordingPermission::snapshotAtLaunch();
        fake.permissionsImpl.screenCapture = c.now;
        ScreenRecordingPermission::snapshotAtLaunch();
        EXPECT_EQ(ScreenRecordingPermission::grantedAtLaunch, c.atLaunch);
        EXPECT_EQ(ScreenRecordingPermission::relaunchNeeded(), c.relaunchNeeded);
    }
}

TEST_F(ScreenRecordingPermissionTest, RelaunchThatCannotStartKeepsThisInstance)
{
    fake.appShellImpl.relaunchStarts = false;
    EXPECT_FALSE(ScreenRecordingPermission::relaunch());
    EXPECT_EQ(fake.appShellImpl.terminations, 0);
    fake.appShellImpl.relaunchStarts = true;
    EXPECT_TRUE(ScreenRecordingPermission::relaunch());
    EXPECT_EQ(fake.appShellImpl.terminations, 1);
}

TEST(OtherPermissions, AskTheDesktopAndOpenTheirPages)
{
    fakes::FakePlatform fake;
    AutomationPermission::request(); // no completion: still asks
    int completions = 0;
    AutomationPermission::request([&] { ++completions; });
    fake.queue.drain();
    EXPECT_EQ(fake.permissionsImpl.automationRequests, 2);
    EXPECT_EQ(completions, 1);

    fake.notifications.currentStatus = platform::NotificationStatus::denied;
    std::optional<NotificationPermission::Status> status;
    std::optional<bool> granted;
    NotificationPermission::status([&](auto s) { status = s; });
    NotificationPermission::request([&](bool g) { granted = g; });
    EXPECT_FALSE(status) << "answers come on the main queue";
    fake.queue.drain();
    EXPECT_EQ(status, NotificationPermission::Status::denied);
    EXPECT_EQ(granted, false);

    AutomationPermission::openSystemSettings();
    NotificationPermission::openSystemSettings();
    ScreenRecordingPermission::openSystemSettings();
    EXPECT_EQ(fake.systemSettingsImpl.requested,
              (std::vector<SettingsPage>{SettingsPage::automation, SettingsPage::notifications,
                                         SettingsPage::screenCapture}));
}

} // namespace
