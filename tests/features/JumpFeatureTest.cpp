#include "features/jump/JumpFeature.h"
#include "SweepFixture.h"
#include "input/LeaderWatcher.h"
#include "input/ModifierWatcher.h"
#include "spaceswitch/SpaceSwitch.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

constexpr int32_t kXcode = 10, kSafari = 20, kSlack = 30, kSublime = 40;

struct JumpRig : testing::QuitFixture {
    JumpRig()
    {
        fake.workspaceImpl.apps = {app(kXcode, "xcode", "Xcode", true), app(kSlack, "slack", "Slack", false),
                                   app(kSublime, "sublime", "Sublime Text", false),
                                   app(kSafari, "safari", "Safari", false)};
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        fake.pointerImpl.position = QPointF(700, 400);
        settings.setJumpCycleSameLetter(true);
        settings.setJumpHideOnRepeat(true);
        jump.onHintPress = [this](const QString& key) { pulses.push_back(key); };
        jump.onSpaceJumped = [this](int number) { jumped.push_back(number); };
    }
    ~JumpRig() { css_stop(); }

    /// Presses the letter under the command leader and runs what it queued;
    /// answers the app brought forward (0: none).
    int32_t press(QChar key, double after = 0.3)
    {
        fake.queue.advance(after);
        const size_t before = fake.workspaceImpl.activated.size();
        EXPECT_TRUE(jump.handle(Leader::command, key));
        fake.queue.drain();
        return fake.workspaceImpl.activated.size() > before ? fake.workspaceImpl.activated[before] : 0;
    }
    std::vector<QString> badges(Leader leader)
    {
        std::vector<QString> out;
        for (const auto& item : jump.hintItems(leader))
            out.push_back(item.badge.value_or(QString()) + "/" +
                          item.pulseKey.value_or(item.text.value_or("")));
        return out;
    }

    ModifierWatcher modifiers;
    LeaderWatcher leader{modifiers};
    JumpFeature jump{settings, leader};
    std::vector<QString> pulses;
    std::vector<int> jumped;
};

TEST(JumpFeatureTest, LettersCycleThroughTheirGroupInRecencyOrder)
{
    JumpRig r;
    r.jump.activate();
    // Xcode in front: s starts with the first by name, then steps and wraps.
    EXPECT_EQ(r.press('s'), kSafari);
    EXPECT_EQ(r.press('s'), kSlack);
    EXPECT_EQ(r.press('s'), kSublime);
    EXPECT_EQ(r.press('s'), kSafari);
    EXPECT_EQ(r.pulses, (std::vector<QString>{"safari", "slack", "sublime", "safari"}));
    // 1.2 s after the last press starts over.
    EXPECT_EQ(r.press('s', 1.2), kSafari);

    // Slack used last stands last: from Slack, s wraps to the one never used.
    r.bringToFront(kSlack);
    EXPECT_EQ(r.press('s', 2), kSafari);
}

TEST(JumpFeatureTest, AWallClockStepNeitherMakesNorBreaksARepeat)
{
    JumpRig r;
    r.jump.activate();
    EXPECT_EQ(r.press('s'), kSafari);
    r.fake.queue.setNow(r.fake.queue.now().addDays(-1));
    EXPECT_EQ(r.press('s', 0.5), kSlack) << "a backward step kept the repeat";
    r.fake.queue.setNow(r.fake.queue.now().addSecs(3600));
    EXPECT_EQ(r.press('s', 0.5), kSublime) << "a forward step kept the repeat";
}

TEST(JumpFeatureTest, SingleTargetHidesTheFrontAppOnlyWhenAsked)
{
    for (const bool hideOnRepeat : {true, false}) {
        JumpRig r;
        r.settings.setJumpHideOnRepeat(hideOnRepeat);
        r.jump.activate();
        const int32_t activated = r.press('x');
        EXPECT_EQ(r.fake.workspaceImpl.hidden,
                  hideOnRepeat ? std::vector<int32_t>{kXcode} : std::vector<int32_t>{});
        EXPECT_EQ(activated, hideOnRepeat ? 0 : kXcode);
        EXPECT_EQ(r.pulses, std::vector<QString>{"xcode"});
    }
}

TEST(JumpFeatureTest, KeysThatDoNothingAreStillConsumedExceptUnderTheFeatureLeader)
{
    JumpRig r;
    r.settings.setJumpCycleSameLetter(false);
    r.jump.activate();
    EXPECT_EQ(r.press('0'), 0) << "0 is no workspace digit and binds nothing";
    EXPECT_EQ(r.press('q'), 0);
    EXPECT_FALSE(r.jump.handle(Leader::feature, 's'));

    // An automatic letter of an app that quit since the last rebuild.
    r.fake.workspaceImpl.apps.pop_back(); // Safari, without a notice
    EXPECT_EQ(r.jump.binding("safari"), (JumpFeature::Binding{'s', false}));
    EXPECT_EQ(r.press('s'), 0);
    EXPECT_TRUE(r.pulses.size() == 1 && r.pulses[0] == "safari");
    EXPECT_TRUE(r.fake.workspaceImpl.hidden.empty());
}

TEST(JumpFeatureTest, APinnedAppThatIsNotRunningIsStartedOnce)
{
    JumpRig r;
    r.settings.setJumpForced({{"m", "mango"}});
    r.jump.activate();
    EXPECT_EQ(r.press('m'), 0);
    EXPECT_EQ(r.press('m'), 0);
    EXPECT_EQ(r.fake.workspaceImpl.launched, std::vector<QString>{"mango"})
        << "one start while it is pending";
    EXPECT_EQ(r.pulses, (std::vector<QString>{"mango", "mango"}));

    // It turns up: brought forward, its main window raised.
    r.fake.workspaceImpl.apps.push_back(r.app(77, "mango", "Mango", false));
    fakes::FakeWindowControl::Window w;
    w.id = 900;
    w.pid = 77;
    w.title = QStringLiteral("Mango");
    r.fake.windowControlImpl.table.push_back(w);
    r.fake.windowControlImpl.mainWindows[77] = 900;
    r.fake.workspaceImpl.launchDone.front()(77);
    r.fake.queue.drain();
    EXPECT_EQ(r.fake.workspaceImpl.activated.front(), 77);
    EXPECT_EQ(r.fake.windowControlImpl.raised, std::vector<platform::WindowId>{900});

    // Never showing up raises nothing, and the next press may start it again.
    r.fake.workspaceImpl.apps.pop_back();
    r.press('m', 2);
    ASSERT_EQ(r.fake.workspaceImpl.launchDone.size(), 2u);
    r.fake.workspaceImpl.launchDone.back()(std::nullopt);
    r.fake.queue.drain();
    EXPECT_EQ(r.fake.windowControlImpl.raised.size(), 1u);
    r.press('m');
    EXPECT_EQ(r.fake.workspaceImpl.launched.size(), 3u);
}

TEST(JumpFeatureTest, DeclaredKeysPerLeader)
{
    const auto command = JumpFeature::keyCodes(Leader::command);
    const auto option = JumpFeature::keyCodes(Leader::option);
    EXPECT_EQ(command.size(), 26u + 9u + 4u);
    EXPECT_EQ(option.size(), 26u);
    for (const uint16_t key : {18, 19, 20, 21, 22, 23, 25, 26, 28, 41, 43, 44, 47})
        EXPECT_NE(std::find(command.begin(), command.end(), key), command.end()) << key;
    EXPECT_EQ(std::find(command.begin(), command.end(), 29), command.end()) << "0 is left to the app";
    EXPECT_TRUE(JumpFeature::keyCodes(Leader::feature).empty());
}

TEST(JumpFeatureTest, CommandHintsOrderLimitAndTrailingItems)
{
    JumpRig r;
    r.settings.setJumpForced({{"s", "safari"}});
    r.jump.trailingCommandHints = [] {
        NotchBarItem extra;
        extra.text = QStringLiteral("extra");
        return std::vector<NotchBarItem>{extra};
    };
    r.jump.activate();
    // Running apps other than the front one first (letter order without a
    // recency), then the front app, then the trailing item below the limit.
    EXPECT_EQ(r.badges(Leader::command),
              (std::vector<QString>{"S/safari", "S/slack", "S/sublime", "X/xcode", "/extra"}));
    r.bringToFront(kSublime);
    r.bringToFront(kSlack);
    r.bringToFront(kXcode);
    EXPECT_EQ(r.badges(Leader::command),
              (std::vector<QString>{"S/slack", "S/sublime", "S/safari", "X/xcode", "/extra"}));
    EXPECT_EQ(r.jump.binding("safari"), (JumpFeature::Binding{'s', true}));
    EXPECT_EQ(r.jump.binding("slack"), (JumpFeature::Binding{'s', false}));
    EXPECT_EQ(r.jump.binding("nobody"), std::nullopt);

    const struct {
        qint64 limit;
        size_t apps;
    } limits[] = {{50, 20}, {1, 2}, {4, 4}};
    for (const auto& row : limits) {
        JumpRig many;
        many.fake.workspaceImpl.apps.clear();
        for (int i = 0; i < 26; ++i) {
            const QString name = QString(QChar('a' + i)) + "pp";
            many.fake.workspaceImpl.apps.push_back(many.app(100 + i, name, name, false));
        }
        many.settings.setNotchMaxHintItems(row.limit);
        many.jump.trailingCommandHints = r.jump.trailingCommandHints;
        many.jump.activate();
        EXPECT_EQ(many.jump.hintItems(Leader::command).size(), row.apps) << row.limit;
    }
}

TEST(JumpFeatureTest, WindowHintsAndKeys)
{
    JumpRig r;
    for (int i = 0; i < 12; ++i) {
        fakes::FakeWindowControl::Window w;
        w.id = 500 + i;
        w.pid = kXcode;
        w.title = QString(QChar('A' + i)) + "ile";
        r.fake.windowControlImpl.table.push_back(w);
    }
    r.settings.setNotchMaxHintItems(20);
    r.jump.activate();
    const auto items = r.jump.hintItems(Leader::option);
    ASSERT_EQ(items.size(), 9u) << "the app icon and eight windows";
    EXPECT_FALSE(items[0].badge.has_value());
    EXPECT_EQ(items[1].badge, QStringLiteral("A"));
    EXPECT_EQ(items[1].text, QStringLiteral("Aile"));

    EXPECT_TRUE(r.jump.handle(Leader::option, 'c'));
    EXPECT_TRUE(r.jump.handle(Leader::option, 'z'));
    r.fake.queue.drain();
    EXPECT_EQ(r.fake.windowControlImpl.raised, std::vector<platform::WindowId>{502});
    EXPECT_EQ(r.pulses, (std::vector<QString>{"C", "Z"}));
}

TEST(JumpSpacesTest, DigitsWalkOneWorkspaceAtATime)
{
    JumpRig r;
    r.jump.activate();
    EXPECT_TRUE(r.jump.handle(Leader::command, '3'));
    r.fake.queue.advance(2);
    EXPECT_EQ(r.fake.spacesImpl.switches, (std::vector<int>{1, 2}));
    EXPECT_EQ(r.jumped, std::vector<int>{3});

    // Already there, or beyond the count: nothing.
    r.jump.handle(Leader::command, '3');
    r.jump.handle(Leader::command, '9');
    r.fake.queue.advance(2);
    EXPECT_EQ(r.fake.spacesImpl.switches.size(), 2u);
    EXPECT_EQ(r.jumped.size(), 1u);
}

TEST(JumpSpacesTest, AWalkThatDoesNotMoveStops)
{
    JumpRig r;
    r.jump.activate();
    r.jump.handle(Leader::command, '4');
    r.fake.queue.drain();
    // The window manager takes the step back before it is seen.
    r.fake.spacesImpl.set(true, 1, 4);
    r.fake.queue.advance(0.6);
    EXPECT_EQ(r.fake.spacesImpl.switches, std::vector<int>{1});
    r.fake.queue.advance(5);
    EXPECT_TRUE(r.jumped.empty());
}

TEST(JumpSpacesTest, TheHopGoesOnlyToAWorkspaceTheWindowIsNotAlreadyOn)
{
    const struct {
        const char* name;
        std::vector<uint64_t> spaces;
        std::vector<int> switches;
    } rows[] = {
        {"window on workspace 3 only", {3}, {2}},
        {"sticky window, shown on every workspace", {1, 2, 3, 4}, {}},
    };
    for (const auto& row : rows) {
        JumpRig r;
        r.settings.setSwipeEnabled(true);
        fakes::FakeWindowControl::Window w;
        w.id = 700;
        w.pid = kSafari;
        w.title = QStringLiteral("Safari");
        r.fake.windowControlImpl.table.push_back(w);
        platform::WindowEntry entry;
        entry.id = 700;
        entry.pid = kSafari;
        r.fake.windowServerImpl.list->push_back(entry);
        r.fake.spacesImpl.windowSpaces[700] = row.spaces;
        r.jump.activate();
        r.jump.handle(Leader::command, 's');
        r.fake.queue.drain();
        EXPECT_EQ(r.fake.spacesImpl.switches, row.switches) << row.name;
        r.fake.queue.advance(0.5);
        EXPECT_EQ(r.fake.workspaceImpl.activated.front(), kSafari) << row.name;
    }
}

} // namespace
} // namespace quillon
