#include "shelf/ScreenshotWatcher.h"
#include "common/Desktop.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/InotifyScreenshots.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace quillon {
namespace {

class InotifyPlatform : public fakes::ForwardingPlatform {
public:
    platform::Screenshots& screenshots() override { return inotify; }
    platform::linux_::InotifyScreenshots inotify;
};

TEST(ScreenshotWatcherDesktop, ACaptureSavedIntoTheFolderIsReportedOnceAndWhole)
{
    QUILLON_REQUIRE_DESKTOP();
    InotifyPlatform platform;
    const QString folder = platform.paths().picturesDir() + "/Screenshots";
    QDir().mkpath(folder);
    const QImage before(8, 8, QImage::Format_RGB32);
    ASSERT_TRUE(before.save(folder + "/earlier.png"));

    ScreenshotWatcher watcher;
    std::vector<QList<QUrl>> reports;
    watcher.onScreenshot = [&](const QList<QUrl>& urls) { reports.push_back(urls); };
    watcher.start();
    ASSERT_TRUE(watcher.isRunning());

    const QString capture = folder + "/capture.png";
    ASSERT_EQ(QProcess::execute("import", {"-window", "root", capture}), 0);
    // Waits as long as the news takes; the batch then goes on the test's clock.
    ASSERT_TRUE(testing::waitFor([&] { return platform.fake.queue.pendingCount() > 0; }));
    testing::waitFor([] { return false; }, 300);
    platform.fake.queue.advance(ScreenshotWatcher::batchSeconds);
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(reports[0], QList<QUrl>{QUrl::fromLocalFile(capture)});
    const QImage shot(capture);
    ASSERT_FALSE(shot.isNull());
    const QStringList size =
        testing::run("xdpyinfo", {}).section("dimensions:", 1).simplified().section(' ', 0, 0).split('x');
    EXPECT_EQ(shot.width(), size.value(0).toInt());
    EXPECT_EQ(shot.height(), size.value(1).toInt());
    platform.fake.queue.advance(1.0);
    EXPECT_EQ(reports.size(), 1u);
}

} // namespace
} // namespace quillon
