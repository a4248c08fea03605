#include "PaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/panes/AppIdChips.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/PaneKit.h"

#include <QToolButton>

namespace quillon {
namespace {

struct BreaksPaneTest : testing::PaneFixture<BreaksPane> {
    void pick(ChoiceBox& box, const QString& title)
    {
        const int index = box.findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        box.setCurrentIndex(index);
        emit box.activated(index);
    }
};

TEST_F(BreaksPaneTest, StoredValuesOutsideTheListsSelectNothingAndStay)
{
    struct Case {
        qint64 work;
        qint64 seconds;
        std::optional<int> workShown;
        std::optional<int> secondsShown;
    };
    const Case cases[] = {
        {45, 30, 45, 30},
        {7, 25, std::nullopt, std::nullopt},
        {60, -20, 60, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.work);
        settings().setBreaksWorkIntervalMinutes(c.work);
        settings().setBreaksBreakSeconds(c.seconds);
        const BreaksPaneState state = BreaksPane::state(settings());
        EXPECT_EQ(state.workInterval, c.workShown);
        EXPECT_EQ(state.breakSeconds, c.secondsShown);

        BreaksPane& view = pane();
        model->refresh();
        settle();
        EXPECT_EQ(view.workIntervalBox()->selectedTag(), c.workShown);
        EXPECT_EQ(view.breakLengthBox()->selectedTag(), c.secondsShown);
        // The lists never grow, and showing a value never rewrites it.
        EXPECT_EQ(view.workIntervalBox()->titles(),
                  (QStringList{"5 minutes", "15 minutes", "20 minutes", "30 minutes", "45 minutes", "60 minutes"}));
        EXPECT_EQ(view.breakLengthBox()->titles(), (QStringList{"20 seconds", "30 seconds", "60 seconds"}));
        EXPECT_EQ(settings().breaksWorkIntervalMinutes(), c.work);
        EXPECT_EQ(settings().breaksBreakSeconds(), c.seconds);
    }
}

TEST_F(BreaksPaneTest, ChoosingWritesTheIntegerOnce)
{
    settings().setBreaksWorkIntervalMinutes(20);
    BreaksPane& view = pane();
    countNotifications();
    pick(*view.workIntervalBox(), "45 minutes");
    settle();
    const platform::PlistValue stored = *settings().defaults().storedValue(SettingsKeys::breaksWorkIntervalMinutes);
    EXPECT_EQ(stored, platform::PlistValue(qint64(45)));
    EXPECT_EQ(notifications, 1);
    pick(*view.workIntervalBox(), "45 minutes");
    settle();
    EXPECT_EQ(notifications, 1) << "the same choice again notifies nobody";

    pick(*view.breakLengthBox(), "60 seconds");
    EXPECT_EQ(settings().breaksBreakSeconds(), 60);
}

TEST_F(BreaksPaneTest, ExcludedAppsShowEachIdOnceAndToggle)
{
    settings().defaults().remove(SettingsKeys::breaksExcludedApps);
    BreaksPane& view = pane();
    EXPECT_TRUE(BreaksPane::state(settings()).excludedApps.isEmpty());
    EXPECT_TRUE(view.excludedChips()->names().isEmpty());
    EXPECT_FALSE(view.excludedChips()->addButton()->isHidden());

    settings().set(platform::PlistValue(QStringList{"org.b", "org.a", "org.b"}), SettingsKeys::breaksExcludedApps);
    settle();
    EXPECT_EQ(BreaksPane::state(settings()).excludedApps, (QStringList{"org.a", "org.b"}));
    EXPECT_EQ(view.excludedChips()->names(), (QStringList{"org.a", "org.b"}));
    view.excludedChips()->removeButton("org.a")->click();
    settle();
    EXPECT_EQ(settings().breaksExcludedApps(), QSet<QString>{"org.b"});
}

TEST_F(BreaksPaneTest, BehaviourSwitchesAreBoundAndStayEditableWithBreaksOff)
{
    settings().setBreaksEnabled(false);
    struct Case {
        const char* title;
        bool (Settings::*read)() const;
    };
    const Case cases[] = {
        {"Pre-break warning", &Settings::breaksPreWarn},
        {"Smart deferral", &Settings::breaksSmartDefer},
        {"Delayed skip", &Settings::breaksDelayedSkip},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ToggleSwitch* each = toggle(c.title);
        ASSERT_NE(each, nullptr);
        EXPECT_TRUE(each->isEnabled());
        const bool before = (settings().*c.read)();
        each->click();
        EXPECT_EQ((settings().*c.read)(), !before);
    }
    EXPECT_TRUE(pane().workIntervalBox()->isEnabled());
    EXPECT_EQ(shownSections(),
              (QStringList{"Schedule", "Behavior", "Excluded apps (defer while frontmost)", "Shortcut"}));
}

} // namespace
} // namespace quillon
