// The tour and the About, OCR and Colour panes on the virtual desktop: keys
// typed by XTest, the settings as the Linux store writes them, the panes as
// the real binary draws them.
#include "app/AppDelegate.h"
#include "common/Desktop.h"
#include "common/PaneDesktop.h"
#include "common/QuillonRun.h"
#include "common/Typist.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "platform/linux/LinuxPlatform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "ui/PaneForm.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/panes/AboutPane.h"
#include "ui/panes/GeneralPane.h"
#include "ui/tour/GettingStartedPane.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

constexpr uint8_t returnKey = 36;

/// The fake platform over the Linux defaults store in a folder of its own,
/// with the session's real permissions.
class TourPlatform final : public fakes::ForwardingPlatform {
public:
    TourPlatform()
        : store(folder.path(), fake.buildInfo().appId)
    {
    }
    platform::UserDefaults& userDefaults() override { return store; }
    platform::Permissions& permissions() override { return real.permissions(); }
    platform::UserNotifications& userNotifications() override { return real.userNotifications(); }
    /// The standard domain's file as JSON.
    QJsonObject file() const
    {
        QFile stored(folder.path() + "/" + fake.build.appId + ".json");
        return stored.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(stored.readAll()).object()
                                                : QJsonObject();
    }

    QTemporaryDir folder;
    platform::linux_::JsonUserDefaults store;
    platform::linux_::LinuxPlatform real;
};

QJsonObject integer(int value)
{
    return QJsonObject{{"type", "int"}, {"value", QString::number(value)}};
}

/// The application's settings window, placed on the virtual desktop.
struct TourRig {
    TourRig()
    {
        desktop.fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        controller().show();
        controller().window()->move(300, 100);
    }
    ~TourRig() { app.reset(); }
    SettingsWindowController& controller() { return app->settingsWindow(); }
    template <typename Pane> Pane* pane()
    {
        return controller().paneView() ? dynamic_cast<Pane*>(&controller().paneView()->paneView()) : nullptr;
    }
    bool until(const std::function<bool()>& condition)
    {
        return waitFor(
            [&] {
                desktop.fake.queue.drain();
                return condition();
            },
            testing::patientMs);
    }
    void click(QWidget* widget) { clickWidget(typist, widget); }

    TourPlatform desktop;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    testing::Typist typist;
};

TEST(GettingStartedDesktop, TakeTheTourThenReturnWalksOnAndSkipEndsOnGeneral)
{
    QUILLON_REQUIRE_DESKTOP();
    TourRig rig;
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    GeneralPane* general = rig.pane<GeneralPane>();
    ASSERT_NE(general, nullptr);
    rig.click(general->tourButton());
    ASSERT_TRUE(rig.until([&] { return rig.controller().selectedPane() == SettingsPane::gettingStarted; }));
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->isActiveWindow(); }));
    EXPECT_EQ(rig.pane<GettingStartedPane>()->titleLabel()->text(), "Welcome");

    for (int step = 1; step <= 3; ++step) {
        rig.typist.tap(returnKey);
        EXPECT_TRUE(rig.until([&] { return rig.desktop.file().value(SettingsKeys::onboardingIndex) == integer(step); }))
            << "after Return " << step << ": "
            << QJsonDocument(rig.desktop.file()).toJson().constData();
    }
    GettingStartedPane* tour = rig.pane<GettingStartedPane>();
    ASSERT_NE(tour, nullptr);
    EXPECT_TRUE(rig.until([&] { return tour->titleLabel()->text() == "Clipboard"; }));
    EXPECT_EQ(tour->counterLabel()->text(), "4 of 14");

    rig.click(tour->skipButton());
    EXPECT_TRUE(rig.until([&] { return rig.controller().selectedPane() == SettingsPane::general; }));
    EXPECT_EQ(rig.desktop.file().value(SettingsKeys::onboardingIndex), integer(14));
    EXPECT_EQ(rig.desktop.file().value(SettingsKeys::onboardingDismissed),
              (QJsonObject{{"type", "bool"}, {"value", true}}));
    EXPECT_NE(rig.pane<GeneralPane>(), nullptr);
}

TEST(GettingStartedDesktop, AboutReadsTheSessionsGrants)
{
    QUILLON_REQUIRE_DESKTOP();
    TourRig rig;
    rig.app->settings().setShelfAutoScreenshots(false);
    ASSERT_TRUE(rig.until([&] { return rig.controller().window()->windowHandle()->isExposed(); }));
    rig.click(rig.controller().window()->findChild<QWidget*>("row-about"));
    ASSERT_TRUE(rig.until([&] { return rig.pane<AboutPane>() != nullptr; }));
    AboutPane* about = rig.pane<AboutPane>();
    // The first four are the X11 session's; Notifications needs a server,
    // and none runs on the test's own bus here.
    EXPECT_TRUE(rig.until([&] {
        const auto rows = about->rows();
        if (rows.size() != 5)
            return false;
        for (int i = 0; i < 4; ++i) {
            if (rows[i]->content() != QStringList{"Granted"})
                return false;
        }
        return about->notificationsStatus() != platform::NotificationStatus::notDetermined;
    }));
    EXPECT_EQ(about->rows()[4]->content(), QStringList{"Open"});
}

TEST(GettingStartedDesktop, SnapshotsOfTheTourDifferByPosition)
{
    QUILLON_REQUIRE_DESKTOP();
    const auto snapshot = [](const QByteArray& settings, const QString& out) {
        QTemporaryDir home;
        testing::QuillonRun quillon(home, settings);
        if (!quillon.start({"--settings-png", out, "gettingStarted,about,ocr,colorPicker"}) ||
            !quillon.process.waitForFinished(60000))
            return false;
        EXPECT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
        return quillon.process.exitCode() == 0;
    };
    QTemporaryDir out;
    const QString welcome = out.path() + "/at0";
    const QString clipboard = out.path() + "/at3";
    ASSERT_TRUE(snapshot("{}", welcome));
    ASSERT_TRUE(snapshot(R"({"onboarding.index": {"type": "int", "value": "3"}})", clipboard));
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    for (const QString name : {"gettingStarted", "about", "ocr", "colorPicker"}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(bytes(welcome + "/" + name + ".png").isEmpty());
        EXPECT_FALSE(bytes(clipboard + "/" + name + ".png").isEmpty());
    }
    EXPECT_NE(bytes(welcome + "/gettingStarted.png"), bytes(clipboard + "/gettingStarted.png"));
    // Kept for a look by hand when QUILLON_KEEP_PNG names a folder.
    if (const QString keep = qEnvironmentVariable("QUILLON_KEEP_PNG"); !keep.isEmpty()) {
        testing::run("cp", {"-r", welcome, clipboard, keep});
    }
}

} // namespace
} // namespace quillon
