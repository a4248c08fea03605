#include "common/Desktop.h"
#include "common/ShelfHarness.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/linux/LinuxPlatform.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::platform::linux_;
using quillon::testing::dragWithButton;
using quillon::testing::Lines;

namespace {

TEST(ShelfPanelDesktop, TheOpenShelfIsBlackInsideItsOutlineAndShowsThePhoto)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(QColor(0, 200, 0));
    ASSERT_TRUE(photo.save(dir.filePath("photo.jpg")));
    for (const char* name : {"a.txt", "b.txt", "NOEXT"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("text\n");
    }

    // A coloured root, so that what shows outside the outline is told from black.
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    const uint32_t blue = 0x336699;
    xcb_change_window_attributes(x->get(), x->root(), XCB_CW_BACK_PIXEL, &blue);
    xcb_clear_area(x->get(), 0, x->root(), 0, 0, 0, 0);
    xcb_flush(x->get());

    QProcess harness;
    harness.start(QUILLON_TEST_BIN_DIR "/quillon-test-shelf",
                  {dir.filePath("photo.jpg"), dir.filePath("a.txt") + "::" + dir.filePath("b.txt"),
                   dir.filePath("NOEXT")});
    ASSERT_TRUE(harness.waitForStarted(5000));
    QString output;
    const auto lineStarting = [&](const QString& prefix) -> QString {
        output += QString::fromUtf8(harness.readAllStandardOutput());
        for (const QString& line : output.split('\n')) {
            if (line.startsWith(prefix))
                return line;
        }
        return {};
    };
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !lineStarting("ready ").isEmpty(); }, 15000))
        << output.toStdString();
    const QStringList parts = lineStarting("ready ").split(' ');
    ASSERT_EQ(parts.size(), 5);
    const QRect frame(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(), parts[4].toInt());

    // An override-redirect window at the top centre, as wide as three cards and the strip.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(frame.y(), screen.y());
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_EQ(frame.width(), 3 * 62 + 32 + 2 * 18 + 76);
    bool found = false;
    for (const auto& window : quillon::testing::overrideRedirectWindows(*x))
        found |= window.geometry == frame;
    EXPECT_TRUE(found);

    // Black inside the outline, the root window outside its rounded corner,
    // and the photo's green on the first card.
    bool looked = false;
    QImage shot;
    const QPoint card = frame.topLeft() + QPoint(16 + 31, 24 + 7 + 27);
    quillon::testing::waitFor(
        [&] {
            shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            const QColor c = shot.pixelColor(card);
            looked = c.green() > 150 && c.red() < 80 && c.blue() < 80;
            return looked;
        },
        10000);
    EXPECT_TRUE(looked);
    EXPECT_EQ(shot.pixelColor(frame.center().x(), frame.top() + 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(frame.left() + 40, frame.bottom() - 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(frame.left() - 30, frame.bottom()), QColor(0x33, 0x66, 0x99));
    EXPECT_EQ(shot.pixelColor(frame.left(), frame.bottom()), QColor(0x33, 0x66, 0x99));

    harness.write("close\n");
    EXPECT_TRUE(quillon::testing::waitFor([&] { return !lineStarting("closed").isEmpty(); }, 10000));
    harness.kill();
    harness.waitForFinished(5000);
    const uint32_t black = 0;
    xcb_change_window_attributes(x->get(), x->root(), XCB_CW_BACK_PIXEL, &black);
    xcb_clear_area(x->get(), 0, x->root(), 0, 0, 0, 0);
    xcb_flush(x->get());
}

class Target : public QWidget {
public:
    Target()
    {
        setAcceptDrops(true);
        setGeometry(200, 400, 300, 200);
    }
    QList<QUrl> files;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        files = event->mimeData()->urls();
        event->acceptProposedAction();
    }
};

TEST(ShelfPanelDesktop, ACardDragsOutAsItsFileAndDroppedFilesAreAdded)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir dir;
    for (const char* name : {"a.txt", "b.txt"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("text\n");
    }
    Target target;
    target.show();
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] { return target.windowHandle() && target.windowHandle()->isExposed(); }));

    QProcess harness;
    harness.start(QUILLON_TEST_BIN_DIR "/quillon-test-shelf", {dir.filePath("a.txt")});
    ASSERT_TRUE(harness.waitForStarted(5000));
    Lines out(harness);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !out.startingWith("ready ").isEmpty(); }, 15000));
    const QStringList parts = out.startingWith("ready ").split(' ');
    const QRect frame(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(), parts[4].toInt());

    quillon::testing::Typist typist;
    const QPoint card = frame.topLeft() + QPoint(16 + 31, 24 + 7 + 27);
    dragWithButton(typist, card, target.geometry().center());
    EXPECT_TRUE(quillon::testing::waitFor([&] { return !target.files.isEmpty(); }, 10000));
    EXPECT_EQ(target.files, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("a.txt"))});
    EXPECT_TRUE(quillon::testing::waitFor([&] { return out.has("dragout-accepted 1"); }, 10000))
        << out.text().toStdString();

    QProcess source;
    source.start(QUILLON_TEST_BIN_DIR "/quillon-test-dragsource", {dir.filePath("b.txt")});
    ASSERT_TRUE(source.waitForStarted(5000));
    Lines sourceOut(source);
    ASSERT_TRUE(
        quillon::testing::waitFor([&] { return !sourceOut.startingWith("ready ").isEmpty(); }, 10000));
    const QStringList area = sourceOut.startingWith("ready ").split(' ');
    const QRect sourceArea(area[1].toInt(), area[2].toInt(), area[3].toInt(), area[4].toInt());
    dragWithButton(typist, sourceArea.center(), frame.topLeft() + QPoint(frame.width() / 3, 24 + 40));
    EXPECT_TRUE(quillon::testing::waitFor([&] { return out.has("add " + dir.filePath("b.txt")); }, 10000))
        << out.text().toStdString();

    source.kill();
    source.waitForFinished(5000);
    harness.kill();
    harness.waitForFinished(5000);
}

} // namespace
