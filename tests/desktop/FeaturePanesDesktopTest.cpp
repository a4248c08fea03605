#include "app/AppDelegate.h"
#include "common/PaneDesktop.h"
#include "features/awake/AwakeFeature.h"
#include "settings/Settings.h"
#include "support/AppFiles.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/SnippetBodyEditor.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/ClipboardPane.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/SnippetEditor.h"
#include "ui/panes/SnippetsPane.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>
#include <map>

namespace quillon {
namespace {

using testing::waitFor;

using testing::StorePlatform;

/// The application's settings window on the virtual desktop, with settings
/// changes reconciled as the running application does.
struct WindowRig {
    WindowRig()
    {
        desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        app->settings().addObserver([this] { app->reconcile(); });
        controller().show();
        controller().window()->move(300, 100);
    }
    ~WindowRig() { app.reset(); }
    SettingsWindowController& controller() { return app->settingsWindow(); }
    bool until(const std::function<bool()>& condition) { return desktop.until(condition); }
    void click(QWidget* widget, QPoint at = {}) { testing::clickWidget(typist, widget, at); }
    /// Opens the pane through its sidebar row.
    template <typename Pane> Pane* open(SettingsPane pane)
    {
        click(controller().window()->findChild<QWidget*>("row-" + pane.rawValue()));
        if (!until([&] { return controller().selectedPane() == pane; }))
            return nullptr;
        return dynamic_cast<Pane*>(&controller().paneView()->paneView());
    }
    /// Picks an entry of a pop-up with the pointer.
    bool choose(ChoiceBox* box, const QString& title)
    {
        click(box);
        QAbstractItemView* list = box->view();
        if (!until([&] { return list->isVisible(); }))
            return false;
        waitFor([] { return false; }, 300);
        const QModelIndex index = list->model()->index(box->findText(title), 0);
        list->scrollTo(index);
        click(list->viewport(), list->visualRect(index).center());
        return until([&] { return !list->isVisible(); });
    }

    StorePlatform desktop;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    testing::Typist typist;
};

TEST(FeaturePanesDesktop, ChoicesMadeInThePanesLandInTheStoredFile)
{
    QUILLON_REQUIRE_DESKTOP();
    WindowRig rig;
    rig.app->settings().set(0, SettingsKeys::awakeDurationMinutes);
    rig.app->settings().setBreaksWorkIntervalMinutes(20);
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));

    AwakePane* awake = rig.open<AwakePane>(SettingsPane::awake);
    ASSERT_NE(awake, nullptr);
    rig.click(awake->modeControl()->buttons()[1]);
    EXPECT_TRUE(rig.until([&] { return rig.desktop.stored(SettingsKeys::awakeDurationMinutes) ==
                                        QJsonObject{{"type", "int"}, {"value", "60"}}; }))
        << QJsonDocument(rig.desktop.stored(SettingsKeys::awakeDurationMinutes).toObject()).toJson().constData();

    // The header's switch starts a timed session, shown after the redraw.
    rig.click(awake->findChild<FeatureHeader*>()->masterSwitch());
    ASSERT_TRUE(rig.until([&] { return rig.app->awake().isActive(); }));
    EXPECT_TRUE(rig.until([&] { return !awake->runningRow()->isHidden(); }));
    EXPECT_TRUE(awake->runningText().startsWith("until ")) << awake->runningText().toStdString();
    rig.click(awake->findChild<FeatureHeader*>()->masterSwitch());
    EXPECT_TRUE(rig.until([&] { return !rig.app->awake().isActive() && awake->runningRow()->isHidden(); }));

    BreaksPane* breaks = rig.open<BreaksPane>(SettingsPane::breaks);
    ASSERT_NE(breaks, nullptr);
    ASSERT_TRUE(rig.choose(breaks->workIntervalBox(), "45 minutes"));
    EXPECT_TRUE(rig.until([&] { return rig.desktop.stored(SettingsKeys::breaksWorkIntervalMinutes) ==
                                        QJsonObject{{"type", "int"}, {"value", "45"}}; }))
        << QJsonDocument(rig.desktop.stored(SettingsKeys::breaksWorkIntervalMinutes).toObject()).toJson().constData();
    EXPECT_EQ(breaks->workIntervalBox()->currentText(), "45 minutes");
}

TEST(FeaturePanesDesktop, SnapshotsOfTheFourPanesDiffer)
{
    QUILLON_REQUIRE_DESKTOP();
    testing::expectDistinctSnapshots({"awake", "breaks", "notch", "shelf"});
}

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xA = 38, xD = 40, xR = 27, xM = 58, xI = 31, xN = 57, xS = 39, xT = 28, x1 = 10, x2 = 11,
                  xSpace = 65, xShift = 50;

TEST(FeaturePanesDesktop, SnippetsPaneShowsTheClipboardAndSavesATypedSnippet)
{
    QUILLON_REQUIRE_DESKTOP();
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-i"});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write("hello");
    xclip.closeWriteChannel();
    WindowRig rig;
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));

    SnippetsPane* pane = rig.open<SnippetsPane>(SettingsPane::snippets);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(rig.until([&] { return pane->exampleLabel("{clipboard}")->text() == "hello"; }))
        << pane->exampleLabel("{clipboard}")->text().toStdString();

    rig.click(pane->newButton());
    ASSERT_TRUE(rig.until([&] { return pane->editor() && pane->editor()->isVisible(); }));
    SnippetEditor* editor = pane->editor();
    waitFor([] { return false; }, 300);
    const auto type = [&](std::initializer_list<uint8_t> keys, bool shifted = false) {
        if (shifted)
            rig.typist.key(xShift, true);
        for (const uint8_t key : keys)
            rig.typist.tap(key);
        if (shifted)
            rig.typist.key(xShift, false);
    };
    rig.click(editor->nameField());
    ASSERT_TRUE(rig.until([&] { return editor->nameField()->hasFocus(); }));
    type({xA, xD, xD, xR});
    ASSERT_TRUE(rig.until([&] { return editor->nameField()->text() == "addr"; }))
        << editor->nameField()->text().toStdString();
    rig.click(editor->bodyEditor());
    ASSERT_TRUE(rig.until([&] { return editor->bodyEditor()->hasFocus(); }));
    type({x1, x2, xSpace});
    type({xM}, true);
    type({xA, xI, xN, xSpace});
    type({xS}, true);
    type({xT});
    ASSERT_TRUE(rig.until([&] { return editor->bodyEditor()->text() == "12 Main St"; }))
        << editor->bodyEditor()->text().toStdString();
    rig.click(editor->saveButton());

    const auto stored = [] {
        QFile file(AppFiles::root() + "/Snippets.json");
        if (!file.open(QIODevice::ReadOnly))
            return QJsonArray();
        return QJsonDocument::fromJson(file.readAll()).array();
    };
    ASSERT_TRUE(rig.until([&] { return stored().size() == 1; }));
    EXPECT_EQ(stored()[0].toObject().value("trigger").toString(), "addr");
    EXPECT_EQ(stored()[0].toObject().value("body").toString(), "12 Main St");
    EXPECT_TRUE(rig.until([&] { return pane->rows().size() == 1 && pane->editor() == nullptr; }));
    xclip.kill();
    xclip.waitForFinished(5000);
}

TEST(FeaturePanesDesktop, SnapshotsOfTheClipboardAndSnippetsPanesShowTheStores)
{
    QUILLON_REQUIRE_DESKTOP();
    const auto snapshot = [](bool fixtures) {
        QTemporaryDir home;
        if (fixtures) {
            const QString data = home.path() + "/data/Quillon";
            QDir().mkpath(data);
            const auto write = [&](const QString& name, const QByteArray& bytes) {
                QFile file(data + "/" + name);
                EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(bytes);
            };
            write("Clipboard.json", R"([{"text":"Meeting notes for Tuesday","firstCopiedAt":786000000},)"
                                    R"({"text":"https:\/\/example.org\/a\/b","firstCopiedAt":786000100},)"
                                    R"({"text":"ssh deploy@build-07","firstCopiedAt":786000200}])");
            write("ClipboardPins.json",
                  R"({"pins":[{"text":"ssh deploy@build-07","firstCopiedAt":786000200}],)"
                  R"("manualOrder":false})");
            write("Snippets.json", R"([{"id":"00000000-0000-0000-0000-000000000001","trigger":"addr",)"
                                   R"("body":"12 Main St\nSpringfield"},)"
                                   R"({"id":"00000000-0000-0000-0000-000000000002","trigger":"sig",)"
                                   R"("body":"Best, Ann"}])");
        }
        testing::QuillonRun quillon(home, false);
        const QString out = home.path() + "/png";
        EXPECT_TRUE(quillon.start({"--settings-png", out, "clipboard,snippets"}));
        EXPECT_TRUE(quillon.process.waitForFinished(60000));
        EXPECT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
        std::map<QString, QByteArray> images;
        for (const QString name : {"clipboard", "snippets"}) {
            QFile file(out + "/" + name + ".png");
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            images[name] = file.readAll();
            // Kept for a person to look at.
            const QString keep = qEnvironmentVariable("QUILLON_KEEP_PNG");
            if (!keep.isEmpty())
                QFile::copy(out + "/" + name + ".png",
                            keep + "/" + name + (fixtures ? "-stored" : "-empty") + ".png");
        }
        return images;
    };
    const auto stored = snapshot(true);
    const auto empty = snapshot(false);
    for (const QString name : {"clipboard", "snippets"}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(stored.at(name).isEmpty());
        ASSERT_FALSE(empty.at(name).isEmpty());
        EXPECT_FALSE(QImage::fromData(stored.at(name), "PNG").isNull());
        // The lists lie below the header, whose folder path differs anyway.
        const QImage full = QImage::fromData(stored.at(name), "PNG");
        const QRect lists(0, full.height() / 2, full.width(), full.height() - full.height() / 2);
        EXPECT_NE(full.copy(lists), QImage::fromData(empty.at(name), "PNG").copy(lists));
    }
}

TEST(FeaturePanesDesktop, ClipboardPanePinsClearsAndSavesAnEntryAsASnippet)
{
    QUILLON_REQUIRE_DESKTOP();
    WindowRig rig;
    QDir().mkpath(AppFiles::root());
    {
        QFile history(AppFiles::root() + "/Clipboard.json");
        ASSERT_TRUE(history.open(QIODevice::WriteOnly));
        history.write(
            ClipboardStore::encode({{"first copy", QDateTime::currentDateTimeUtc()},
                                    {"second copy\nwith a second line", QDateTime::currentDateTimeUtc()}}));
    }
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    ClipboardPane* pane = rig.open<ClipboardPane>(SettingsPane::clipboard);
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(rig.until([&] { return pane->rows().size() == 2; }));

    const auto pinsFile = [] {
        QFile file(AppFiles::root() + "/ClipboardPins.json");
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    };
    rig.click(pane->rows()[1]->pinButton());
    ASSERT_TRUE(rig.until([&] { return pinsFile().value("pins").toArray().size() == 1; }));
    EXPECT_TRUE(rig.until(
        [&] { return pane->rows()[0]->pinned() && pane->rows()[0]->entry().text.startsWith("second"); }));

    rig.click(pane->clearButton());
    const auto historyFile = [] {
        QFile file(AppFiles::root() + "/Clipboard.json");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ASSERT_TRUE(rig.until([&] { return historyFile() == "[]"; })) << historyFile().constData();
    EXPECT_EQ(pinsFile().value("pins").toArray().size(), 1) << "the pins stay";
    EXPECT_TRUE(rig.until([&] { return pane->rows().size() == 1; }));

    rig.click(pane->rows()[0]->saveButton());
    ASSERT_TRUE(rig.until([&] { return pane->editor() != nullptr; }));
    EXPECT_EQ(pane->editor()->bodyEditor()->text(), "second copy\nwith a second line");
    rig.click(pane->editor()->cancelButton());
    EXPECT_TRUE(rig.until([&] { return pane->editor() == nullptr; }));
    EXPECT_FALSE(QFile::exists(AppFiles::root() + "/Snippets.json"));
}

} // namespace
} // namespace quillon
