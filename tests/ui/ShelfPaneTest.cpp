#include "PaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/ShelfPane.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

namespace quillon {
namespace {

using Consent = platform::AutomationConsent;

struct ShelfPaneTest : testing::PaneFixture<ShelfPane> {
    ShelfPaneState stateWith(bool stashing, bool known, std::optional<bool> thumbnail, bool heldByUs,
                             bool readable = true, Consent consent = Consent::notApplicable)
    {
        settings().setShelfAutoScreenshots(stashing);
        settings().root().set(SettingsKeys::shelfThumbnailHeldByUs, heldByUs);
        fake.screenshotPrefsImpl.known = known;
        fake.screenshotPrefsImpl.value = thumbnail;
        return ShelfPane::state(settings(), fake.screenshotPrefsImpl,
                                {fake.pathsImpl.home() + "/Pictures/Screenshots", fake.pathsImpl.home(), readable},
                                consent);
    }
};

TEST_F(ShelfPaneTest, ThumbnailRowsFollowThePreference)
{
    struct Case {
        const char* name;
        bool stashing;
        bool known;
        std::optional<bool> thumbnail;
        bool heldByUs;
        bool rows;
        bool warning;
    };
    const Case cases[] = {
        {"off by hand", true, true, false, false, true, true},
        {"held off by the shelf", true, true, false, true, true, false},
        {"no stored choice", true, true, std::nullopt, false, true, false},
        {"thumbnail on", true, true, true, false, true, false},
        {"stashing off", false, true, false, false, true, true},
        {"this desktop has no preference", true, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ShelfPaneState state = stateWith(c.stashing, c.known, c.thumbnail, c.heldByUs);
        EXPECT_EQ(state.showsThumbnailRows, c.rows);
        EXPECT_EQ(state.showsThumbnailWarning, c.warning);
        EXPECT_EQ(state.skipThumbnailEnabled, c.stashing);
        EXPECT_EQ(state.skipThumbnailSubtitle,
                  c.stashing ? QString("the file, and the shelf entry, appears at once instead of ~5 s later")
                             : QString("turn on “Stash new screenshots automatically” first — this only matters "
                                       "for captures the shelf is watching for"));
    }
    EXPECT_EQ(fake.screenshotPrefsImpl.writes, 0) << "the pane never writes the preference";
}

TEST_F(ShelfPaneTest, FolderWarningOnlyWhileStashingAnUnreadableFolder)
{
    EXPECT_FALSE(stateWith(true, false, std::nullopt, false, true).folderWarning);
    EXPECT_FALSE(stateWith(false, false, std::nullopt, false, false).folderWarning);
    EXPECT_EQ(stateWith(true, false, std::nullopt, false, false).folderWarning,
              QString("Quillon can't read ~/Pictures/Screenshots yet, so captures saved there stay invisible to "
                      "it — make that folder readable for your account."));
    // Shown as text: the home folder as "~" only as a whole path component.
    EXPECT_EQ(ShelfPane::displayPath("/home/ann", "/home/ann"), "~");
    EXPECT_EQ(ShelfPane::displayPath("/home/anna/shots", "/home/ann"), "/home/anna/shots");
    EXPECT_EQ(ShelfPane::displayPath("/home/ann/$(HOME)/%1", "/home/ann/"), "~/$(HOME)/%1");
    EXPECT_EQ(ShelfPane::displayPath("/srv/shots", "/"), "/srv/shots");
}

TEST_F(ShelfPaneTest, OptionalSectionOnlyWhileConsentIsDenied)
{
    EXPECT_FALSE(stateWith(true, false, std::nullopt, false, true, Consent::notApplicable).showsAutomation);
    EXPECT_FALSE(stateWith(true, false, std::nullopt, false, true, Consent::granted).showsAutomation);
    EXPECT_TRUE(stateWith(true, false, std::nullopt, false, true, Consent::denied).showsAutomation);

    fake.permissionsImpl.consent = Consent::denied;
    ShelfPane& view = pane();
    EXPECT_TRUE(view.automationSection()->hasContent());
    // Granted after the request: gone at the redraw the request asks for.
    fake.permissionsImpl.consent = Consent::granted;
    view.automationSection()->findChild<PermissionRow*>()->findChild<QPushButton*>()->click();
    settle();
    EXPECT_GE(fake.permissionsImpl.automationRequests, 1);
    EXPECT_FALSE(view.automationSection()->hasContent());
}

TEST_F(ShelfPaneTest, LinuxShowsTheStashingSwitchAndTheFolderWarningAlone)
{
    const QString pictures = fake.pathsImpl.picturesDir();
    QDir().mkpath(pictures);
    fake.screenshotPrefsImpl.known = false;
    settings().setShelfAutoScreenshots(false);
    ShelfPane& view = pane();
    EXPECT_EQ(shownSections(), (QStringList{"Behavior", "Screenshots", "Shortcut"}));
    EXPECT_TRUE(view.skipThumbnailRow()->isHidden());
    EXPECT_TRUE(view.screenshotsSection()->footerLabel()->isHidden());
    EXPECT_TRUE(view.thumbnailWarning()->isHidden());
    EXPECT_TRUE(view.folderWarning()->parentWidget()->isHidden());
    EXPECT_EQ(findToggle("Haptic feedback"), nullptr) << "no haptics here";
    EXPECT_NE(findToggle("Stash new screenshots automatically"), nullptr);

    // A regular file where the folder should be: listed nowhere, so warned of.
    ASSERT_TRUE(QDir(pictures).removeRecursively());
    {
        QFile blocker(pictures);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    toggle("Stash new screenshots automatically")->click();
    settle();
    EXPECT_FALSE(view.folderWarning()->parentWidget()->isHidden());
    EXPECT_EQ(view.folderWarningText(), "Quillon can't read ~/Pictures yet, so captures saved there stay invisible "
                                        "to it — make that folder readable for your account.");

    // Readable again: gone at the next redraw.
    QFile::remove(pictures);
    QDir().mkpath(pictures);
    model->refresh();
    settle();
    EXPECT_TRUE(view.folderWarning()->parentWidget()->isHidden());
}

} // namespace
} // namespace quillon
