#include "app/AppDelegate.h"
#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/Typist.h"
#include "features/awake/AwakeFeature.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "settings/Settings.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/PaneKit.h"

#include <QAbstractItemView>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

/// The fake platform over the Linux defaults store in a folder of its own.
class StorePlatform final : public fakes::ForwardingPlatform {
public:
    StorePlatform()
        : store(folder.path(), fake.buildInfo().appId)
    {
    }
    platform::UserDefaults& userDefaults() override { return store; }
    /// The stored value of `key` in the standard domain's file, as JSON.
    QJsonValue stored(const QString& key) const
    {
        QFile file(folder.path() + "/" + fake.build.appId + ".json");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object().value(key);
    }

    QTemporaryDir folder;
    platform::linux_::JsonUserDefaults store;
};

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
    bool until(const std::function<bool()>& condition)
    {
        return waitFor(
            [&] {
                desktop.fake.queue.drain();
                return condition();
            },
            testing::patientMs);
    }
    void click(QWidget* widget, QPoint at = {})
    {
        if (auto* form = widget->window()->findChild<PaneForm*>())
            form->ensureWidgetVisible(widget, 10, 10);
        waitFor([] { return false; }, 200);
        const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
        typist.moveTo(global.x(), global.y());
        waitFor([] { return false; }, 100);
        typist.button(1, true);
        typist.button(1, false);
    }
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
    QTemporaryDir home;
    testing::QuillonRun quillon(home, false);
    const QString out = home.path() + "/png";
    ASSERT_TRUE(quillon.start({"--settings-png", out, "awake,breaks,notch,shelf"}));
    ASSERT_TRUE(quillon.process.waitForFinished(60000));
    ASSERT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
    QSet<QByteArray> hashes;
    for (const QString name : {"awake", "breaks", "notch", "shelf"}) {
        SCOPED_TRACE(name.toStdString());
        QFile file(out + "/" + name + ".png");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        hashes.insert(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
        const QImage image = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        // Text right of the sidebar in each half: sections, not a header alone.
        for (int half = 0; half < 2; ++half) {
            int inked = 0;
            for (int y = half * image.height() / 2; y < (half + 1) * image.height() / 2; ++y) {
                for (int x = image.width() / 4 + 20; x < image.width() - 20; ++x) {
                    if (qGray(image.pixel(x, y)) < 110) {
                        ++inked;
                        break;
                    }
                }
            }
            EXPECT_GT(inked, image.height() / 20) << "half " << half;
        }
    }
    EXPECT_EQ(hashes.size(), 4);
}

} // namespace
} // namespace quillon
