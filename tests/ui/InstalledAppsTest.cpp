#include "fakes/FakePlatform.h"
#include "ui/AppDirectory.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

platform::AppEntry entry(const QString& id, const QString& name, const QString& path, bool shown = true)
{
    platform::AppEntry e;
    e.appId = id;
    e.name = name;
    e.path = path;
    e.shownInMenus = shown;
    return e;
}

platform::RunningApp running(int32_t pid, const QString& id, const QString& name, bool regular = true)
{
    platform::RunningApp app;
    app.pid = pid;
    app.appId = id;
    app.name = name;
    app.regular = regular;
    return app;
}

QStringList names(const std::vector<AppDirectory::InstalledApp>& apps)
{
    QStringList out;
    for (const auto& app : apps)
        out << app.name;
    return out;
}

class InstalledApps : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
};

TEST_F(InstalledApps, UserCopyWinsAndHiddenEntriesAreSkipped)
{
    fake.appDirectoryImpl.list = {
        entry("kiwi", "Kiwi (mine)", "/home/u/.local/share/applications/kiwi.desktop"),
        entry("kiwi", "Kiwi", "/usr/share/applications/kiwi.desktop"),
        entry("ghost", "Ghost", "/usr/share/applications/ghost.desktop", false)};
    const auto apps = AppDirectory::installedApps();
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0], (AppDirectory::InstalledApp{"kiwi", "Kiwi (mine)",
                                                   "/home/u/.local/share/applications/kiwi.desktop", false}));
}

TEST_F(InstalledApps, PickableMergesRunningAppsAndExcludes)
{
    fake.appDirectoryImpl.list = {entry("kiwi", "Kiwi", "/a/kiwi.desktop"),
                                  entry("apple", "Apple", "/a/apple.desktop"),
                                  entry("pear", "Pear", "/a/pear.desktop")};
    fake.workspaceImpl.apps = {running(1, "pear", "Pear"), running(2, "loose", ""),
                               running(3, "daemon", "D", false)};
    const auto apps = AppDirectory::pickable({"apple"});
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_EQ(apps[0], (AppDirectory::InstalledApp{"loose", "loose", "", true}));
    EXPECT_EQ(apps[1], (AppDirectory::InstalledApp{"pear", "Pear", "/a/pear.desktop", true}));
    EXPECT_EQ(apps[2].bundleID, "kiwi");
    EXPECT_FALSE(apps[2].isRunning);
}

TEST_F(InstalledApps, FilterByTrimmedQueryOnNameOrIdInNumericOrder)
{
    const std::vector<AppDirectory::InstalledApp> apps = {{"org.x.ten", "App 10", "", false},
                                                          {"org.x.two", "App 2", "", false},
                                                          {"org.fruit.kiwi", "Kiwi", "", false}};
    struct Case {
        QString query;
        QStringList expected;
    };
    for (const Case& c : {Case{"   ", {"App 2", "App 10", "Kiwi"}}, Case{"kiwi", {"Kiwi"}},
                          Case{"x.t", {"App 2", "App 10"}}, Case{" nothing ", {}}})
        EXPECT_EQ(names(AppDirectory::filter(apps, c.query)), c.expected) << c.query.toStdString();
}

TEST_F(InstalledApps, ResolvesRunningThenEntryThenTheIdItself)
{
    fake.appDirectoryImpl.list = {entry("kiwi", "Kiwi", "/a/kiwi.desktop"),
                                  entry("noname", "", "/a/n.desktop")};
    fake.workspaceImpl.apps = {running(1, "pear", "Pear")};
    EXPECT_EQ(AppDirectory::resolve("pear").name, "Pear");
    EXPECT_EQ(AppDirectory::resolve("kiwi").name, "Kiwi");
    EXPECT_EQ(AppDirectory::resolve("noname").name, "noname");
    const auto unknown = AppDirectory::resolve("com.unknown.app");
    EXPECT_EQ(unknown.name, "com.unknown.app");
    EXPECT_FALSE(unknown.icon.has_value());
}

} // namespace
} // namespace quillon
