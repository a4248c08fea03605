#include "support/Notifier.h"
#include "fakes/FakePlatform.h"
#include "support/AppFiles.h"
#include "support/Updater.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quillon;

namespace {

class NotifierTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeUserNotifications& notifications = fake.notifications;
};

TEST_F(NotifierTest, PostsOnlyWhenAllowed)
{
    struct Case {
        const char* name;
        platform::NotificationStatus status;
        std::optional<QString> error;
        bool posted;
    };
    const Case cases[] = {
        {"granted", platform::NotificationStatus::granted, std::nullopt, true},
        {"denied", platform::NotificationStatus::denied, std::nullopt, false},
        {"failed", platform::NotificationStatus::granted, QStringLiteral("no session bus"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        notifications.posts.clear();
        notifications.currentStatus = c.status;
        notifications.requestError = c.error;
        Notifier::post("accessibility-lost", "Accessibility lost", "Quillon can no longer read keys.");
        fake.queue.drain();
        ASSERT_EQ(notifications.posts.size(), c.posted ? 1u : 0u);
        if (c.posted) {
            EXPECT_EQ(notifications.posts[0].identifier, "accessibility-lost");
            EXPECT_EQ(notifications.posts[0].title, "Accessibility lost");
            EXPECT_EQ(notifications.posts[0].body, "Quillon can no longer read keys.");
        }
    }
    EXPECT_TRUE(fake.log.contains("Notification authorization failed: no session bus"));
}

TEST_F(NotifierTest, NothingIsPostedWithoutAnApplicationId)
{
    fake.build.appId.clear();
    Notifier::post("spaces-api-unavailable", "t", "b");
    Notifier::postTransient("awake-ended", "t", "b", 30);
    fake.queue.advance(31);
    EXPECT_EQ(notifications.requests, 0);
    EXPECT_TRUE(notifications.shown.isEmpty());
}

TEST_F(NotifierTest, TransientNotificationGoesAfterItsLifetime)
{
    Notifier::postTransient("awake-ended", "Keep-awake ended", "first", 30);
    fake.queue.advance(10);
    Notifier::postTransient("awake-ended", "Keep-awake ended", "second", 30);
    fake.queue.advance(1);
    ASSERT_TRUE(notifications.shown.contains("awake-ended"));
    EXPECT_EQ(notifications.shown["awake-ended"].body, "second");

    // The first removal takes away the replacement too; the second finds nothing.
    fake.queue.advance(18.5);
    EXPECT_TRUE(notifications.shown.contains("awake-ended"));
    fake.queue.advance(0.5);
    EXPECT_FALSE(notifications.shown.contains("awake-ended"));
    fake.queue.advance(10);
    EXPECT_EQ(notifications.removals, (QStringList{"awake-ended", "awake-ended"}));
}

TEST(AppFiles, RootIsCreatedPrivateOnDemand)
{
    fakes::FakePlatform fake;
    EXPECT_EQ(AppFiles::root(), fake.pathsImpl.dataDir());
    EXPECT_FALSE(QFileInfo::exists(AppFiles::root()));
    ASSERT_TRUE(AppFiles::makeRoot());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(AppFiles::root()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(AppFiles::makeRoot());
}

TEST(Updater, NoControllerWithOrWithoutAKey)
{
    fakes::FakePlatform fake;
    EXPECT_EQ(Updater().controller(), nullptr);
    fake.build.updateKey = QStringLiteral("pfYqC1WfCUM5kG1bGm0n2hSO");
    EXPECT_EQ(Updater().controller(), nullptr);
}

} // namespace
