#include "shelf/ShelfDrop.h"
#include "common/Desktop.h"
#include "common/DragSource.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/X11DragProbe.h"
#include "shelf/ShelfStore.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::X11DragProbe;
using testing::DragSource;

/// The fake platform with the real drag probe.
class ProbePlatform : public fakes::ForwardingPlatform {
public:
    platform::DragProbe& dragProbe() override { return probe; }
    X11DragProbe probe;
};

/// A window of ours that takes drops as the shelf does.
class DropTarget : public QWidget {
public:
    DropTarget()
    {
        setAcceptDrops(true);
        setWindowTitle(QStringLiteral("shelf drop target"));
        setGeometry(700, 200, 300, 220);
    }
    bool received = false;
    QList<QUrl> files;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        for (const QString& type : ShelfDrop::draggedTypes())
            if (event->mimeData()->hasFormat(type))
                return event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        received = ShelfDrop::receive(DragData::fromMimeData(*event->mimeData()),
                                      [this](const QList<QUrl>& urls) { files = urls; });
        event->acceptProposedAction();
    }
};

struct SourceKind {
    const char* name;
    /// Whether the source shows its files before the drop.
    bool showsFiles;
};

class ShelfDropDesktop : public ::testing::TestWithParam<SourceKind> {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        for (const char* name : {"report.txt", "photo.png"}) {
            QFile file(dir.path() + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(name).repeated(100));
            paths.push_back(file.fileName());
        }
    }
    std::unique_ptr<DragSource> startSource()
    {
        if (QString(GetParam().name) == "GTK")
            return std::make_unique<DragSource>(
                "/usr/bin/python3", QStringList{QUILLON_SOURCE_DIR "/tests/tools/gtk-dragsource.py"} + paths);
        return std::make_unique<DragSource>(QUILLON_TEST_BIN_DIR "/quillon-test-dragsource", paths);
    }
    QList<QUrl> urls() const
    {
        QList<QUrl> list;
        for (const QString& path : paths)
            list.push_back(QUrl::fromLocalFile(path));
        return list;
    }

    QTemporaryDir dir;
    QStringList paths;
};

TEST_P(ShelfDropDesktop, DraggedFilesAreSeenMidDragAndLandAsOneItem)
{
    ProbePlatform platform;
    X11DragProbe& probe = platform.probe;
    DropTarget target;
    target.show();
    ASSERT_TRUE(testing::waitFor([&] { return target.isVisible() && target.windowHandle()->isExposed(); }));
    auto source = startSource();
    ASSERT_TRUE(source->waitReady());
    testing::waitFor([] { return false; }, 300);
    const QPoint from = source->area.center();
    const QPoint to = target.mapToGlobal(target.rect().center());

    testing::Typist typist;
    const int before = probe.changeCount();
    typist.moveTo(from.x(), from.y());
    testing::waitFor([] { return false; }, 100);
    typist.button(1, true);
    // The drag starts on the first moves; the probe sees it before any drop.
    bool seen = false, carries = false;
    QList<QUrl> seenFiles;
    QStringList seenTypes;
    constexpr int steps = 30;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        typist.moveTo(at.x(), at.y());
        testing::waitFor([] { return false; }, 40);
        if (!seen && probe.changeCount() > before) {
            seen = true;
            carries = probe.carriesFiles();
            seenFiles = probe.fileURLs();
            seenTypes = probe.types();
        }
    }
    testing::waitFor([] { return false; }, 200);
    EXPECT_FALSE(target.received) << "dropped before the button went up";
    typist.button(1, false);
    ASSERT_TRUE(testing::waitFor([&] { return target.received && !target.files.isEmpty(); }));

    EXPECT_TRUE(seen);
    EXPECT_EQ(probe.changeCount(), before + 1);
    EXPECT_TRUE(carries);
    if (GetParam().showsFiles) {
        EXPECT_EQ(seenFiles, urls());
        EXPECT_EQ(seenTypes, QStringList{"text/uri-list"});
    } else {
        EXPECT_TRUE(seenFiles.isEmpty()); // files of unknown types
    }
    EXPECT_EQ(target.files, urls());

    QTemporaryDir shelfRoot;
    ShelfStore store(shelfRoot.path() + "/Shelf");
    const ShelfStore::AddResult result = store.add(target.files);
    ASSERT_EQ(result.added.size(), 1);
    const ShelfItem& item = result.added.first();
    ASSERT_EQ(item.urls.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QFile copy(item.urls[i].toLocalFile()), original(paths[i]);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), original.readAll());
    }
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(item.urls[0].toLocalFile()).path() + "/.origins"));
    ShelfStore reloaded(store.directory());
    reloaded.load();
    EXPECT_EQ(reloaded.items().size(), 1);
    EXPECT_EQ(QSet<QString>(reloaded.items().first().origins.begin(), reloaded.items().first().origins.end()),
              QSet<QString>(paths.begin(), paths.end()));
}

INSTANTIATE_TEST_SUITE_P(Sources, ShelfDropDesktop,
                         ::testing::Values(SourceKind{"GTK", true}, SourceKind{"Qt", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DragProbe, AnswersFromOurOwnDragOut)
{
    QUILLON_REQUIRE_DESKTOP();
    X11DragProbe probe;
    const int count = probe.changeCount();
    EXPECT_EQ(probe.changeCount(), count);
    EXPECT_FALSE(probe.carriesFiles()); // no drag yet
    const QList<QUrl> own{QUrl::fromLocalFile("/tmp/ours.txt")};
    probe.noteOwnDrag(own);
    EXPECT_TRUE(probe.carriesFiles());
    EXPECT_EQ(probe.fileURLs(), own);
    probe.endOwnDrag();
    EXPECT_TRUE(probe.fileURLs().isEmpty());
}

} // namespace
} // namespace quillon
