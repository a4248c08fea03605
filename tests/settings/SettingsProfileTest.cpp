#include "SettingsFixture.h"

using namespace quillon;
namespace Keys = quillon::SettingsKeys;
using platform::PlistValue;
using Profile = Settings::Profile;

namespace {

using SettingsProfileTest = quillon::testing::SettingsFixture;

TEST_F(SettingsProfileTest, SwitchSwapsTheStoreAndNotifiesEveryObserverOnce)
{
    settings->setSnapEnabled(true);
    settings->setJumpIgnored({"org.a"});
    notifications = 0;

    settings->setProfile(Profile::two);
    EXPECT_EQ(settings->profile(), Profile::two);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(root().storedValue(Keys::settingsActiveProfile), PlistValue(qint64(2)));
    EXPECT_EQ(&settings->defaults(), &profileTwoStore());
    // A fresh profile two reads like a fresh install.
    EXPECT_FALSE(settings->isSnapEnabled());
    EXPECT_TRUE(settings->snapOnDrag());
    EXPECT_FALSE(settings->defaults().stringArrayForKey(Keys::jumpIgnored).has_value());

    settings->setFocusEnabled(true);
    EXPECT_TRUE(profileTwoStore().boolForKey(Keys::focusIsEnabled));
    EXPECT_FALSE(root().boolForKey(Keys::focusIsEnabled));

    settings->setProfile(Profile::one);
    EXPECT_EQ(notifications, 3);
    EXPECT_EQ(root().storedValue(Keys::settingsActiveProfile), PlistValue(qint64(1)));
    EXPECT_TRUE(settings->isSnapEnabled());
    EXPECT_FALSE(settings->isFocusEnabled());
    EXPECT_EQ(root().stringArrayForKey(Keys::jumpIgnored), QStringList{"org.a"});
}

TEST_F(SettingsProfileTest, SwitchingToTheActiveProfileDoesNothing)
{
    struct Case {
        std::optional<PlistValue> stored;
        Profile target;
    };
    for (const Case& c : {Case{std::nullopt, Profile::one}, Case{qint64(3), Profile::one},
                          Case{qint64(0), Profile::one}, Case{qint64(2), Profile::two}}) {
        if (c.stored)
            root().set(Keys::settingsActiveProfile, *c.stored);
        open();
        settings->setProfile(c.target);
        EXPECT_EQ(notifications, 0);
        EXPECT_EQ(root().storedValue(Keys::settingsActiveProfile), c.stored);
        EXPECT_EQ(settings->profile(), c.target);
        root().remove(Keys::settingsActiveProfile);
    }
}

TEST_F(SettingsProfileTest, RefusedProfileTwoStoreKeepsProfileOne)
{
    fake.defaults.refusedSuites.insert(suiteName + ".profile2");
    settings->setSnapEnabled(true);
    notifications = 0;

    settings->setProfile(Profile::two);
    EXPECT_EQ(settings->profile(), Profile::one);
    EXPECT_EQ(notifications, 0);
    EXPECT_FALSE(root().storedValue(Keys::settingsActiveProfile).has_value());
    EXPECT_EQ(&settings->defaults(), &root());
    EXPECT_TRUE(settings->isSnapEnabled());
    EXPECT_TRUE(fake.log.contains("app.quillon.Quillon.profile2"));
}

TEST_F(SettingsProfileTest, StartUpRestoresProfileTwoWithoutNotifying)
{
    settings->setProfile(Profile::two);
    settings->setBreaksEnabled(true);
    open();
    EXPECT_EQ(settings->profile(), Profile::two);
    EXPECT_EQ(&settings->defaults(), &profileTwoStore());
    EXPECT_TRUE(settings->isBreaksEnabled());
    EXPECT_EQ(settings->notchMaxHintItems(), 8);
    EXPECT_EQ(notifications, 0);
}

TEST_F(SettingsProfileTest, StartUpWithAnUnusableProfileTwoFallsBackAndRecordsIt)
{
    root().set(Keys::settingsActiveProfile, qint64(2));
    root().set(Keys::snapIsEnabled, true);
    fake.defaults.refusedSuites.insert(suiteName + ".profile2");
    open();
    EXPECT_EQ(settings->profile(), Profile::one);
    EXPECT_EQ(root().storedValue(Keys::settingsActiveProfile), PlistValue(qint64(1)));
    EXPECT_EQ(&settings->defaults(), &root());
    EXPECT_TRUE(settings->isSnapEnabled());
    EXPECT_EQ(settings->quitDelay(), 2.0);
    EXPECT_TRUE(fake.log.contains("starting on profile 1"));
}

TEST_F(SettingsProfileTest, KeysOutsideTheProfilesSurviveSwitches)
{
    root().set(Keys::shelfThumbnailHeldByUs, true);
    root().set(Keys::helpExpanded("jump"), false);
    settings->setProfile(Profile::two);
    settings->setProfile(Profile::one);
    settings->setProfile(Profile::two);
    EXPECT_EQ(root().storedValue(Keys::shelfThumbnailHeldByUs), PlistValue(true));
    EXPECT_EQ(root().storedValue("help.expanded.jump"), PlistValue(false));
    EXPECT_FALSE(profileTwoStore().storedValue(Keys::settingsActiveProfile).has_value());
    EXPECT_FALSE(profileTwoStore().storedValue(Keys::shelfThumbnailHeldByUs).has_value());
}

TEST_F(SettingsProfileTest, WritingTheActiveProfileKeyIsASwitch)
{
    // The active store must never disagree with the stored choice.
    settings->set(qint64(2), Keys::settingsActiveProfile);
    EXPECT_EQ(settings->profile(), Profile::two);
    EXPECT_EQ(&settings->defaults(), &profileTwoStore());
    EXPECT_EQ(notifications, 1);
}

TEST_F(SettingsProfileTest, StoreForAProfile)
{
    EXPECT_EQ(Settings::store(Profile::one, fake.defaults, suiteName), &root());
    EXPECT_EQ(Settings::store(Profile::two, fake.defaults, suiteName), &profileTwoStore());
    fake.defaults.refusedSuites.insert("other.profile2");
    EXPECT_EQ(Settings::store(Profile::two, fake.defaults, "other"), nullptr);
    EXPECT_EQ(Settings::profileFromRaw(2), Profile::two);
    EXPECT_FALSE(Settings::profileFromRaw(3).has_value());
}

} // namespace
