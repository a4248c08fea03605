#include "fakes/ForwardingPlatform.h"
#include "platform/linux/XdgAppDirectory.h"
#include "ui/AppDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
                               running(3, "daemon", "D", false),
                               running(int32_t(QCoreApplication::applicationPid()), "quillon", "Quillon")};
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

/// The directory reader of the desktop over fixture folders, with the fake's
/// running apps.
struct XdgFolders final : fakes::ForwardingPlatform {
    XdgFolders()
    {
        m_saved = {qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS")};
        qputenv("XDG_DATA_HOME", (root.path() + "/home").toUtf8());
        qputenv("XDG_DATA_DIRS", (root.path() + "/one:" + root.path() + "/two").toUtf8());
    }
    ~XdgFolders() override
    {
        qputenv("XDG_DATA_HOME", m_saved.first);
        qputenv("XDG_DATA_DIRS", m_saved.second);
    }
    void write(const QString& relative, const QString& name, const QString& extra = {})
    {
        const QString path = root.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[Desktop Entry]\nType=Application\nName=" + name + "\nExec=run\n" + extra).toUtf8());
    }
    platform::AppDirectory& appDirectory() override
    {
        if (!directory)
            directory = std::make_unique<platform::linux_::XdgAppDirectory>();
        return *directory;
    }

    QTemporaryDir root;
    std::unique_ptr<platform::linux_::XdgAppDirectory> directory;

private:
    std::pair<QByteArray, QByteArray> m_saved;
};

TEST(InstalledAppsOnDisk, FirstFolderWinsMenusOnlyAndRunningStrangersJoin)
{
    XdgFolders folders;
    folders.write("two/applications/kiwi.desktop", "Kiwi (system)");
    folders.write("one/applications/kiwi.desktop", "Kiwi (one)");
    folders.write("home/applications/kiwi.desktop", "Kiwi (mine)");
    folders.write("one/applications/helper.desktop", "Helper", "NoDisplay=true\n");
    folders.write("two/applications/tools/app 10.desktop", "App 10");
    folders.write("two/applications/app2.desktop", "App 2");
    folders.fake.workspaceImpl.apps = {running(4, "org.loose.Loose", "Loose")};

    const auto installed = AppDirectory::installedApps();
    ASSERT_EQ(installed.size(), 3u) << "one Kiwi, no helper";
    EXPECT_EQ(installed[0].name, "Kiwi (mine)") << "the user's folder comes first";
    EXPECT_EQ(installed[0].url, folders.root.path() + "/home/applications/kiwi.desktop");

    const auto pickable = AppDirectory::pickable({});
    EXPECT_EQ(names(pickable), (QStringList{"Loose", "App 2", "App 10", "Kiwi (mine)"}));
    EXPECT_TRUE(pickable[0].isRunning);
    EXPECT_EQ(pickable[0].url, "");
    EXPECT_EQ(pickable[2].bundleID, "tools-app 10");
}

} // namespace
} // namespace quillon
