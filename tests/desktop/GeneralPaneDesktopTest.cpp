#include "BuildInfoValues.h"
#include "app/AppDelegate.h"
#include "common/Desktop.h"
#include "common/DragSource.h"
#include "common/FileManagerService.h"
#include "common/QuillonRun.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "features/snippets/SnippetsFeature.h"
#include "platform/linux/LinuxPlatform.h"
#include "settings/Settings.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"
#include "ui/panes/BackupDropArea.h"
#include "ui/panes/GeneralPane.h"
#include "ui/panes/SettingsBackup.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

/// The fake platform, with the real file manager link.
class BackupPlatform final : public fakes::ForwardingPlatform {
public:
    platform::Workspace& workspace() override { return real.workspace(); }
    platform::linux_::LinuxPlatform real;
};

/// The General pane in a window of the test's own, over the application's
/// own feature bundle (nothing launched).
struct PaneRig {
    PaneRig()
    {
        desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        model = std::make_unique<SettingsModel>(app->settingsWindow().features());
        window = std::make_unique<QWidget>();
        pane = new GeneralPane(*model);
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(pane);
        window->setWindowTitle("general pane");
        window->setGeometry(420, 120, 640, 520);
        window->show();
        pane->reload();
    }
    ~PaneRig()
    {
        window.reset();
        model.reset();
        app.reset();
    }
    /// Waits with the fake main queue running.
    bool until(const std::function<bool()>& condition)
    {
        return waitFor(
            [&] {
                desktop.fake.queue.drain();
                return condition();
            },
            10000);
    }
    /// Scrolls `widget` into view and answers its centre on the screen.
    QPoint bring(QWidget* widget)
    {
        pane->findChild<PaneForm*>()->ensureWidgetVisible(widget, 10, 10);
        waitFor([] { return false; }, 200);
        return widget->mapToGlobal(widget->rect().center());
    }
    Settings& settings() { return app->settings(); }

    BackupPlatform desktop;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    std::unique_ptr<SettingsModel> model;
    std::unique_ptr<QWidget> window;
    GeneralPane* pane = nullptr;
};

TEST(GeneralPaneDesktop, SaveToDesktopWritesTheFileAndShowsIt)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::FileManagerService manager("general-file-manager");
    ASSERT_TRUE(manager.registered());
    {
        PaneRig rig;
        rig.settings().setShelfEnabled(false);
        ASSERT_TRUE(rig.until([&] { return rig.window->windowHandle()->isExposed(); }));
        QPushButton* save = rig.pane->saveButton();
        ASSERT_EQ(save->text(), "Save Settings to Desktop");
        const QPoint at = rig.bring(save);
        testing::Typist typist;
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 100);
        typist.button(1, true);
        typist.button(1, false);

        const QString path = rig.desktop.fake.pathsImpl.desktopDir() + "/Quillon-Settings.json";
        EXPECT_TRUE(rig.until([&] { return !manager.shown.isEmpty(); }));
        EXPECT_EQ(manager.shown, QStringList{QUrl::fromLocalFile(path).toString()});
        EXPECT_EQ(rig.pane->backupStatusLabel()->text(), "Saved to the Desktop");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(rig.settings().importJSON(QString::fromUtf8(file.readAll())));
    }
}

TEST(GeneralPaneDesktop, ASettingsFileDroppedFromAnotherProgramIsImported)
{
    QUILLON_REQUIRE_DESKTOP();
    PaneRig rig;
    QTemporaryDir dir;
    // A backup with the clipboard on and one snippet, made before the change.
    rig.settings().setClipboardEnabled(true);
    const QString backup = dir.path() + "/Quillon-Settings.json";
    {
        QFile file(backup);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rig.settings()
                       .exportJSON({{"snippets",
                                     QJsonArray{QJsonObject{{"trigger", "addr"}, {"body", "1 Main St"}}}}})
                       .toUtf8());
    }
    rig.settings().setClipboardEnabled(false);
    ASSERT_TRUE(rig.until([&] { return rig.window->windowHandle()->isExposed(); }));
    const QPoint to = rig.bring(rig.pane->dropArea());

    testing::DragSource source(QUILLON_TEST_BIN_DIR "/quillon-test-dragsource", {backup});
    ASSERT_TRUE(source.waitReady());
    waitFor([] { return false; }, 300);
    const QPoint from = source.area.center();
    testing::Typist typist;
    typist.moveTo(from.x(), from.y());
    waitFor([] { return false; }, 100);
    typist.button(1, true);
    constexpr int steps = 30;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 40);
    }
    EXPECT_TRUE(waitFor([&] { return rig.pane->dropArea()->isTargeted(); }, 10000));
    typist.button(1, false);

    ASSERT_TRUE(rig.until([&] { return rig.pane->backup().status().has_value(); }));
    EXPECT_EQ(rig.pane->backupStatusLabel()->text(), "Settings imported · 1 snippet");
    EXPECT_TRUE(rig.settings().isClipboardEnabled());
    const auto& snippets = rig.app->settingsWindow().features().snippets.store().all();
    ASSERT_FALSE(snippets.empty());
    EXPECT_EQ(snippets.back().trigger, "addr");
    EXPECT_FALSE(rig.pane->dropArea()->isTargeted());
}

// The window that shows `title` for the process, visible or not.
QString windowOf(const QProcess& process, const QString& title, bool visible)
{
    QStringList arguments{"search"};
    if (visible)
        arguments << "--onlyvisible";
    arguments << "--pid" << QString::number(process.processId()) << "--name"
              << "^" + title + "$";
    return testing::run("xdotool", arguments).section('\n', 0, 0).trimmed();
}

TEST(GeneralPaneDesktop, ASecondLaunchOpensTheSettingsWindowOnGeneral)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    testing::QuillonRun first(home, true);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(waitFor(
        [&] {
            return QDBusConnection::sessionBus().interface()->servicePid(QUILLON_APP_ID).value() ==
                   uint(first.process.processId());
        },
        10000));
    // Without a tray the window opens at launch: close it first.
    if (first.waitForSettingsWindow()) {
        const QString shown = windowOf(first.process, "General", true);
        ASSERT_FALSE(shown.isEmpty());
        testing::run("xdotool", {"windowactivate", "--sync", shown});
        testing::run("xdotool", {"key", "--clearmodifiers", "ctrl+w"});
        ASSERT_TRUE(waitFor([&] { return windowOf(first.process, "General", true).isEmpty(); }, 10000));
    }

    testing::QuillonRun second(home, true);
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(second.process.waitForFinished(10000));
    EXPECT_TRUE(waitFor([&] { return !windowOf(first.process, "General", true).isEmpty(); }, 10000))
        << first.log().toStdString();
}

TEST(GeneralPaneDesktop, SnapshotDrawsEverySection)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    testing::QuillonRun quillon(home, false);
    const QString out = home.path() + "/png";
    ASSERT_TRUE(quillon.start({"--settings-png", out, "general"}));
    ASSERT_TRUE(quillon.process.waitForFinished(60000));
    ASSERT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
    const QImage image = QImage(out + "/general.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    // Text right of the sidebar in every quarter of the height: the sections
    // fill the pane, not a title alone. Secondary text is text too: a quarter
    // may hold mostly sub-lines and section footers.
    const int quarter = image.height() / 4;
    for (int band = 0; band < 4; ++band) {
        SCOPED_TRACE(band);
        int inked = 0;
        for (int y = band * quarter; y < (band + 1) * quarter; ++y) {
            for (int x = image.width() / 4 + 20; x < image.width() - 20; ++x) {
                if (qGray(image.pixel(x, y)) < 140) {
                    ++inked;
                    break;
                }
            }
        }
        EXPECT_GT(inked, quarter / 8);
    }
}

} // namespace
} // namespace quillon
