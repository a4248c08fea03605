// The shelf at the notch in a running quillon: a file dragged from a GTK
// program towards the top centre, and the open shelf's keys.
#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/DragSource.h"
#include "common/HeldKeys.h"
#include "common/KeyWindow.h"
#include "common/ShelfDesktop.h"
#include "fakes/FakePlatform.h"
#include "shelf/ShelfStore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::ShelfStore;
using quillon::platform::linux_::XcbReply;

// X key codes (evdev + 8).
constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xLeftCtrl = 37, xS = 39, xX = 53, xV = 55, xEscape = 9;

class ShelfControllerDesktop : public ShelfDesktop {
protected:
    void SetUp() override
    {
        ShelfDesktop::SetUp();
        QDir().mkpath(files.path());
    }
    QString file(const QString& name)
    {
        QFile f(files.path() + "/" + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name.toUtf8().repeated(50));
        return f.fileName();
    }
    int logCount(const QString& text) { return int(quillon->log().count(text)); }

    QTemporaryDir files;
};

TEST_F(ShelfControllerDesktop, AFileDragNearTheTopCentreShowsTheCueOpensWithinReachAndTheDropAddsAnItem)
{
    startQuillon();
    DragSource source("/usr/bin/python3",
                      {QUILLON_SOURCE_DIR "/tests/tools/gtk-dragsource.py", file("report.txt")});
    ASSERT_TRUE(source.waitReady());
    waitFor([] { return false; }, 300);
    QPoint at = source.area.center();
    typist.moveTo(at.x(), at.y());
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    glide(at, {centre - 300, 300});
    ASSERT_TRUE(waitFor([&] { return cue().has_value(); })) << "no \"drop files here\" cue";
    EXPECT_FALSE(shelf());
    const QRect chip = *cue();

    // Within 44 points of the cue the shelf springs open (X11 y runs down).
    glide(at, {chip.left() - 40, chip.bottom() + 30});
    ASSERT_TRUE(waitFor([&] { return logCount("Shelf: drag came within reach") == 1; }))
        << quillon->log().toStdString();
    ASSERT_TRUE(waitFor([&] { return shelf().has_value(); }));
    EXPECT_FALSE(cue()) << "the cue gives way to the open shelf";
    const QRect panel = *shelf();

    // 25 points beyond it, it closes, and the cue comes back.
    glide(at, {panel.right() + 26, panel.center().y()}, 6);
    ASSERT_TRUE(waitFor([&] { return logCount("Shelf: drag left the shelf") == 1; }))
        << quillon->log().toStdString();
    EXPECT_TRUE(waitFor([&] { return !shelf() && cue(); }));

    // Back within reach it opens again, and the drop adds an item.
    glide(at, {centre, 10}, 8);
    ASSERT_TRUE(waitFor([&] { return logCount("Shelf: drag came within reach") == 2 && shelf(); }));
    glide(at, shelf()->center(), 6);
    waitFor([] { return false; }, 200);
    typist.button(1, false);
    ASSERT_TRUE(waitFor([&] { return itemCount() == 1; })) << quillon->log().toStdString();
    EXPECT_TRUE(shelf()) << "dropped on the shelf: it stays open";

    // Away from it, the shelf closes at the first click outside; the chip shows the count.
    at = {centre, 500};
    typist.moveTo(at.x(), at.y());
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return !shelf() && topWindow(24, 60).has_value(); }));
}

TEST_F(ShelfControllerDesktop, EscapeClosesTheShelfAndNeverReachesTheFocusedWindow)
{
    {
        quillon::fakes::FakePlatform fake;
        ShelfStore store(shelfFolder());
        store.add({QUrl::fromLocalFile(file("a.txt"))});
        store.add({QUrl::fromLocalFile(file("b.txt"))});
    }
    ASSERT_EQ(itemCount(), 2);
    startQuillon();
    KeyWindow window;
    ASSERT_TRUE(window.waitReady());
    waitFor([] { return false; }, 1000);
    QProcess::execute("xdotool", {"windowactivate", "--sync", window.windowId});
    // The pointer rests far from the notch.
    typist.moveTo(centre, 600);

    // The chord opens the shelf, which holds files.
    {
        HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        waitFor([] { return false; }, 400);
        typist.tap(xS);
    }
    ASSERT_TRUE(waitFor([&] { return shelf().has_value(); })) << quillon->log().toStdString();

    // S has no share service to click: it reaches the window.
    const int before = window.count("press", xS);
    typist.tap(xS);
    ASSERT_TRUE(window.waitReleased(xS, 1));
    EXPECT_EQ(window.count("press", xS), before + 1);
    EXPECT_TRUE(shelf());

    // Ctrl+X on the shelf, then Ctrl+V in the window: the files stay where
    // they are, so the items stay.
    typist.key(xLeftCtrl, true);
    typist.tap(xX);
    typist.key(xLeftCtrl, false);
    EXPECT_EQ(window.count("press", xX), 0) << "Ctrl+X is the shelf's";
    waitFor([] { return false; }, 300);
    typist.key(xLeftCtrl, true);
    typist.tap(xV);
    typist.key(xLeftCtrl, false);
    ASSERT_TRUE(window.waitReleased(xV, 1)) << "Ctrl+V reaches the window";
    ASSERT_TRUE(waitFor([&] {
        return quillon->log().contains("Shelf: after the paste 0 of 2 cut item(s) had left");
    })) << quillon->log().toStdString();
    EXPECT_EQ(itemCount(), 2);

    // The pointer comes to rest at the top centre, over the shelf and where
    // the chip will show.
    typist.moveTo(centre, 4);
    waitFor([] { return false; }, 300);
    typist.tap(xEscape);
    ASSERT_TRUE(waitFor([&] { return !shelf(); }));
    EXPECT_EQ(window.count("press", xEscape), 0);
    // The chip mapped under the resting pointer does not open it again.
    EXPECT_TRUE(waitFor([&] { return topWindow(24, 60).has_value(); })) << "no chip with the count";
    waitFor([] { return false; }, 800);
    EXPECT_FALSE(shelf());
    EXPECT_EQ(logCount("Shelf: expand at"), 1);
}

TEST_F(ShelfControllerDesktop, AScreenshotSavedIntoTheScreenshotFolderLandsOnTheShelf)
{
    const QString shots = files.path() + "/Shots";
    QDir().mkpath(shots);
    QDir().mkpath(home.path() + "/config");
    {
        QFile rc(home.path() + "/config/spectaclerc");
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        rc.write("[ImageSave]\nimageSaveLocation=" + QUrl::fromLocalFile(shots).toEncoded() + "\n");
    }
    startQuillon(R"({"diagnostics.logging": {"type": "bool", "value": true},
                    "shelf.autoScreenshots": {"type": "bool", "value": true},
                    "shelf.isEnabled": {"type": "bool", "value": true}})");
    ASSERT_TRUE(waitFor([&] { return quillon->log().contains("ScreenshotWatcher: watching for captures"); }))
        << quillon->log().toStdString();
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(shots + "/Screenshot_1.png"));
    ASSERT_TRUE(waitFor([&] { return itemCount() == 1; })) << quillon->log().toStdString();
    EXPECT_TRUE(waitFor([&] { return quillon->log().contains("Shelf: stashed 1, 0 duplicate(s), 1 held"); }));
    EXPECT_FALSE(shelf()) << "stashing does not open the shelf";
}

} // namespace
