#include "UiFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace quillon {
namespace {

using testing::UiFixture;

struct SnapshotRun {
    bool done = false;
    int status = -1;
};

SnapshotRun runSnapshot(UiFixture& f, const QString& directory, std::vector<SettingsPane> panes)
{
    SnapshotRun run;
    auto& controller = f.app->settingsWindow();
    controller.debugSnapshot(directory, std::move(panes), [&] {
        run.done = true;
        run.status = controller.snapshotExitStatus();
    });
    for (int i = 0; i < 100 && !run.done; ++i)
        f.fake.queue.advance(0.5);
    controller.window()->hide();
    return run;
}

TEST(SettingsSnapshot, DifferentPanesWriteTheirFilesAndSucceed)
{
    UiFixture f;
    QTemporaryDir dir;
    const SnapshotRun run = runSnapshot(f, dir.path(), {SettingsPane::general, SettingsPane::snap});
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.status, 0) << "two different panes of equal size are not a blank window";
    for (const QString name : {"general.png", "snap.png"}) {
        const QImage image(QDir(dir.path()).filePath(name));
        EXPECT_EQ(image.size(), QSize(868, 648) * image.devicePixelRatio()) << name.toStdString();
    }
}

TEST(SettingsSnapshot, OneCaptureIsNeverBlankButRepeatsAre)
{
    UiFixture f;
    QTemporaryDir dir;
    EXPECT_EQ(runSnapshot(f, dir.path(), {SettingsPane::about}).status, 0);
    EXPECT_EQ(runSnapshot(f, dir.path(), {SettingsPane::about, SettingsPane::about}).status, 1)
        << "the same bytes twice: nothing was drawn between them";
}

TEST(SettingsSnapshot, UnwritableFolderEndsWithStatusOne)
{
    UiFixture f;
    QTemporaryDir dir;
    // A regular file where the folder should be: root cannot write into it either.
    const QString blocked = QDir(dir.path()).filePath("shots");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const SnapshotRun run = runSnapshot(f, blocked, {SettingsPane::general, SettingsPane::snap});
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.status, 1);
}

} // namespace
} // namespace quillon
