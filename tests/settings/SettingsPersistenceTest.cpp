#include "fakes/FakePlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

using namespace quillon;
namespace Keys = quillon::SettingsKeys;
using platform::PlistValue;
using platform::linux_::JsonUserDefaults;

namespace {

// The settings store over the real defaults files, across restarts of the process.
class SettingsPersistenceTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    const QString folder = fake.pathsImpl.configDir();
    const QString appId = QStringLiteral("app.quillon.Quillon");
};

TEST_F(SettingsPersistenceTest, EveryStoredValueKeepsItsKindAcrossARestart)
{
    const QMap<QString, PlistValue> profileOne = {
        {Keys::snapIsEnabled, true},
        {Keys::sweepDelay, 3.0},
        {Keys::autoQuitMinutes, qint64(45)},
        {Keys::sweepListMode, "onlyListed"},
        {Keys::jumpIgnored, QStringList{"org.a", "org.b"}},
        {Keys::jumpForced, platform::StringDictionary{{"K", "org.k"}}},
    };
    {
        JsonUserDefaults database(folder, appId);
        Settings settings(database, appId);
        for (auto it = profileOne.begin(); it != profileOne.end(); ++it)
            settings.set(it.value(), it.key());
        settings.setProfile(Settings::Profile::two);
        ASSERT_TRUE(
            settings.importJSON(R"({"app":"Quillon","values":{"focus.alpha":1,"breaks.breakSeconds":30}})"));
    }
    JsonUserDefaults database(folder, appId);
    Settings settings(database, appId);
    EXPECT_EQ(settings.profile(), Settings::Profile::two);
    EXPECT_EQ(settings.defaults().storedValue(Keys::focusAlpha), PlistValue(1.0));
    EXPECT_EQ(settings.defaults().storedValue(Keys::breaksBreakSeconds), PlistValue(qint64(30)));
    EXPECT_FALSE(settings.isSnapEnabled());

    settings.setProfile(Settings::Profile::one);
    for (auto it = profileOne.begin(); it != profileOne.end(); ++it)
        EXPECT_EQ(settings.defaults().storedValue(it.key()), it.value()) << it.key().toStdString();
    EXPECT_FALSE(settings.defaults().storedValue(Keys::focusAlpha).has_value());
}

TEST_F(SettingsPersistenceTest, ASuiteNameTheDatabaseCannotUseKeepsProfileOne)
{
    JsonUserDefaults database(folder, appId);
    Settings settings(database, QStringLiteral("not a file name/"));
    settings.setProfile(Settings::Profile::two);
    EXPECT_EQ(settings.profile(), Settings::Profile::one);
    EXPECT_EQ(&settings.defaults(), &database.standard());
}

} // namespace
