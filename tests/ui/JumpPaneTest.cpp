#include "PaneFixture.h"

#include "features/jump/JumpFeature.h"
#include "input/Leader.h"
#include "settings/SettingsKeys.h"
#include "ui/Prompts.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/JumpBindingRow.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/JumpPane.h"
#include "ui/panes/PaneKit.h"

#include <QAbstractButton>

namespace quillon {
namespace {

platform::RunningApp running(int32_t pid, const QString& id, const QString& name)
{
    platform::RunningApp app;
    app.pid = pid;
    app.appId = id;
    app.name = name;
    app.regular = true;
    return app;
}

platform::AppEntry installed(const QString& id, const QString& name)
{
    platform::AppEntry entry;
    entry.appId = id;
    entry.name = name;
    entry.path = "/usr/share/applications/" + id + ".desktop";
    return entry;
}

struct JumpPaneTest : testing::PaneFixture<JumpPane> {
    JumpPaneTest()
    {
        fake.workspaceImpl.apps = {running(11, "org.zeta", "Zeta"), running(12, "org.mango", "Mango")};
        fake.appDirectoryImpl.list = {installed("org.alpha", "Alpha"), installed("org.zeta", "Zeta")};
    }
    static QStringList ids(const std::vector<JumpBindingApp>& apps)
    {
        QStringList out;
        for (const auto& app : apps)
            out << app.bundleID + "=" + app.name;
        return out;
    }
    QStringList rowNames()
    {
        QStringList out;
        for (JumpBindingRow* row : pane().letterRows())
            out << row->accessibleName();
        return out;
    }
    void setForced(const QMap<QString, QString>& letters) { settings().setJumpForced(letters); }
};

TEST_F(JumpPaneTest, RunningAppsComeFirstThenPinnedOnesByIdListedOnce)
{
    setForced({{"a", "org.alpha"}, {"z", "org.zeta"}, {"g", "org.gone"}, {"b", "org.alpha"}});
    // Alpha sorts first by name but is not running; org.gone is no longer installed.
    EXPECT_EQ(ids(JumpPane::bindingApps(settings())),
              (QStringList{"org.mango=Mango", "org.zeta=Zeta", "org.alpha=Alpha", "org.gone=org.gone"}));
    EXPECT_EQ(rowNames(), (QStringList{"Mango", "Zeta", "Alpha", "org.gone"}));

    // An app without an id has no letter to show.
    fake.workspaceImpl.apps.push_back(running(13, QString(), "Nameless"));
    setForced({});
    settle();
    EXPECT_EQ(rowNames(), (QStringList{"Mango", "Zeta"}));
}

TEST_F(JumpPaneTest, MalformedPinnedLettersReadAsTheStoreSays)
{
    const platform::PlistValue values[] = {
        platform::PlistValue(QStringLiteral("k=org.alpha")),
        platform::PlistValue(qint64(7)),
        platform::PlistValue(QStringList{"org.alpha"}),
        platform::PlistValue(platform::StringDictionary{{"", "org.alpha"}}),
    };
    for (const auto& value : values) {
        settings().set(value, SettingsKeys::jumpForced);
        EXPECT_EQ(ids(JumpPane::bindingApps(settings())), (QStringList{"org.mango=Mango", "org.zeta=Zeta"}));
        model->refresh();
        EXPECT_EQ(rowNames(), (QStringList{"Mango", "Zeta"}));
    }
}

TEST_F(JumpPaneTest, StateFollowsTheStore)
{
    struct Case {
        const char* name;
        bool jump;
        bool swipe;
        bool leaderHints;
        double delay;
        qint64 hints;
        const char* holdPhrase;
        const char* desktop;
        std::optional<int> hintsShown;
    };
    const Case cases[] = {
        {"at once", true, true, true, 0.0, 8, "as soon as you hold it", "instantly, with no slide — that's Swipe", 8},
        {"after a moment", true, false, true, 0.2, 30, "after 200 ms of holding",
         "straight to that desktop; turn Swipe on for instant touchpad swipes too", 20},
        {"jump off", false, false, true, 1.0, 7, "after 1 second of holding",
         "straight to that desktop; turn Swipe on for instant touchpad swipes too", std::nullopt},
        {"hints off", true, true, false, 0.35, 2, "after 350 ms of holding",
         "instantly, with no slide — that's Swipe", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings().setJumpEnabled(c.jump);
        settings().setSwipeEnabled(c.swipe);
        settings().setNotchLeaderHints(c.leaderHints);
        settings().setNotchHintDelay(c.delay);
        settings().setNotchMaxHintItems(c.hints);
        const JumpPaneState state = JumpPane::state(settings());
        const QString hold = "that strip appears at the top of the screen " + QString::fromUtf8(c.holdPhrase) +
                             ". Tapping a letter switches; letting go without one does nothing.";
        EXPECT_EQ(state.holdSubtitle, hold);
        EXPECT_EQ(state.showsDemo, c.jump);
        EXPECT_EQ(state.desktopSubtitle, QString::fromUtf8(c.desktop));
        EXPECT_EQ(state.hintCountEnabled, c.leaderHints);
        EXPECT_EQ(state.selectedHintCount, c.hintsShown);

        JumpPane& view = pane();
        model->refresh();
        settle();
        EXPECT_EQ(view.holdRow()->subLabel()->text(), hold);
        EXPECT_EQ(view.showMeRow()->isHidden(), !c.jump);
        EXPECT_EQ(view.turnOnRow()->isHidden(), c.jump);
        EXPECT_EQ(view.desktopRow()->subLabel()->text(), QString::fromUtf8(c.desktop));
        EXPECT_EQ(view.hintCountBox()->isEnabled(), c.leaderHints) << "shown, but disabled";
        EXPECT_FALSE(view.hintCountBox()->isHidden());
        EXPECT_EQ(view.hintCountBox()->selectedTag(), c.hintsShown);
        EXPECT_EQ(settings().defaults().integerForKey(SettingsKeys::notchMaxHintItems), c.hints)
            << "showing a count never rewrites it";
    }
}

TEST_F(JumpPaneTest, LetterAnswersFollowThePromptsRule)
{
    struct Case {
        const char* name;
        QMap<QString, QString> before;
        /// What is typed; none cancels.
        std::optional<QString> typed;
        QMap<QString, QString> after;
        QStringList rows;
    };
    const QStringList runningRows{"Mango", "Zeta"};
    pane();
    countNotifications();
    const Case cases[] = {
        {"cancel", {{"k", "org.zeta"}}, std::nullopt, {{"k", "org.zeta"}}, runningRows},
        {"a letter held by another app moves", {{"k", "org.zeta"}}, "K", {{"k", "org.alpha"}},
         runningRows + QStringList{"Alpha"}},
        {"a second letter replaces the first", {{"k", "org.alpha"}, {"z", "org.zeta"}}, "m",
         {{"m", "org.alpha"}, {"z", "org.zeta"}}, runningRows + QStringList{"Alpha"}},
        {"several letters pin the first", {}, "Qx", {{"q", "org.alpha"}}, runningRows + QStringList{"Alpha"}},
        {"blank unpins", {{"m", "org.alpha"}, {"z", "org.zeta"}}, "", {{"z", "org.zeta"}}, runningRows},
        {"no letter unpins", {{"m", "org.alpha"}}, "7 !", {}, runningRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setForced(c.before);
        JumpPane& view = pane();
        settle();
        QStringList asked;
        view.prompt = [&](const QString& name) -> std::optional<std::optional<QString>> {
            asked << name;
            if (!c.typed)
                return std::nullopt;
            return std::optional<std::optional<QString>>(std::in_place, JumpLetterPrompt::letter(*c.typed));
        };
        notifications = 0;
        view.applyLetterAnswer("org.alpha");
        settle();
        EXPECT_EQ(asked, QStringList{"Alpha"});
        EXPECT_EQ(settings().jumpForced(), c.after);
        EXPECT_EQ(notifications, c.typed ? 1 : 0);
        EXPECT_EQ(rowNames(), c.rows);
    }
}

TEST_F(JumpPaneTest, APinnedLetterShowsOnItsRow)
{
    setForced({{"k", "org.mango"}});
    JumpPane& view = pane();
    ASSERT_EQ(view.letterRows().size(), 2);
    EXPECT_EQ(view.letterRows()[0]->badge(), QStringList{"K"});
    setForced({{"n", "org.mango"}});
    settle();
    EXPECT_EQ(view.letterRows()[0]->badge(), QStringList{"N"});
}

TEST_F(JumpPaneTest, ShowMeDrawsTheCommandLeadersStripForAMoment)
{
    settings().setJumpEnabled(true);
    JumpPane& view = pane();
    int shown = 0;
    QString caption;
    double seconds = 0;
    std::size_t count = 0;
    view.showHints = [&](const std::vector<NotchBarItem>& items, const QString& text, double hideAfter) {
        ++shown;
        count = items.size();
        caption = text;
        seconds = hideAfter;
    };
    view.showMeRow()->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(caption, "press a key to jump");
    EXPECT_EQ(seconds, 2.5);
    EXPECT_EQ(count, model->features.jump.hintItems(Leader::command).size());
}

TEST_F(JumpPaneTest, IgnoredAppsAreSortedChipsThatFlipOneId)
{
    settings().set(platform::PlistValue(QStringList{"org.b", "org.a", "org.b"}), SettingsKeys::jumpIgnored);
    JumpPane& view = pane();
    EXPECT_EQ(view.ignoredChips()->bundleIDs(), (QStringList{"org.a", "org.b"}));
    QList<AppChip*> chips = view.ignoredChips()->chips();
    ASSERT_EQ(chips.size(), 2);
    chips[0]->removeButton()->click();
    settle();
    EXPECT_EQ(settings().jumpIgnored(), QSet<QString>{"org.b"});
    EXPECT_EQ(view.ignoredChips()->bundleIDs(), QStringList{"org.b"});
}

TEST_F(JumpPaneTest, TextsReadLinuxKeys)
{
    JumpPane& view = pane();
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>())
        texts << label->text();
    const QString all = texts.join('\n');
    for (const char* glyph : {"⌘", "⌥"})
        EXPECT_FALSE(all.contains(QString::fromUtf8(glyph))) << all.toStdString();
    EXPECT_TRUE(all.contains("Hold the Ctrl to the RIGHT of the space bar")) << all.toStdString();
    EXPECT_TRUE(all.contains("hold Right Ctrl for app icons with keycaps; Right Alt for window initials"));
    EXPECT_TRUE(all.contains("draws the Right Ctrl hint strip at the top of the screen for a moment"));
}

} // namespace
} // namespace quillon
