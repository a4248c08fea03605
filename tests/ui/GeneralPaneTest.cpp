#include "PaneFixture.h"

#include "common/QtPrint.h"
#include "platform/Platform.h"
#include "support/FileLog.h"
#include "ui/FormSection.h"
#include "ui/SegmentedControl.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/GeneralPane.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

namespace quillon {
namespace {

using Kind = FeatureChords::Kind;

struct GeneralPaneTest : testing::PaneFixture<GeneralPane> {
    GeneralPaneTest()
    {
        for (const SettingsPane pane : SettingsPane::features()) {
            if (const auto path = pane.enabledKeyPath())
                path->set(settings(), false);
        }
        settings().setShelfAutoScreenshots(false);
    }
};

TEST_F(GeneralPaneTest, SectionsFollowTheAccessibilityGrant)
{
    const QStringList always{"Profiles", "Startup", "Shortcuts that work everywhere", "Backup",
                             "Diagnostics"};
    setTrusted(true);
    EXPECT_EQ(shownSections(), always);

    setTrusted(false);
    model->refresh();
    QStringList withPrompt = always;
    withPrompt.prepend("Keyboard shortcuts need permission");
    EXPECT_EQ(shownSections(), withPrompt);
    auto rows = pane().keyboardSection()->findChildren<PermissionRow*>();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.front()->content(), (QStringList{"Request Access", "Open System Settings"}));

    // A feature that needs access, switched on: the list shows, after the shortcuts.
    settings().setJumpEnabled(true);
    QStringList withList = withPrompt;
    withList.insert(4, "Permissions needed");
    EXPECT_EQ(shownSections(), withList);
    rows = pane().permissionsSection()->findChildren<PermissionRow*>();
    ASSERT_EQ(rows.size(), 1);

    // Granted from the desktop: both go at the next redraw.
    setTrusted(true);
    model->refresh();
    EXPECT_EQ(shownSections(), always);
}

TEST_F(GeneralPaneTest, KeyListsNameEachKindsChords)
{
    EXPECT_EQ(GeneralPane::keyList(Kind::toggles), "A Awake · F Focus · B Breaks");
    EXPECT_EQ(GeneralPane::keyList(Kind::tools), "S Shelf · T OCR · C Clipboard");
    EXPECT_EQ(GeneralPane::keyList(Kind::app), "~ General · 1 General · 2 General");
}

TEST_F(GeneralPaneTest, ProfileSegmentSwitchesAndShowsTheProfileInForce)
{
    GeneralPane& view = pane();
    SegmentedControl& control = *view.profileControl();
    EXPECT_EQ(control.selectedIndex(), 0);
    EXPECT_EQ(view.profileRowLabel()->subLabel()->text(),
              "two independent sets of settings — currently on Profile 1");

    control.buttons()[1]->click();
    settle();
    EXPECT_EQ(settings().profile(), Settings::Profile::two);
    EXPECT_EQ(control.selectedIndex(), 1);
    EXPECT_EQ(view.profileRowLabel()->subLabel()->text(),
              "two independent sets of settings — currently on Profile 2");

    control.buttons()[1]->click(); // the one in force: nothing changes
    settle();
    EXPECT_EQ(settings().profile(), Settings::Profile::two);
    EXPECT_EQ(control.selectedIndex(), 1);

    control.buttons()[0]->click();
    settle();
    EXPECT_EQ(settings().profile(), Settings::Profile::one);

    // Profile two's store cannot be opened: the segment falls back.
    fake.defaults.refusedSuites.insert(settings().suiteName() + ".profile2");
    control.buttons()[1]->click();
    settle();
    EXPECT_EQ(settings().profile(), Settings::Profile::one);
    EXPECT_EQ(control.selectedIndex(), 0);
}

TEST_F(GeneralPaneTest, SnippetRowSaysWhetherThePickerWorks)
{
    GeneralPane& view = pane();
    EXPECT_EQ(view.snippetRowLabel()->subLabel()->text(),
              "turn Snippets on to use this — until then Ctrl+; is left alone");
    settings().setSnippetsEnabled(true);
    settle();
    EXPECT_EQ(view.snippetRowLabel()->subLabel()->text(), "type a snippet name and press ⏎");
}

TEST_F(GeneralPaneTest, ClearIsOffUntilThereIsALog)
{
    QFile::remove(FileLog::filePath());
    GeneralPane& view = pane();
    EXPECT_FALSE(view.clearLogButton()->isEnabled());
    EXPECT_EQ(view.logSizeLabel()->text(), "no log yet");

    QDir().mkpath(FileLog::directory());
    QFile log(FileLog::filePath());
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QByteArray(2048, 'x'));
    log.close();
    model->refresh();
    settle();
    EXPECT_TRUE(view.clearLogButton()->isEnabled());
    EXPECT_EQ(view.logSizeLabel()->text(), *FileLog::sizeDescription());

    view.clearLogButton()->click();
    settle();
    EXPECT_EQ(QFileInfo(FileLog::filePath()).size(), 0);
    EXPECT_FALSE(view.clearLogButton()->isEnabled());
    EXPECT_EQ(view.logSizeLabel()->text(), "no log yet");
}

TEST_F(GeneralPaneTest, DetailedLoggingIsBound)
{
    GeneralPane& view = pane();
    ToggleSwitch* logging = nullptr;
    for (ToggleSwitch* toggle : view.findChildren<ToggleSwitch*>()) {
        if (toggle->accessibleName() == "Detailed logging")
            logging = toggle;
    }
    ASSERT_NE(logging, nullptr);
    logging->click();
    EXPECT_TRUE(settings().diagnosticsLogging());
}

TEST_F(GeneralPaneTest, LoginSwitchTogglesTheItemAndShowsItsStatus)
{
    using Status = platform::LoginItem::Status;
    GeneralPane& view = pane();
    ToggleSwitch& toggle = *view.loginSwitch();
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_EQ(view.loginLabel()->subLabel()->text(), "open Quillon automatically at login");

    toggle.click();
    settle();
    EXPECT_EQ(fake.loginItemImpl.registrations, 1);
    EXPECT_TRUE(toggle.isChecked());
    toggle.click();
    settle();
    EXPECT_EQ(fake.loginItemImpl.unregistrations, 1);
    EXPECT_FALSE(toggle.isChecked());

    // A refused change: the switch shows what the system has.
    fake.loginItemImpl.error = "no autostart folder";
    toggle.click();
    settle();
    EXPECT_EQ(fake.loginItemImpl.registrations, 2);
    EXPECT_FALSE(toggle.isChecked());

    fake.loginItemImpl.error.reset();
    fake.loginItemImpl.current = Status::requiresApproval;
    model->refresh();
    settle();
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_EQ(view.loginLabel()->subLabel()->text(), "waiting for approval in System Settings → Login Items");
    toggle.click();
    settle();
    EXPECT_EQ(fake.loginItemImpl.registrations, 2);
    EXPECT_FALSE(toggle.isChecked());
}

TEST_F(GeneralPaneTest, NotificationStatusArrivesAfterTheFirstRead)
{
    settings().setSweepEnabled(true);
    fake.notifications.currentStatus = platform::NotificationStatus::notDetermined;
    GeneralPane& view = pane();
    EXPECT_EQ(view.notificationsStatus(), platform::NotificationStatus::granted);
    EXPECT_FALSE(view.permissionsSection()->hasContent());

    view.refreshPermissionStatus();
    settle();
    ASSERT_EQ(view.missingRequired().size(), 1u);
    EXPECT_TRUE(view.permissionsSection()->hasContent());

    // Asking: the answer is read back and the entry goes.
    fake.notifications.currentStatus = platform::NotificationStatus::granted;
    view.missingRequired().front().request();
    settle();
    EXPECT_EQ(fake.notifications.requests, 1);
    EXPECT_TRUE(view.missingRequired().empty());
    EXPECT_FALSE(view.permissionsSection()->hasContent());
}

TEST_F(GeneralPaneTest, BackupFollowsWhereTheFileGoes)
{
    GeneralPane& view = pane();
    EXPECT_EQ(view.saveButton()->text(), "Save Settings to Desktop");
    EXPECT_TRUE(
        view.backupSection()->footerLabel()->text().contains("Quillon-Settings.json to your Desktop. "));
    view.saveButton()->click();
    settle();
    EXPECT_EQ(view.backupStatusLabel()->text(), "Saved to the Desktop");
    EXPECT_TRUE(QFile::exists(fake.pathsImpl.desktopDir() + "/Quillon-Settings.json"));
    fake.queue.advance(3.1);
    EXPECT_TRUE(view.backupStatusLabel()->parentWidget()->isHidden());
}

TEST_F(GeneralPaneTest, ImportFromFileRestoresAChangedSetting)
{
    GeneralPane& view = pane();
    settings().setClipboardEnabled(true);
    view.saveButton()->click();
    settle();
    settings().setClipboardEnabled(false);

    QFileDialog* dialog = view.importFromFile();
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "Import");
    EXPECT_EQ(dialog->nameFilters(), QStringList{"JSON (*.json)"});
    dialog->selectFile(fake.pathsImpl.desktopDir() + "/Quillon-Settings.json");
    static_cast<QDialog*>(dialog)->accept(); // the person presses "Import"
    settle();
    EXPECT_TRUE(settings().isClipboardEnabled());
    EXPECT_EQ(view.backupStatusLabel()->text(), "Settings imported");
}

} // namespace
} // namespace quillon
