#include "fakes/FakePlatform.h"
#include "fakes/FakeStatusItem.h"
#include "ui/StatusMenuController.h"
#include "ui/StatusMenuModel.h"

#include <QAction>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using Entry = StatusMenuModel::Entry;

/// One line per entry: "[x] " for a checked one, "[ ] " for an unchecked
/// check-box entry, "-" for a separator, "(…)" around a disabled one.
QStringList lines(const std::vector<Entry>& entries)
{
    QStringList out;
    for (const Entry& entry : entries) {
        if (entry.separator) {
            out << "-";
            continue;
        }
        QString line = entry.checked ? (*entry.checked ? "[x] " : "[ ] ") : QString();
        line += entry.title;
        out << (entry.enabled ? line : "(" + line + ")");
    }
    return out;
}

StatusMenuModel::Answers answers(int duration, bool running, bool updater)
{
    StatusMenuModel::Answers a;
    a.duration = duration;
    if (running)
        a.session = StatusMenuModel::AwakeSession{};
    a.canCheckForUpdates = updater;
    a.now = QDateTime(QDate(2026, 3, 1), QTime(10, 0), QTimeZone::utc());
    a.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    a.timeZone = QTimeZone::utc();
    return a;
}

TEST(StatusMenu, SubmenuForEachDuration)
{
    const QStringList presets{"15 minutes", "30 minutes", "1 hour", "2 hours", "5 hours"};
    const auto presetLines = [&](int checked) {
        QStringList out;
        for (int i = 0; i < presets.size(); ++i)
            out << (i == checked ? "[x] " : "[ ] ") + presets[i];
        return out;
    };
    const QStringList tail{"Custom…", "-", "[ ] Allow Display to Sleep", "-"};
    const struct {
        int duration;
        QStringList middle;
        bool indefinite;
    } cases[] = {
        {0, presetLines(-1), true},
        {45, presetLines(-1) << "[x] 45 minutes", false},
        {60, presetLines(2), false},
        {-5, presetLines(-1), false},
        {10'000'000, presetLines(-1) << "[x] 10000000 minutes", false},
    };
    for (const auto& c : cases) {
        for (const bool running : {false, true}) {
            QStringList expected{c.indefinite ? "[x] No time limit" : "[ ] No time limit", "-"};
            expected << c.middle << tail << (running ? "End Session Now" : "Start Session");
            const auto submenu = StatusMenuModel::awakeSubmenu(answers(c.duration, running, false));
            EXPECT_EQ(lines(submenu), expected) << c.duration << " running " << running;
        }
    }
    // A duration row stores its own minutes.
    const auto custom = StatusMenuModel::awakeSubmenu(answers(45, false, false));
    EXPECT_EQ(custom[7].tag, 45);
    EXPECT_EQ(custom[7].action, StatusMenuModel::Action::setDuration);
    EXPECT_EQ(custom[4].tag, 60);
}

TEST(StatusMenu, TopLevelEntries)
{
    const struct {
        bool running;
        bool updater;
        bool tour;
        QStringList expected;
    } cases[] = {
        {false, false, false, {"[ ] Keep Awake", "-", "Settings…", "-", "Quit Quillon"}},
        {false, true, false, {"[ ] Keep Awake", "-", "Settings…", "Check for Updates…", "-", "Quit Quillon"}},
        {true, false, false,
         {"[x] Keep Awake", "(\u2003\u2003no time limit, because a download runs)", "-", "Settings…", "-",
          "Quit Quillon"}},
        {false, false, true,
         {"Getting Started — 4 of 14", "-", "[ ] Keep Awake", "-", "Settings…", "-", "Quit Quillon"}},
    };
    for (const auto& c : cases) {
        auto a = answers(0, c.running, c.updater);
        if (c.running)
            a.session->trigger = QStringLiteral("a download runs");
        if (c.tour)
            a.walkthrough = StatusMenuModel::WalkthroughProgress{3, 14};
        const auto entries = StatusMenuModel::build(a);
        EXPECT_EQ(lines(entries), c.expected);
        const auto awake = std::find_if(entries.begin(), entries.end(),
                                        [](const Entry& e) { return e.title == "Keep Awake"; });
        ASSERT_NE(awake, entries.end());
        EXPECT_FALSE(awake->submenu.empty());
        if (c.tour) {
            ASSERT_TRUE(entries.front().progress);
            EXPECT_DOUBLE_EQ(*entries.front().progress, 4.0 / 14);
        }
    }
    // The session line tells the end in the locale's own short time.
    auto a = answers(30, true, false);
    a.session->endsAt = QDateTime(QDate(2026, 3, 2), QTime(1, 30), QTimeZone::utc());
    const auto entries = StatusMenuModel::build(a);
    EXPECT_EQ(entries[1].title, "\u2003\u2003until " + a.locale.toString(QTime(1, 30), QLocale::ShortFormat) +
                                    " tomorrow");
}

struct StatusMenuFixture : ::testing::Test {
    StatusMenuFixture()
    {
        auto item = std::make_unique<fakes::FakeStatusItem>(nullptr);
        tray = item.get();
        controller.statusItem = std::move(item);
        tray->setMenu(&controller.menu());
        tray->onClick = [this] { controller.statusItemClicked(); };
        tray->onContextClick = [this] { controller.statusItemContextClicked(); };
    }
    QAction* action(QMenu& menu, const QString& title)
    {
        for (QAction* a : menu.actions()) {
            if (a->text() == title)
                return a;
        }
        ADD_FAILURE() << "no entry " << title.toStdString();
        return nullptr;
    }
    QAction* awakeAction(const QString& title)
    {
        controller.rebuild();
        return action(controller.awakeMenu(), title);
    }

    fakes::FakePlatform fake;
    StatusMenuController controller;
    fakes::FakeStatusItem* tray = nullptr;
};

TEST_F(StatusMenuFixture, LeftClickOpensTheMenuRightClickTogglesAwake)
{
    int toggles = 0;
    controller.onToggleAwake = [&] { ++toggles; };
    tray->click();
    EXPECT_EQ(tray->menuPopUps, 1);
    EXPECT_EQ(toggles, 0);
    tray->contextClick();
    tray->contextClick();
    EXPECT_EQ(toggles, 2);
    EXPECT_EQ(tray->menuPopUps, 1) << "a right click never opens a menu";
    controller.onToggleAwake = nullptr;
    tray->contextClick(); // nothing to call: nothing happens
}

TEST_F(StatusMenuFixture, EntriesCallTheirClosures)
{
    std::vector<int> stored;
    bool allow = false;
    int settingsOpened = 0;
    controller.awakeDuration = [] { return 45; };
    controller.setAwakeDuration = [&](int minutes) { stored.push_back(minutes); };
    controller.setAllowsDisplaySleep = [&](bool value) { allow = value; };
    controller.onOpenSettings = [&] { ++settingsOpened; };

    awakeAction("1 hour")->trigger();
    awakeAction("45 minutes")->trigger();
    awakeAction("No time limit")->trigger();
    EXPECT_EQ(stored, (std::vector<int>{60, 45, 0}));
    // Without an answer for the display, choosing it stores true.
    awakeAction("Allow Display to Sleep")->trigger();
    EXPECT_TRUE(allow);
    controller.allowsDisplaySleep = [&] { return allow; };
    EXPECT_TRUE(awakeAction("Allow Display to Sleep")->isChecked());
    awakeAction("Allow Display to Sleep")->trigger();
    EXPECT_FALSE(allow);

    controller.rebuild();
    action(controller.menu(), "Settings…")->trigger();
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(action(controller.menu(), "Settings…")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(action(controller.menu(), "Quit Quillon")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    action(controller.menu(), "Quit Quillon")->trigger();
    EXPECT_EQ(fake.appShellImpl.terminations, 1);
}

TEST_F(StatusMenuFixture, CustomDurationAsksAfterTheMenuClosed)
{
    std::vector<int> stored;
    controller.setAwakeDuration = [&](int minutes) { stored.push_back(minutes); };
    std::optional<int> answer;
    int asked = 0;
    controller.runDurationPrompt = [&] {
        ++asked;
        return answer;
    };
    awakeAction("Custom…")->trigger();
    EXPECT_EQ(asked, 0) << "not while the menu is still up";
    fake.queue.drain();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(stored.empty()) << "a cancelled prompt changes nothing";

    answer = 90;
    awakeAction("Custom…")->trigger();
    fake.queue.drain();
    EXPECT_EQ(stored, std::vector<int>{90});
}

TEST(StatusMenu, MissingClosuresAnswerNothing)
{
    fakes::FakePlatform fake;
    StatusMenuController controller;
    controller.runDurationPrompt = nullptr;
    const auto a = controller.answers();
    EXPECT_FALSE(a.walkthrough);
    EXPECT_FALSE(a.session);
    EXPECT_EQ(a.duration, 0);
    EXPECT_FALSE(a.allowsDisplaySleep);
    EXPECT_FALSE(a.canCheckForUpdates);
    controller.rebuild();
    for (QAction* action : controller.awakeMenu().actions())
        action->trigger();
    fake.queue.drain();
}

} // namespace
} // namespace quillon
