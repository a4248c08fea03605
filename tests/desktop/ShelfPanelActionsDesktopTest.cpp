#include "common/Desktop.h"
#include "common/DragSource.h"
#include "common/FileManagerService.h"
#include "common/Service.h"
#include "common/ShelfHarness.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QDBusConnection>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::platform::linux_;

namespace {

constexpr uint8_t xDown = 116, xReturn = 36;

class ShelfPanelActionsDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        ASSERT_TRUE(dir.isValid());
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("shelf text\n");
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(photo));
    }
    QString uri(const QString& path) const { return QUrl::fromLocalFile(path).toString(); }

    QTemporaryDir dir;
    const QString text = dir.filePath("notes.txt");
    const QString photo = dir.filePath("photo.png");
    Typist typist;
};

TEST_F(ShelfPanelActionsDesktop, ACardReleasedOverTheRootIsNotTakenAndReportsNothing)
{
    ShelfHarness shelf({text});
    ASSERT_TRUE(shelf.ready());
    const std::optional<QPoint> card = shelf.where("card0");
    ASSERT_TRUE(card);
    dragWithButton(typist, *card, QPoint(shelf.frame.left() - 150, shelf.frame.bottom() + 250));
    // The drag has ended when the pointer's moves give hover feedback again.
    waitFor([] { return false; }, 1500);
    EXPECT_FALSE(shelf.out.has("dragout-accepted 1")) << shelf.out.text().toStdString();
}

TEST_F(ShelfPanelActionsDesktop, CopiedAndCutCardsArePastedByFileManagersWithTheirMarks)
{
    ShelfHarness shelf({text});
    ASSERT_TRUE(shelf.ready());
    const std::optional<QPoint> copy = shelf.where("copy");
    ASSERT_TRUE(copy);
    clickAt(typist, *copy);
    ASSERT_TRUE(waitFor([&] { return !shelf.out.startingWith("cut-staged 0 ").isEmpty(); }))
        << shelf.out.text().toStdString();
    const QString copied = run("xclip", {"-o", "-selection", "clipboard", "-t", "x-special/gnome-copied-files"});
    EXPECT_EQ(copied, "copy\n" + uri(text));
    EXPECT_EQ(run("xclip", {"-o", "-selection", "clipboard", "-t", "text/uri-list"}), uri(text) + "\r\n");

    shelf.send("cut");
    ASSERT_TRUE(waitFor([&] { return !shelf.out.startingWith("cut-staged 1 ").isEmpty(); }));
    EXPECT_EQ(run("xclip", {"-o", "-selection", "clipboard", "-t", "x-special/gnome-copied-files"}),
              "cut\n" + uri(text));
    const QStringList targets =
        run("xclip", {"-o", "-selection", "clipboard", "-t", "TARGETS"}).split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(targets.contains("application/x-kde-cutselection")) << targets.join(' ').toStdString();
}

// The window that has the focus, by the window manager's account.
std::optional<QString> activeTitle(Ewmh& ewmh, X11Connection& x)
{
    const std::optional<xcb_window_t> active = ewmh.windowValue(x.root(), "_NET_ACTIVE_WINDOW");
    if (!active || *active == XCB_NONE)
        return std::nullopt;
    return ewmh.title(*active);
}

TEST_F(ShelfPanelActionsDesktop, PreviewShowsTheFileInAWindowThatTakesTheFocusUntilPressedAgain)
{
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);
    ShelfHarness shelf({photo, text});
    ASSERT_TRUE(shelf.ready());

    shelf.send("preview");
    // Qt adds the program's name to a window's title.
    EXPECT_TRUE(waitFor([&] { return activeTitle(ewmh, *x).value_or("").startsWith("photo.png"); }))
        << activeTitle(ewmh, *x).value_or("none").toStdString();
    const std::optional<xcb_window_t> window = ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW");
    ASSERT_TRUE(window);

    shelf.send("preview");
    EXPECT_TRUE(waitFor([&] {
        XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x->get(), xcb_get_window_attributes(x->get(), *window), nullptr));
        return !attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE;
    }));
}

TEST_F(ShelfPanelActionsDesktop, RevealFromTheMenuReachesTheFileManager)
{
    FileManagerService manager("shelf-file-manager");
    ASSERT_TRUE(manager.registered());
    {
        ShelfHarness shelf({text});
        ASSERT_TRUE(shelf.ready());
        const std::optional<QPoint> card = shelf.where("card0");
        ASSERT_TRUE(card);
        clickAt(typist, *card, 3);
        waitFor([] { return false; }, 500);
        // Open, then Reveal.
        typist.tap(xDown);
        typist.tap(xDown);
        typist.tap(xReturn);
        EXPECT_TRUE(waitFor([&] { return !manager.shown.isEmpty(); }));
        EXPECT_EQ(manager.shown, QStringList{uri(text)});
    }
}

TEST_F(ShelfPanelActionsDesktop, SendToDeviceGoesThroughKdeConnectAndIsHiddenWithoutIt)
{
    {
        ShelfHarness shelf({text});
        ASSERT_TRUE(shelf.ready());
        EXPECT_FALSE(shelf.where("airdrop"));
    }
    Service kdeconnect("quillon-test-kdeconnect");
    ASSERT_TRUE(kdeconnect.started);
    ShelfHarness shelf({text});
    ASSERT_TRUE(shelf.ready());
    ASSERT_TRUE(shelf.said("share-available")) << shelf.out.text().toStdString();
    const std::optional<QPoint> send = shelf.where("airdrop");
    ASSERT_TRUE(send);
    clickAt(typist, *send);
    EXPECT_TRUE(kdeconnect.waitForLine("shareUrl " + uri(text)));

    // The device gone: the button goes.
    kdeconnect.post("unpair");
    EXPECT_TRUE(shelf.said("share-unavailable"));
    EXPECT_FALSE(shelf.where("airdrop"));
}

TEST_F(ShelfPanelActionsDesktop, FilesFromAGtkProgramAreAddedOrWaitForAFormatOnTheConvertZone)
{
    ShelfHarness shelf({text});
    ASSERT_TRUE(shelf.ready());
    DragSource source("/usr/bin/python3", {QUILLON_SOURCE_DIR "/tests/tools/gtk-dragsource.py", photo});
    ASSERT_TRUE(source.waitReady());

    dragWithButton(typist, source.area.center(), shelf.frame.topLeft() + QPoint(shelf.frame.width() / 3, 24 + 40));
    EXPECT_TRUE(shelf.said("add " + photo)) << shelf.out.text().toStdString();

    // Again, onto the convert zone that the drag brings up.
    typist.moveTo(source.area.center().x(), source.area.center().y());
    waitFor([] { return false; }, 150);
    typist.button(1, true);
    const QPoint over = shelf.frame.center();
    for (int i = 1; i <= 30; ++i) {
        const QPoint at = source.area.center() + (over - source.area.center()) * i / 30;
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 40);
    }
    std::optional<QPoint> zone;
    waitFor([&] { return (zone = shelf.where("convert")).has_value(); });
    ASSERT_TRUE(zone) << shelf.out.text().toStdString();
    for (int i = 1; i <= 10; ++i) {
        const QPoint at = over + (*zone - over) * i / 10;
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 40);
    }
    waitFor([] { return false; }, 300);
    typist.button(1, false);

    std::optional<QPoint> first;
    ASSERT_TRUE(waitFor([&] { return (first = shelf.where("format0")).has_value(); }))
        << shelf.out.text().toStdString();
    clickAt(typist, *first);
    EXPECT_TRUE(shelf.said("convert JPG " + photo)) << shelf.out.text().toStdString();
}

} // namespace
