// The Snap and Jump panes in the application's settings window, on the
// virtual desktop: the real workspace tells the window which application the
// person came from, XTest clicks the rows and types into the letter prompt,
// and the settings land in the Linux defaults store of a temporary folder.
#include "app/AppDelegate.h"
#include "features/jump/JumpFeature.h"
#include "input/Leader.h"
#include "notch/NotchFeature.h"
#include "common/Desktop.h"
#include "common/PaneDesktop.h"
#include "common/QuillonRun.h"
#include "common/SplitScreen.h"
#include "common/TestWindows.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/Displays.h"
#include "platform/Platform.h"
#include "platform/Workspace.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/LinuxPlatform.h"
#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsPaneView.h"
#include "ui/SettingsWindowController.h"
#include "ui/controls/JumpBindingRow.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/SnapNowRow.h"
#include "ui/panes/JumpPane.h"
#include "ui/panes/SnapPane.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <optional>

namespace quillon {
namespace {

using platform::linux_::ClientInfo;
using platform::linux_::Ewmh;
using platform::linux_::X11Connection;
using testing::waitFor;

constexpr uint8_t xK = 45, xReturn = 36;
const QString fixtureId = QStringLiteral("quillon-fixture-quince");

std::string text(const QRect& r)
{
    return QString("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class PanesOverTheRealWorkspace : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            m_saved.emplace_back(name, qgetenv(name));
        qputenv("XDG_DATA_HOME", (m_home.path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + "/config").toUtf8());
        // The test window program is the one the fixture entry runs.
        const QString entry = m_home.path() + "/data/applications/" + fixtureId + ".desktop";
        QDir().mkpath(QFileInfo(entry).path());
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Quince Picker\nExec=quillon-test-window --title "
                   "Quince\n");
        file.close();
        m_platform = std::make_unique<platform::linux_::LinuxPlatform>();
        platform::setPlatform(m_platform.get());
        m_set = true;

        m_x = X11Connection::open();
        ASSERT_TRUE(m_x);
        m_ewmh = std::make_unique<Ewmh>(*m_x);
        m_window.emplace(QStringList{"--title", "Quince"});
        ASSERT_EQ(m_window->ids.size(), 1u);
        id = m_window->ids.front();
        auto& workspace = platform::platform().workspace();
        ASSERT_TRUE(waitFor([&] {
            const auto app = workspace.app(m_window->pid());
            return app && app->appId == fixtureId;
        }));
        // The person was working in the test window before opening settings.
        m_ewmh->activate(id);
        ASSERT_TRUE(waitFor([&] {
            const auto front = workspace.frontmostApp();
            return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW") == id && front &&
                   front->pid == m_window->pid();
        }));

        app = std::make_unique<AppDelegate>();
        controller().show();
        ASSERT_TRUE(waitFor([&] { return controller().window()->windowHandle()->isExposed(); }));
        waitFor([] { return false; }, 300);
    }
    void TearDown() override
    {
        if (!m_set)
            return;
        app.reset();
        m_window.reset();
        m_ewmh.reset();
        m_x.reset();
        m_platform.reset();
        for (const auto& [name, value] : m_saved)
            qputenv(name, value);
    }
    SettingsWindowController& controller() { return app->settingsWindow(); }
    void click(QWidget* widget) { clickWidget(typist, widget); }
    template <typename Pane> Pane* open(SettingsPane pane)
    {
        click(controller().window()->findChild<QWidget*>("row-" + pane.rawValue()));
        if (!waitFor([&] { return controller().selectedPane() == pane; }))
            return nullptr;
        waitFor([] { return false; }, 300);
        return dynamic_cast<Pane*>(&controller().paneView()->paneView());
    }
    QRect frame() { return m_ewmh->client(id, ClientInfo::Frame).frame.value_or(QRect()); }
    QRect workArea()
    {
        const auto a = m_ewmh->values32(m_x->root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL);
        return a.size() >= 4 ? QRect(int(a[0]), int(a[1]), int(a[2]), int(a[3])) : QRect();
    }
    /// The pinned letters as the standard domain's file holds them.
    QJsonObject storedLetters()
    {
        QFile file(m_home.path() + "/config/Quillon/" + platform::platform().buildInfo().appId + ".json");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        return stored.value(SettingsKeys::jumpForced).toObject().value("value").toObject();
    }

    /// A strip drawn at the top edge across the middle of the screen.
    bool stripShown()
    {
        const int middle = workArea().center().x();
        for (const testing::TopWindow& w : testing::overrideRedirectWindows(*m_x)) {
            if (w.geometry.top() == 0 && w.geometry.left() < middle && w.geometry.right() > middle &&
                w.geometry.width() > 100)
                return true;
        }
        return false;
    }

    std::unique_ptr<AppDelegate> app;
    xcb_window_t id = 0;
    testing::Typist typist;

private:
    QTemporaryDir m_home;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
    std::unique_ptr<platform::linux_::LinuxPlatform> m_platform;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::optional<testing::TestWindows> m_window;
    bool m_set = false;
};

using SnapPaneDesktop = PanesOverTheRealWorkspace;
using JumpPaneDesktop = PanesOverTheRealWorkspace;

TEST_F(SnapPaneDesktop, TheLeftRowSnapsTheWindowThePersonCameFrom)
{
    const QRect area = workArea();
    ASSERT_TRUE(area.isValid());
    const QRect half(area.x(), area.y(), area.width() / 2, area.height());
    ASSERT_NE(frame(), half);

    SnapPane* pane = open<SnapPane>(SettingsPane::snap);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->groupSections().size(), 6);
    EXPECT_FALSE(pane->groupSections().back()->hasContent()) << "one screen: no display group";
    SnapNowRow* left = nullptr;
    for (SnapNowRow* row : pane->findChildren<SnapNowRow*>()) {
        if (row->accessibleName() == "Left")
            left = row;
    }
    ASSERT_NE(left, nullptr);
    click(left);
    EXPECT_TRUE(waitFor([&] { return frame() == half; })) << text(frame()) << " wanted " << text(half);
    EXPECT_TRUE(controller().window()->isVisible());
}

TEST_F(SnapPaneDesktop, TheDisplayGroupShowsOnlyWithTwoScreens)
{
    SnapPane* pane = open<SnapPane>(SettingsPane::snap);
    ASSERT_NE(pane, nullptr);
    FormSection* displays = pane->groupSections().back();
    EXPECT_FALSE(displays->hasContent());
    const auto screens = [] { return platform::platform().displays().screens().size(); };
    {
        testing::SplitScreen split;
        ASSERT_TRUE(waitFor([&] { return screens() == 2; }));
        // Screens are counted at each redraw; any settings change brings one.
        pane->model().refresh();
        EXPECT_TRUE(waitFor([&] { return displays->hasContent(); }));
        EXPECT_EQ(displays->headerLabel()->text(), "Other displays");
    }
    ASSERT_TRUE(waitFor([&] { return screens() == 1; }));
    pane->model().refresh();
    EXPECT_TRUE(waitFor([&] { return !displays->hasContent(); }));
}

TEST_F(JumpPaneDesktop, ALetterTypedIntoThePromptPinsItToTheApp)
{
    JumpPane* pane = open<JumpPane>(SettingsPane::jump);
    ASSERT_NE(pane, nullptr);
    const auto apps = JumpPane::bindingApps(app->settings());
    const auto found = std::find_if(apps.begin(), apps.end(), [](const auto& each) { return each.bundleID == fixtureId; });
    ASSERT_NE(found, apps.end());
    const auto index = qsizetype(found - apps.begin());
    ASSERT_GT(pane->letterRows().size(), index);
    JumpBindingRow* row = pane->letterRows()[index];
    EXPECT_EQ(row->accessibleName(), found->name);

    // The prompt runs its own loop under the click: it is answered from a
    // timer of that loop, once it has the keyboard.
    bool typed = false;
    QTimer answer;
    answer.setInterval(100);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (typed || !dialog || !dialog->windowHandle() || !dialog->windowHandle()->isExposed() ||
            !dialog->isActiveWindow())
            return;
        auto* field = dialog->findChild<QLineEdit*>("letter");
        if (!field || !field->hasFocus())
            return;
        typed = true;
        typist.tap(xK);
        waitFor([&] { return field->text() == "k"; }, 3000);
        typist.tap(xReturn);
    });
    answer.start();
    click(row);
    EXPECT_TRUE(waitFor([&] { return typed; }));
    EXPECT_TRUE(waitFor([&] { return storedLetters().value("k").toString() == fixtureId; }))
        << QJsonDocument(storedLetters()).toJson().constData();
    EXPECT_EQ(storedLetters().size(), 1);
    EXPECT_TRUE(waitFor([&] {
        const auto rows = pane->letterRows();
        return index < rows.size() && rows[index]->badge() == QStringList{"K"};
    })) << "the pinned letter shows on the app's row";
}

TEST_F(JumpPaneDesktop, ShowMeDrawsTheHintStripWithTheRunningAppsLetters)
{
    app->settings().setJumpEnabled(true);
    app->settings().setNotchLeaderHints(true);
    app->notch().activate();
    app->jump().rebuildAutoBindings();
    JumpPane* pane = open<JumpPane>(SettingsPane::jump);
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(waitFor([&] { return !pane->showMeRow()->isHidden(); }));
    const auto items = app->jump().hintItems(Leader::command);
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const NotchBarItem& item) {
        return item.pulseKey == fixtureId && item.badge == "Q";
    })) << "the running test app has its letter in the strip";
    ASSERT_FALSE(stripShown());

    click(pane->showMeRow());
    EXPECT_TRUE(waitFor([&] { return stripShown(); }));
    EXPECT_TRUE(waitFor([&] { return !stripShown(); })) << "hidden again after a moment";
    app->notch().deactivate();
}

TEST(SnapPaneSnapshot, SnapAndJumpPanesRenderTopAndBottom)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    testing::QuillonRun quillon(home, false);
    const QString out = home.path() + "/png";
    ASSERT_TRUE(quillon.start({"--settings-png", out, "snap,jump"}));
    ASSERT_TRUE(quillon.process.waitForFinished(60000));
    ASSERT_EQ(quillon.process.exitCode(), 0) << quillon.process.readAllStandardError().toStdString();
    for (const QString name : {"snap", "snap-bottom", "jump", "jump-bottom"}) {
        SCOPED_TRACE(name.toStdString());
        const QImage image(out + "/" + name + ".png");
        ASSERT_FALSE(image.isNull());
        // Ink right of the sidebar: the pane drew, not an empty window.
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = image.width() / 4 + 20; x < image.width() - 20; ++x) {
                if (qGray(image.pixel(x, y)) < 110) {
                    ++inked;
                    break;
                }
            }
        }
        EXPECT_GT(inked, image.height() / 10);
    }
    EXPECT_NE(QImage(out + "/snap.png"), QImage(out + "/snap-bottom.png"));
    EXPECT_NE(QImage(out + "/jump.png"), QImage(out + "/jump-bottom.png"));
}

} // namespace
} // namespace quillon
