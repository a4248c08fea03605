#include "PaneFixture.h"

#include "permissions/ScreenRecordingPermission.h"
#include "settings/Settings.h"
#include "ui/panes/AboutPane.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace quillon {
namespace {

using platform::AutomationConsent;
using platform::NotificationStatus;

struct AboutPaneTest : testing::PaneFixture<AboutPane> {
    ~AboutPaneTest() override { ScreenRecordingPermission::grantedAtLaunch = false; }

    /// Each row as its title and what it offers: "✓" granted, "?" a request,
    /// "–" only the way to the settings.
    static QStringList summary(const std::vector<AboutPermItem>& items)
    {
        QStringList rows;
        for (const AboutPermItem& item : items)
            rows << item.title + (item.granted ? " ✓" : item.request ? " ?" : " –");
        return rows;
    }
    QStringList shownRows()
    {
        QStringList rows;
        for (AboutPermissionRow* row : pane().rows())
            rows << row->content().join('/');
        return rows;
    }
    AboutPermissionRow* row(int index) { return pane().rows().value(index); }
};

PermissionActions everyAction()
{
    PermissionActions actions;
    actions.requestAccessibility = [] {};
    actions.requestPostEvents = [] {};
    actions.requestScreenCapture = [] {};
    actions.requestAutomation = [] {};
    actions.requestNotifications = [] {};
    actions.open = [](platform::SettingsPage) {};
    return actions;
}

TEST_F(AboutPaneTest, PermissionRowsFollowEachSnapshot)
{
    PermissionFacts session;
    session.accessibility = true;
    session.postEvents = true;
    session.screenCapture = true;
    session.automation = AutomationConsent::granted;
    session.notifications = NotificationStatus::granted;

    PermissionFacts nothing;
    nothing.automation = AutomationConsent::denied;
    nothing.notifications = NotificationStatus::notDetermined;

    PermissionFacts denied = nothing;
    denied.notifications = NotificationStatus::denied;

    PermissionFacts atLaunchOnly = session;
    atLaunchOnly.screenCaptureAtLaunch = true;
    atLaunchOnly.screenCapture = false;

    PermissionFacts unreadable = session;
    unreadable.screenshotFolderReadable = false;

    const QStringList titles{"Accessibility", "Send Keystrokes", "Screen Recording", "Automation (File Manager)",
                             "Notifications"};
    const struct {
        const char* name;
        PermissionFacts facts;
        bool stashing;
        QStringList rows;
    } cases[] = {
        {"an X11 session with a notification server", session, false,
         {"Accessibility ✓", "Send Keystrokes ✓", "Screen Recording ✓", "Automation (File Manager) ✓",
          "Notifications ✓"}},
        {"nothing yet, answers pending", nothing, false,
         {"Accessibility ?", "Send Keystrokes ?", "Screen Recording ?", "Automation (File Manager) ?",
          "Notifications ?"}},
        {"notifications refused: only the way to the settings", denied, false,
         {"Accessibility ?", "Send Keystrokes ?", "Screen Recording ?", "Automation (File Manager) ?",
          "Notifications –"}},
        {"capture granted at launch", atLaunchOnly, false,
         {"Accessibility ✓", "Send Keystrokes ✓", "Screen Recording ✓", "Automation (File Manager) ✓",
          "Notifications ✓"}},
        {"stashing a readable folder", session, true,
         {"Accessibility ✓", "Send Keystrokes ✓", "Screen Recording ✓", "Automation (File Manager) ✓",
          "Notifications ✓", "Files & Folders ✓"}},
        {"stashing an unreadable folder", unreadable, true,
         {"Accessibility ✓", "Send Keystrokes ✓", "Screen Recording ✓", "Automation (File Manager) ✓",
          "Notifications ✓", "Files & Folders –"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto items = AboutPane::aboutPermissions(c.facts, c.stashing, everyAction());
        EXPECT_EQ(summary(items), c.rows);
    }
    const auto items = AboutPane::aboutPermissions(session, true);
    EXPECT_EQ(items[1].sub, "replays Ctrl+V so Clipboard & Snippets can paste");
    EXPECT_EQ(items[2].sub, "OCR reads the region you select");
    EXPECT_EQ(items[3].sub, "Shelf stashes the files you copied in the file manager");
}

TEST_F(AboutPaneTest, FiveRowsWithoutStashingAndNoDividerAfterTheLast)
{
    settings().setShelfAutoScreenshots(false);
    AboutPane& view = pane();
    EXPECT_EQ(view.rows().size(), 5);
    EXPECT_EQ(view.dividers().size(), 4);
    // The plate holds row, divider, row, …: nothing after "Notifications".
    EXPECT_EQ(view.rows().last()->findChild<QLabel*>()->text(), "Notifications");

    const QString pictures = fake.pathsImpl.picturesDir();
    QDir().mkpath(pictures);
    settings().setShelfAutoScreenshots(true);
    settle();
    EXPECT_EQ(view.rows().size(), 6);
    EXPECT_EQ(view.dividers().size(), 5);
    EXPECT_EQ(view.rows().last()->findChild<QLabel*>()->text(), "Files & Folders");
}

TEST_F(AboutPaneTest, AnswersArriveOnAppearanceAndRequestsOnlyWhileUndetermined)
{
    fake.notifications.currentStatus = NotificationStatus::denied;
    AboutPane& view = pane();
    // Before the pane has appeared: not determined, not granted.
    EXPECT_EQ(view.notificationsStatus(), NotificationStatus::notDetermined);
    EXPECT_FALSE(view.automationGranted());
    EXPECT_EQ(shownRows()[3], "Open/Request");
    EXPECT_EQ(shownRows()[4], "Open/Request");

    view.show();
    settle();
    EXPECT_EQ(view.notificationsStatus(), NotificationStatus::denied);
    EXPECT_TRUE(view.automationGranted()) << "no consent applies here: counts as granted";
    EXPECT_EQ(shownRows()[3], "Granted");
    EXPECT_EQ(shownRows()[4], "Open") << "refused: nothing left to ask";

    // Asked while undetermined; the answer is read again afterwards.
    fake.notifications.currentStatus = NotificationStatus::notDetermined;
    view.refreshAsyncPermissions();
    settle();
    ASSERT_EQ(shownRows()[4], "Open/Request");
    fake.notifications.currentStatus = NotificationStatus::granted;
    row(4)->findChildren<QPushButton*>().last()->click();
    settle();
    EXPECT_EQ(fake.notifications.requests, 1);
    EXPECT_EQ(shownRows()[4], "Granted");
    view.hide();
}

TEST_F(AboutPaneTest, ATrustChangeSeenOnAppearanceReachesItsHandler)
{
    setTrusted(false);
    std::vector<bool> changes;
    app->permission().onChange = [&changes](bool granted) { changes.push_back(granted); };
    AboutPane& view = pane();
    EXPECT_EQ(shownRows()[0], "Open/Request");

    fake.permissionsImpl.trusted = true;
    view.show();
    settle();
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_EQ(shownRows()[0], "Granted");
    view.hide();
}

TEST_F(AboutPaneTest, AnswersAfterThePaneIsGoneChangeNothing)
{
    auto* view = new AboutPane(*model);
    view->reload();
    view->refreshAsyncPermissions();
    delete view;
    settle();
    SUCCEED();
}

TEST_F(AboutPaneTest, TheLinkNamesTheHostAndIsLeftOutWithoutAHomepage)
{
    EXPECT_EQ(AboutPane::link(""), std::nullopt);
    EXPECT_EQ(AboutPane::link("   "), std::nullopt);
    EXPECT_EQ(AboutPane::link("not a website"), std::nullopt);
    const auto site = AboutPane::link("https://quillon.example/about");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->host, "quillon.example");
    EXPECT_EQ(site->url, QUrl("https://quillon.example/about"));

    EXPECT_EQ(pane().linkLabel(), nullptr) << "the default build names no homepage";

    fake.build.homepage = "https://quillon.example/";
    AboutPane view(*model);
    ASSERT_NE(view.linkLabel(), nullptr);
    EXPECT_EQ(view.linkLabel()->accessibleName(), "quillon.example");
    std::vector<QUrl> opened;
    view.openLink = [&opened](const QUrl& url) { opened.push_back(url); };
    emit view.linkLabel()->linkActivated("https://quillon.example/");
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://quillon.example/")});
}

} // namespace
} // namespace quillon
