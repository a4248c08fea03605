#include "PaneFixture.h"

#include "permissions/ScreenRecordingPermission.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/OCRPane.h"

#include <QPushButton>

namespace quillon {
namespace {

using Capture = OCRPaneState::Capture;

struct OCRPaneTest : testing::PaneFixture<OCRPane> {
    ~OCRPaneTest() override { ScreenRecordingPermission::grantedAtLaunch = false; }
    void grants(bool atLaunch, bool now, bool accessibility)
    {
        ScreenRecordingPermission::grantedAtLaunch = atLaunch;
        fake.permissionsImpl.screenCapture = now;
        setTrusted(accessibility);
        model->refresh();
        settle();
    }
    bool shows(QWidget* part) { return part->isVisibleTo(&pane()); }
};

TEST_F(OCRPaneTest, NeededToWorkFollowsEveryGrantCombination)
{
    const struct {
        bool atLaunch, now, accessibility;
        bool section;
        Capture capture;
        bool accessibilityRow;
    } cases[] = {
        {true, true, true, false, Capture::none, false},
        {true, false, true, false, Capture::none, false},
        {true, true, false, true, Capture::none, true},
        {true, false, false, true, Capture::none, true},
        {false, true, true, true, Capture::relaunchToFinish, false},
        {false, true, false, true, Capture::relaunchToFinish, true},
        {false, false, true, true, Capture::permissionRow, false},
        {false, false, false, true, Capture::permissionRow, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "launch " << c.atLaunch << ", now " << c.now << ", accessibility "
                                          << c.accessibility);
        const OCRPaneState state = OCRPane::state(c.atLaunch, c.now, c.accessibility);
        EXPECT_EQ(state, (OCRPaneState{c.section, c.capture, c.accessibilityRow}));

        grants(c.atLaunch, c.now, c.accessibility);
        OCRPane& view = pane();
        EXPECT_EQ(view.neededSection()->hasContent(), c.section);
        EXPECT_EQ(shows(view.relaunchStepRow()), c.capture == Capture::relaunchToFinish);
        EXPECT_EQ(shows(view.capturePermissionRow()), c.capture == Capture::permissionRow);
        EXPECT_EQ(shows(view.accessibilityRow()), c.accessibilityRow);
        EXPECT_FALSE(shows(view.relaunchWarning()));
    }
}

TEST_F(OCRPaneTest, ARelaunchThatCannotStartSaysSoAndKeepsRunning)
{
    grants(false, true, true);
    fake.appShellImpl.relaunchStarts = false;
    QPushButton* relaunch = pane().relaunchStepRow()->findChild<QPushButton*>();
    ASSERT_NE(relaunch, nullptr);
    EXPECT_EQ(relaunch->text(), "Relaunch Quillon");
    relaunch->click();
    settle();
    EXPECT_EQ(fake.appShellImpl.relaunches, 1);
    EXPECT_EQ(fake.appShellImpl.terminations, 0);
    EXPECT_TRUE(shows(pane().relaunchWarning()));
    EXPECT_EQ(pane().relaunchWarning()->accessibleName(), "Couldn't start a new Quillon — quit it and start it again.");

    // The small one beside the permission row relaunches too.
    grants(false, false, true);
    fake.appShellImpl.relaunchStarts = true;
    const auto buttons = pane().capturePermissionRow()->findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_EQ(buttons.last()->text(), "Relaunch Quillon");
    buttons.last()->click();
    EXPECT_EQ(fake.appShellImpl.relaunches, 2);
    EXPECT_EQ(fake.appShellImpl.terminations, 1);
}

TEST_F(OCRPaneTest, AccessibilityRowAsksAndGoesOnceGranted)
{
    grants(true, true, false);
    PermissionRow* row = pane().accessibilityRow();
    EXPECT_EQ(row->content(), (QStringList{"Request Access", "Open System Settings"}));
    fake.permissionsImpl.trusted = true;
    row->findChild<QPushButton*>()->click();
    settle();
    EXPECT_GE(fake.permissionsImpl.accessibilityRequests, 1);
    EXPECT_FALSE(pane().neededSection()->hasContent());
}

} // namespace
} // namespace quillon
