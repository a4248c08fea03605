#include "PaneFixture.h"

#include "features/awake/AwakeFeature.h"
#include "settings/SettingsKeys.h"
#include "ui/SegmentedControl.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/AppIdChips.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/PaneKit.h"

#include <QPushButton>
#include <QToolButton>

namespace quillon {
namespace {

using Fixture = testing::PaneFixture<AwakePane>;
struct AwakePaneTest : Fixture {
    qint64 stored() const { return app->settings().defaults().integerForKey(SettingsKeys::awakeDurationMinutes); }
    void store(qint64 minutes) { settings().set(minutes, SettingsKeys::awakeDurationMinutes); }
    /// Picks the pop-up entry titled `title`, as a person does.
    void pick(const QString& title)
    {
        ChoiceBox& box = *pane().lengthBox();
        const int index = box.findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        box.setCurrentIndex(index);
        emit box.activated(index);
    }
};

QStringList titles(const std::vector<AwakeLengthChoice>& choices)
{
    QStringList result;
    for (const auto& choice : choices)
        result << choice.title;
    return result;
}

TEST_F(AwakePaneTest, StateFollowsTheStoredLength)
{
    const QStringList presets{"15 minutes", "30 minutes", "1 hour", "2 hours", "5 hours"};
    struct Case {
        qint64 stored;
        bool timed;
        QStringList lengths;
        std::optional<int> selected;
        QString subtitle;
    };
    const Case cases[] = {
        {0, false, presets, 60, "switch Mode to Timed to set this"},
        {45, true, QStringList{"45 minutes"} + presets, 45, ""},
        {90, true, QStringList{"90 minutes"} + presets, 90, ""},
        {180, true, QStringList{"180 minutes"} + presets, 180, ""},
        {120, true, presets, 120, ""},
        // An imported negative length: timed, but no entry is selected.
        {-5, true, presets, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        store(c.stored);
        const AwakePaneState state =
            AwakePane::state(settings(), std::nullopt, QDateTime::currentDateTimeUtc(), QLocale::c(), QTimeZone::utc());
        EXPECT_EQ(state.timed, c.timed);
        EXPECT_EQ(state.lengthEnabled, c.stored != 0);
        EXPECT_EQ(titles(state.lengthChoices), c.lengths);
        EXPECT_EQ(state.selectedMinutes, c.selected);
        EXPECT_EQ(state.lengthSubtitle, c.subtitle);
        EXPECT_FALSE(state.running);

        // The widgets show the same, with "Custom…" last and never selected.
        model->refresh();
        AwakePane& view = pane();
        EXPECT_EQ(view.modeControl()->selectedIndex(), c.timed ? 1 : 0);
        EXPECT_EQ(view.lengthBox()->titles(), c.lengths + QStringList{"Custom…"});
        EXPECT_EQ(view.lengthBox()->selectedTag(), c.selected);
        EXPECT_EQ(view.lengthBox()->isEnabled(), c.stored != 0);
        EXPECT_EQ(view.lengthLabel()->subLabel()->text(), c.subtitle);
    }
}

TEST_F(AwakePaneTest, RunningLineNamesTheTriggerOnlyForATriggeredSession)
{
    const QTimeZone zone = QTimeZone::utc();
    const QDateTime now(QDate(2026, 3, 2), QTime(22, 0), zone);
    const QDateTime tomorrow(QDate(2026, 3, 3), QTime(1, 30), zone);
    struct Case {
        std::optional<AwakeSessionFacts> session;
        std::optional<QString> line;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt},
        {AwakeSessionFacts{tomorrow, QString("Zoom")},
         "until " + QLocale::c().toString(QTime(1, 30), QLocale::ShortFormat) + " tomorrow, because Zoom"},
        {AwakeSessionFacts{std::nullopt, std::nullopt}, QString("no time limit")},
    };
    for (const Case& c : cases) {
        const auto state = AwakePane::state(settings(), c.session, now, QLocale::c(), zone);
        EXPECT_EQ(state.running, c.line);
    }
}

TEST_F(AwakePaneTest, RunningRowAppearsWithTheSessionAtTheNextRedraw)
{
    store(60);
    AwakePane& view = pane();
    EXPECT_TRUE(view.runningRow()->isHidden());

    // The header's switch starts a session; the row follows the redraw.
    settings().setAwakeEnabled(true);
    app->reconcile();
    ASSERT_TRUE(app->awake().isActive());
    model->refresh();
    settle();
    EXPECT_FALSE(view.runningRow()->isHidden());
    EXPECT_TRUE(view.runningText().startsWith("until ")) << view.runningText().toStdString();
    EXPECT_FALSE(view.runningText().contains("because"));

    settings().setAwakeEnabled(false);
    app->reconcile();
    settle();
    EXPECT_TRUE(view.runningRow()->isHidden());
}

TEST_F(AwakePaneTest, CustomLengthAsksOnALaterTurn)
{
    store(45);
    AwakePane& view = pane();
    int asked = 0;
    std::optional<int> answer;
    view.prompt = [&] {
        ++asked;
        return answer;
    };

    // Cancelled: nothing stored, the stored length shown again.
    pick("Custom…");
    EXPECT_EQ(asked, 0) << "asked inside the pop-up's signal";
    EXPECT_EQ(view.lengthBox()->selectedTag(), 45);
    settle();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(stored(), 45);
    EXPECT_EQ(view.lengthBox()->currentText(), "45 minutes");

    // A length of the person's own goes first, in minutes.
    answer = 90;
    pick("Custom…");
    settle();
    EXPECT_EQ(stored(), 90);
    EXPECT_EQ(view.lengthBox()->titles().front(), "90 minutes");
    EXPECT_EQ(view.lengthBox()->currentText(), "90 minutes");

    // A preset entry is stored as it is.
    pick("2 hours");
    settle();
    EXPECT_EQ(stored(), 120);
    EXPECT_EQ(view.lengthBox()->titles().front(), "15 minutes");
}

TEST_F(AwakePaneTest, TimedStartsFromTheHour)
{
    store(0);
    AwakePane& view = pane();
    countNotifications();
    view.modeControl()->buttons()[1]->click();
    settle();
    EXPECT_EQ(stored(), 60);
    store(45);
    settle();
    notifications = 0;
    view.modeControl()->buttons()[1]->click(); // already timed: kept
    settle();
    EXPECT_EQ(stored(), 45);
    EXPECT_EQ(notifications, 0);
    view.modeControl()->buttons()[0]->click();
    settle();
    EXPECT_EQ(stored(), 0);
    EXPECT_FALSE(view.lengthBox()->isEnabled());
    view.modeControl()->buttons()[1]->click();
    settle();
    EXPECT_EQ(stored(), 60) << "not the last timed length";
}

TEST_F(AwakePaneTest, SwitchesAndTriggerAppsAreBound)
{
    struct Case {
        const char* title;
        bool (Settings::*read)() const;
    };
    const Case cases[] = {
        {"Allow display to sleep", &Settings::awakeAllowDisplaySleep},
        {"End below 10% battery", &Settings::awakeEndOnLowBattery},
        {"While an external display is connected", &Settings::awakeOnExternalDisplay},
        {"While an external drive is mounted", &Settings::awakeOnDriveMounted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ToggleSwitch* each = toggle(c.title);
        ASSERT_NE(each, nullptr);
        const bool before = (settings().*c.read)();
        each->click();
        EXPECT_EQ((settings().*c.read)(), !before);
    }

    // Stored twice and out of order: each app once, sorted; an unknown id by itself.
    settings().set(platform::PlistValue(QStringList{"zed.app", "alpha.app", "zed.app"}), SettingsKeys::awakeTriggerApps);
    settle();
    AppIdChips& chips = *pane().triggerChips();
    EXPECT_EQ(chips.names(), (QStringList{"alpha.app", "zed.app"}));
    chips.removeButton("zed.app")->click();
    settle();
    EXPECT_EQ(settings().awakeTriggerApps(), (QSet<QString>{"alpha.app"}));
    EXPECT_EQ(chips.names(), QStringList{"alpha.app"});
}

} // namespace
} // namespace quillon
