#include "shelf/ScreenshotWatcher.h"

#include "common/Desktop.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/InotifyScreenshots.h"
#include "support/AppFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::InotifyScreenshots;

/// The fake platform with a real inotify watch.
class InotifyPlatform : public fakes::ForwardingPlatform {
public:
    platform::Screenshots& screenshots() override { return inotify; }
    InotifyScreenshots inotify;
};

class ScreenshotWatcherTest : public ::testing::Test {
protected:
    QString pictures() const { return platform::platform().paths().picturesDir(); }
    QString home() const { return platform::platform().paths().home(); }
    static void write(const QString& path, const QByteArray& content = "png")
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void watch(ScreenshotWatcher& watcher)
    {
        watcher.onScreenshot = [this](const QList<QUrl>& urls) {
            QStringList names;
            for (const QUrl& url : urls)
                names.push_back(url.toLocalFile());
            reports.push_back(names);
        };
        watcher.start();
    }
    /// Lets inotify's news in, then the batch time pass.
    void settle(fakes::FakeMainQueue& queue, int ms = 300)
    {
        testing::waitFor([] { return false; }, ms);
        queue.advance(ScreenshotWatcher::batchSeconds);
    }

    std::vector<QStringList> reports;
};

TEST_F(ScreenshotWatcherTest, ReportsFinishedCapturesOnceWithRealInotify)
{
    InotifyPlatform platform;
    const QString folder = pictures() + "/Screenshots";
    write(folder + "/old.png");
    ScreenshotWatcher watcher;
    watch(watcher);
    ASSERT_TRUE(watcher.isRunning());

    // Written in two halves a second apart: reported after the close, whole.
    QFile half(folder + "/half.png");
    ASSERT_TRUE(half.open(QIODevice::WriteOnly));
    half.write("first half ");
    half.flush();
    settle(platform.fake.queue, 1000);
    EXPECT_TRUE(reports.empty());
    half.write("second half");
    half.close();
    settle(platform.fake.queue);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], QStringList{folder + "/half.png"});
    QFile back(folder + "/half.png");
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), "first half second half");

    // A tool's hidden file renamed into place counts once, by its final name;
    // other kinds of files and the old capture rewritten never count.
    write(folder + "/.grab-1234.png");
    ASSERT_TRUE(QFile::rename(folder + "/.grab-1234.png", folder + "/Screenshot 1.png"));
    write(folder + "/notes.txt");
    write(folder + "/old.png", "again");
    write(folder + "/recording.webm", "webm");
    settle(platform.fake.queue);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], (QStringList{folder + "/Screenshot 1.png", folder + "/recording.webm"}));
    write(folder + "/Screenshot 1.png", "rewritten");
    settle(platform.fake.queue);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(platform.fake.queue.pendingCount(), 0); // nothing waits, no timer runs
}

TEST_F(ScreenshotWatcherTest, AFolderCreatedLaterIsWatchedFromItsParent)
{
    InotifyPlatform platform;
    QDir().mkpath(pictures());
    // Desktops create the screenshot folder on the first capture.
    ASSERT_TRUE(platform.inotify.watch(pictures() + "/Screenshots",
                                       [&](const QString& path) { reports.push_back({path}); }));
    write(pictures() + "/Screenshots/first.png");
    testing::waitFor([&] { return !reports.empty(); }, 3000);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], QStringList{pictures() + "/Screenshots/first.png"});
    write(pictures() + "/Screenshots/second.png");
    testing::waitFor([&] { return reports.size() > 1; }, 3000);
    EXPECT_EQ(reports.size(), 2u);
    platform.inotify.unwatch();
}

TEST_F(ScreenshotWatcherTest, BatchesOnTheMainQueueAndSkipsOurOwnFiles)
{
    fakes::FakePlatform fake;
    const QString folder = pictures() + "/Screenshots";
    write(folder + "/present.png");
    ScreenshotWatcher watcher;
    watch(watcher);
    EXPECT_EQ(fake.screenshotsImpl.watched, folder);
    const QString ours = AppFiles::root() + "/Shelf/ITEM/shot.png";
    const QString sibling = AppFiles::root() + "-old/shot.png";
    for (const QString& path : {folder + "/a.png", sibling, ours, folder + "/gone.png"})
        write(path);

    fake.screenshotsImpl.arrive(folder + "/present.png"); // part of the baseline
    EXPECT_EQ(fake.queue.pendingCount(), 0);
    fake.screenshotsImpl.arrive(folder + "/a.png");
    fake.queue.advance(0.1);
    for (const QString& path : {folder + "/a.png", sibling, ours, folder + "/gone.png"})
        fake.screenshotsImpl.arrive(path);
    QFile::remove(folder + "/gone.png"); // deleted before its batch went
    EXPECT_EQ(fake.queue.pendingCount(), 1);
    fake.queue.advance(0.09);
    EXPECT_TRUE(reports.empty());
    fake.queue.advance(0.01);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (QStringList{folder + "/a.png", sibling}));
    EXPECT_EQ(fake.queue.pendingCount(), 0);

    watcher.stop();
    fake.screenshotsImpl.arrive(folder + "/late.png");
    EXPECT_EQ(fake.queue.pendingCount(), 0);
    fake.screenshotsImpl.watchable = false;
    watcher.start();
    EXPECT_FALSE(watcher.isRunning());
}

TEST_F(ScreenshotWatcherTest, SaveDirectoryFollowsTheToolOrFallsBack)
{
    fakes::FakePlatform fake;
    QDir().mkpath(pictures());
    EXPECT_EQ(ScreenshotWatcher::saveDirectory(std::nullopt), pictures()); // no Screenshots folder yet
    QDir().mkpath(pictures() + "/Screenshots");
    QDir().mkpath(home() + "/Shots");
    write(home() + "/afile");
    const QString fallback = pictures() + "/Screenshots";
    struct Row {
        std::optional<QString> location;
        QString folder;
    };
    const Row rows[] = {
        {std::nullopt, fallback},
        {QString(), fallback},
        {QString("~/Shots"), home() + "/Shots"},
        {QString("~"), home()},
        {QString("Shots"), home() + "/Shots"},
        {home() + "/Shots/../Shots/", home() + "/Shots"},
        {QString("~/Missing"), fallback},
        {home() + "/afile", fallback},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.location.value_or("<none>").toStdString());
        EXPECT_EQ(ScreenshotWatcher::saveDirectory(row.location), QDir(row.folder).canonicalPath());
    }
    fake.screenshotsImpl.location = "~/Shots";
    EXPECT_EQ(ScreenshotWatcher::saveDirectory(), QDir(home() + "/Shots").canonicalPath());
    EXPECT_TRUE(ScreenshotWatcher::isFolderReadable());
}

TEST_F(ScreenshotWatcherTest, AFileInPlaceOfTheFolderIsNotReadable)
{
    fakes::FakePlatform fake;
    write(pictures()); // a regular file where Pictures should be
    EXPECT_FALSE(ScreenshotWatcher::isFolderReadable());
}

TEST(ScreenshotWatcher, ReadsTheToolsSettingsFiles)
{
    struct Row {
        const char* what;
        QByteArray spectacle;
        QByteArray flameshot;
        std::optional<QString> location;
    };
    const Row rows[] = {
        {"Spectacle today", "[ImageSave]\nimageSaveLocation=file:///home/u/Shots/\n", "",
         QString("/home/u/Shots/")},
        {"Spectacle before", "[General]\ndefaultSaveLocation=file:///home/u/Old\n", "",
         QString("/home/u/Old")},
        {"Spectacle first", "[ImageSave]\nimageSaveLocation=file:///a\n", "[General]\nsavePath=/b\n",
         QString("/a")},
        {"Flameshot", "", "[General]\nsavePath=~/Flame\n", QString("~/Flame")},
        {"KConfig key options", "[ImageSave]\nimageSaveLocation[$e]=file:///e\n", "", QString("/e")},
        {"Spectacle not parsing", "\xff\xfe garbage", "[General]\nsavePath=/b\n", QString("/b")},
        {"a line that is no setting", "[General]\njust words\nsavePath=/x\n", "", std::nullopt},
        {"a remote place", "[ImageSave]\nimageSaveLocation=smb://server/share\n", "", std::nullopt},
        {"nothing", "", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(InotifyScreenshots::locationOfToolSettings(row.spectacle, row.flameshot), row.location);
    }
}

} // namespace
} // namespace quillon
