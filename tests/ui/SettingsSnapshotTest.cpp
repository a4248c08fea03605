#include "UiFixture.h"

#include "ui/PaneForm.h"
#include "ui/SettingsPaneView.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
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
    // The window lays itself out between the waits, as it does in the event loop.
    for (int i = 0; i < 100 && !run.done; ++i) {
        QCoreApplication::processEvents();
        f.fake.queue.advance(0.1);
    }
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

TEST(SettingsSnapshot, EveryPaneAndTheEndOfEachTallOne)
{
    UiFixture f;
    QTemporaryDir dir;
    const SnapshotRun run = runSnapshot(f, dir.path(), {});
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.status, 0);
    QStringList bottoms;
    for (const SettingsPane pane : SettingsPane::allCases()) {
        const QString raw = pane.rawValue();
        const QImage top(QDir(dir.path()).filePath(raw + ".png"));
        EXPECT_EQ(top.size(), QSize(868, 648) * top.devicePixelRatio()) << raw.toStdString();
        const QImage bottom(QDir(dir.path()).filePath(raw + "-bottom.png"));
        if (bottom.isNull())
            continue;
        bottoms << raw;
        EXPECT_EQ(bottom.size(), top.size()) << raw.toStdString();
        EXPECT_NE(bottom, top) << raw.toStdString() << ": scrolled, yet the same picture";
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), SettingsPane::allCases().size() + bottoms.size());
    EXPECT_TRUE(bottoms.contains("general")) << bottoms.join(' ').toStdString();
    EXPECT_TRUE(bottoms.contains("snap")) << bottoms.join(' ').toStdString();
    EXPECT_FALSE(bottoms.contains("about")) << "a pane that fits has no second capture";
}

TEST(SettingsSnapshot, ScrollsOnlyContentTallerThanTheWindow)
{
    UiFixture f;
    auto& controller = f.app->settingsWindow();
    controller.show();
    controller.select(SettingsPane::general);
    QCoreApplication::sendPostedEvents();
    auto* area = controller.paneView()->findChild<PaneForm*>();
    ASSERT_TRUE(area);
    EXPECT_EQ(area->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(controller.scrollPaneToBottom());
    EXPECT_EQ(area->verticalScrollBar()->value(), area->verticalScrollBar()->maximum());
    EXPECT_GT(area->verticalScrollBar()->value(), 1);

    controller.select(SettingsPane::colorPicker);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(controller.scrollPaneToBottom());
    controller.window()->hide();
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
