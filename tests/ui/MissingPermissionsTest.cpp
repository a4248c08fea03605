#include "UiFixture.h"

#include "app/FeatureRegistry.h"
#include "settings/SettingsKeys.h"
#include "ui/panes/MissingPermissions.h"

namespace quillon {
namespace {

using platform::AutomationConsent;
using platform::NotificationStatus;
using platform::SettingsPage;

struct MissingPermissions : ::testing::Test, testing::UiFixture {
    MissingPermissions()
    {
        // Every switch off, whatever the registered defaults say.
        for (const SettingsPane pane : SettingsPane::features()) {
            if (const auto path = pane.enabledKeyPath())
                path->set(settings(), false);
        }
        settings().setShelfAutoScreenshots(false);
    }
    static PermissionFacts allGranted()
    {
        PermissionFacts facts;
        facts.accessibility = true;
        facts.postEvents = true;
        facts.screenCaptureAtLaunch = true;
        facts.screenCapture = true;
        return facts;
    }
};

const QString everyAccessibilityPane =
    "needed by Snap, Jump, Clipboard, Snippets, OCR, Shelf, Focus, Breaks, Swipe, Awake, Sweep";

TEST_F(MissingPermissions, ListFollowsTheSwitchesAndTheGrants)
{
    struct Case {
        const char* name;
        QStringList on;
        std::function<void(PermissionFacts&)> facts;
        /// Title, line and whether it offers a request, per entry.
        std::vector<std::tuple<QString, QString, bool>> expected;
    };
    const Case cases[] = {
        {"nothing on", {}, [](PermissionFacts& f) { f = PermissionFacts(); }, {}},
        {"jump and sweep, no access",
         {"jump.isEnabled", "sweep.isEnabled"},
         [](PermissionFacts& f) { f.accessibility = false; },
         {{"Accessibility", everyAccessibilityPane, true}}},
        {"jump and sweep, access granted",
         {"jump.isEnabled", "sweep.isEnabled"},
         [](PermissionFacts&) {},
         {}},
        {"colour picker alone needs no access",
         {"colorPicker.isEnabled"},
         [](PermissionFacts& f) { f.accessibility = false; },
         {}},
        {"awake needs access for its right-hand chord",
         {"awake.isEnabled"},
         [](PermissionFacts& f) { f.accessibility = false; },
         {{"Accessibility", everyAccessibilityPane, true}}},
        {"snippets only, no keystrokes",
         {"snippets.isEnabled"},
         [](PermissionFacts& f) { f.postEvents = false; },
         {{"Send Keystrokes", "replays Ctrl+V so Clipboard & Snippets can paste", true}}},
        {"OCR granted at launch but revoked",
         {"ocr.isEnabled"},
         [](PermissionFacts& f) { f.screenCapture = false; },
         {}},
        {"OCR never granted",
         {"ocr.isEnabled"},
         [](PermissionFacts& f) {
             f.screenCaptureAtLaunch = false;
             f.screenCapture = false;
         },
         {{"Screen Recording", "OCR reads the region you select off the screen", true}}},
        {"shelf with automation refused",
         {"shelf.isEnabled"},
         [](PermissionFacts& f) { f.automation = AutomationConsent::denied; },
         {{"Automation (File Manager)", "Shelf stashes the current File Manager selection", true}}},
        {"shelf where no consent applies", {"shelf.isEnabled"}, [](PermissionFacts&) {}, {}},
        {"notifications denied: no request",
         {"sweep.isEnabled"},
         [](PermissionFacts& f) { f.notifications = NotificationStatus::denied; },
         {{"Notifications", "so Quillon can alert you when a permission is lost or a limit is hit", false}}},
        {"notifications not asked yet",
         {"awake.isEnabled"},
         [](PermissionFacts& f) { f.notifications = NotificationStatus::notDetermined; },
         {{"Notifications", "so Quillon can alert you when a permission is lost or a limit is hit", true}}},
        {"notifications before the first answer", {"awake.isEnabled"}, [](PermissionFacts&) {}, {}},
        {"unreadable screenshot folder",
         {"shelf.autoScreenshots"},
         [](PermissionFacts& f) { f.screenshotFolderReadable = false; },
         {{"Files & Folders", "Shelf auto-stashes new screenshots from your capture folder", false}}},
        {"everything missing, in order",
         {"clipboard.isEnabled", "ocr.isEnabled", "shelf.isEnabled", "awake.isEnabled",
          "shelf.autoScreenshots"},
         [](PermissionFacts& f) {
             f = PermissionFacts{
                 false, false, false, false, AutomationConsent::denied, NotificationStatus::denied, false};
         },
         {{"Accessibility", everyAccessibilityPane, true},
          {"Send Keystrokes", "replays Ctrl+V so Clipboard & Snippets can paste", true},
          {"Screen Recording", "OCR reads the region you select off the screen", true},
          {"Automation (File Manager)", "Shelf stashes the current File Manager selection", true},
          {"Notifications", "so Quillon can alert you when a permission is lost or a limit is hit", false},
          {"Files & Folders", "Shelf auto-stashes new screenshots from your capture folder", false}}},
    };
    PermissionActions actions;
    actions.requestAccessibility = actions.requestPostEvents = actions.requestScreenCapture =
        actions.requestAutomation = actions.requestNotifications = [] {};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& key : c.on)
            settings().set(true, key);
        PermissionFacts facts = allGranted();
        c.facts(facts);
        const auto needs = missingRequired(facts, settings(), actions);
        ASSERT_EQ(needs.size(), c.expected.size());
        for (std::size_t i = 0; i < needs.size(); ++i) {
            EXPECT_EQ(needs[i].title, std::get<0>(c.expected[i]));
            EXPECT_EQ(needs[i].sub, std::get<1>(c.expected[i]));
            EXPECT_EQ(bool(needs[i].request), std::get<2>(c.expected[i]));
            EXPECT_TRUE(bool(needs[i].open));
        }
        for (const QString& key : c.on)
            settings().set(false, key);
    }
}

TEST_F(MissingPermissions, EachEntryOpensItsOwnPage)
{
    for (const char* key : {"clipboard.isEnabled", "ocr.isEnabled", "shelf.isEnabled", "awake.isEnabled",
                            "shelf.autoScreenshots"})
        settings().set(true, key);
    std::vector<SettingsPage> opened;
    PermissionActions actions;
    actions.open = [&](SettingsPage page) { opened.push_back(page); };
    const auto needs = missingRequired(PermissionFacts{false, false, false, false, AutomationConsent::denied,
                                                       NotificationStatus::denied, false},
                                       settings(), actions);
    for (const PermissionNeed& need : needs)
        need.open();
    EXPECT_EQ(opened,
              (std::vector<SettingsPage>{SettingsPage::accessibility, SettingsPage::accessibility,
                                         SettingsPage::screenCapture, SettingsPage::automation,
                                         SettingsPage::notifications, SettingsPage::filesAndFolders}));
}

TEST_F(MissingPermissions, AccessibilityEntryMatchesTheFeaturesOwnTest)
{
    // Every single switch: the entry shows exactly when the features would
    // ask for access themselves.
    for (const SettingsPane pane : SettingsPane::features()) {
        const auto path = pane.enabledKeyPath();
        if (!path)
            continue;
        SCOPED_TRACE(pane.rawValue().toStdString());
        path->set(settings(), true);
        PermissionFacts facts = allGranted();
        facts.accessibility = false;
        const auto needs = missingRequired(facts, settings());
        const bool listed = !needs.empty() && needs.front().title == "Accessibility";
        EXPECT_EQ(listed, FeatureRegistry::needsAccessibilityNow(settings()));
        path->set(settings(), false);
    }
}

} // namespace
} // namespace quillon
