#include "input/FeatureChords.h"
#include "fakes/FakePlatform.h"
#include "input/LeaderWatcher.h"
#include "input/ModifierWatcher.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

using namespace quillon;
namespace F = quillon::platform::KeyFlags;
using Key = FeatureChords::Key;

namespace {

constexpr platform::EventFlags rightCommand = F::command | F::rightCommand;
constexpr platform::EventFlags rightOption = F::option | F::rightOption;
constexpr platform::EventFlags leftOption = F::option | F::leftOption;
constexpr platform::EventFlags featureLeader = rightCommand | rightOption;
constexpr uint16_t keyA = 0, keyS = 1, keyF = 3, keyC = 8, keyB = 11, keyT = 17, key1 = 18, key2 = 19,
                   keyJ = 38, keySemicolon = 41, keyComma = 43, keySlash = 44, keyPeriod = 47, keyGrave = 50;

struct FeatureChordsTest : ::testing::Test {
    FeatureChordsTest()
    {
        chords.onHintPress = [this](const QString& letter) { events << "pulse " + letter; };
        chords.onSnippetPicker = [this] { events << "snippet picker"; };
        chords.isSnippetsLive = [this] { return snippetsLive; };
        chords.isNowPlayingLive = [this] { return nowPlayingLive; };
        chords.onMediaKey = [this](MediaKey key) { events << QStringLiteral("media %1").arg(int(key)); };
        chords.registerAction([this](Key key) { events << "action " + FeatureChords::letter(key); });
    }
    /// Holds the modifiers, presses and releases the key, lets the queue run.
    bool chord(platform::EventFlags flags, uint16_t key)
    {
        fake.keyEventsImpl.sendFlags(flags);
        const bool swallowed = fake.interceptorImpl.press(key, flags);
        fake.interceptorImpl.release(key, flags);
        fake.keyEventsImpl.sendFlags(0);
        fake.queue.drain();
        return swallowed;
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    ModifierWatcher modifiers;
    LeaderWatcher leader{modifiers};
    FeatureChords chords{settings, leader};
    bool snippetsLive = false;
    bool nowPlayingLive = false;
    QStringList events;
};

TEST_F(FeatureChordsTest, ChordTable)
{
    struct Row {
        const char* name;
        platform::EventFlags held;
        uint16_t key;
        QStringList switchedOn;
        bool snippetsLive;
        QStringList expected;
        bool nowPlayingLive = false; // empty: the key passes to the focused window
    };
    const Row rows[] = {
        {"awake", featureLeader, keyA, {}, false, {"pulse A", "action A"}},
        {"with left Alt", rightCommand | leftOption, keyA, {}, false, {"pulse A", "action A"}},
        {"focus", featureLeader, keyF, {}, false, {"pulse F", "action F"}},
        {"breaks", featureLeader, keyB, {}, false, {"pulse B", "action B"}},
        {"settings", featureLeader, keyGrave, {}, false, {"pulse ~", "action ~"}},
        {"profile 1", featureLeader, key1, {}, false, {"pulse 1", "action 1"}},
        {"profile 2", featureLeader, key2, {}, false, {"pulse 2", "action 2"}},
        {"shelf off", featureLeader, keyS, {}, false, {}},
        {"shelf on", featureLeader, keyS, {"shelf.isEnabled"}, false, {"pulse S", "action S"}},
        {"ocr off", featureLeader, keyT, {}, false, {}},
        {"ocr on", featureLeader, keyT, {"ocr.isEnabled"}, false, {"pulse T", "action T"}},
        {"clipboard off", featureLeader, keyC, {}, false, {}},
        {"clipboard on", featureLeader, keyC, {"clipboard.isEnabled"}, false, {"pulse C", "action C"}},
        {"no chord on J", featureLeader, keyJ, {}, false, {}},
        {"with Super", featureLeader | F::control | F::leftControl, keyA, {}, false, {}},
        {"command leader letter", rightCommand, keyA, {}, false, {}},
        {"option leader letter", rightOption, keyA, {}, false, {}},
        {"snippets picker", rightCommand, keySemicolon, {}, true, {"snippet picker"}},
        {"snippets off", rightCommand, keySemicolon, {}, false, {}},
        {"previous", rightCommand, keyComma, {}, false, {"media 0"}, true},
        {"play-pause", rightCommand, keySlash, {}, false, {"media 1"}, true},
        {"next", rightCommand, keyPeriod, {}, false, {"media 2"}, true},
        {"media keys while nothing plays", rightCommand, keySlash, {}, false, {}, false},
        {"media keys are the command leader's", featureLeader, keySlash, {}, false, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* key : {"shelf.isEnabled", "ocr.isEnabled", "clipboard.isEnabled"})
            settings.set(row.switchedOn.contains(key), key);
        snippetsLive = row.snippetsLive;
        nowPlayingLive = row.nowPlayingLive;
        events.clear();
        EXPECT_EQ(chord(row.held, row.key), !row.expected.isEmpty());
        EXPECT_EQ(events, row.expected);
    }
}

// The tap answers at once; the chord's work follows on the main queue.
TEST_F(FeatureChordsTest, ActionsRunAfterTheKeyWasAnswered)
{
    fake.keyEventsImpl.sendFlags(featureLeader);
    EXPECT_TRUE(fake.interceptorImpl.press(keyA, featureLeader));
    EXPECT_TRUE(events.isEmpty());
    fake.queue.drain();
    EXPECT_EQ(events, (QStringList{"pulse A", "action A"}));
}

TEST_F(FeatureChordsTest, HintTilesForTheLiveKeysOfTheFeatureLeaderOnly)
{
    std::vector<std::pair<Leader, QStringList>> holds;
    leader.onHold = [&](Leader held, const std::vector<NotchBarItem>& items) {
        QStringList badges;
        for (const NotchBarItem& item : items) {
            EXPECT_TRUE(item.icon.has_value()) << item.badge->toStdString();
            EXPECT_FALSE(item.text || item.value || item.dimmed || item.pulseKey);
            badges << item.badge.value_or(QString());
        }
        holds.emplace_back(held, badges);
    };
    settings.set(true, "clipboard.isEnabled");
    fake.keyEventsImpl.sendFlags(featureLeader);
    fake.queue.advance(1);
    ASSERT_EQ(holds.size(), 1u);
    EXPECT_EQ(holds[0].second, (QStringList{"A", "F", "B", "C", "~", "1", "2"}));

    // The command leader: the chords serve it, but have no tiles for it.
    fake.keyEventsImpl.sendFlags(rightCommand);
    fake.queue.advance(1);
    EXPECT_EQ(holds.size(), 1u);

    // With the feature hints off there are no tiles, yet the chords work.
    settings.set(false, "notch.featureHints");
    EXPECT_TRUE(chords.hintItems().empty());
    fake.keyEventsImpl.sendFlags(featureLeader);
    fake.queue.advance(1);
    EXPECT_EQ(holds.size(), 1u);
    EXPECT_TRUE(fake.interceptorImpl.press(keyB, featureLeader));
}

TEST_F(FeatureChordsTest, ChordLabelsPerPane)
{
    EXPECT_EQ(FeatureChords::chords(SettingsPane::awake), (QStringList{"r\u2318 r\u2325 A"}));
    EXPECT_EQ(FeatureChords::chords(SettingsPane::general),
              (QStringList{"r\u2318 r\u2325 ~", "r\u2318 r\u2325 1", "r\u2318 r\u2325 2"}));
    EXPECT_TRUE(FeatureChords::chords(SettingsPane::snap).isEmpty());
}

TEST_F(FeatureChordsTest, GoneChordsTakeNoKeys)
{
    leader.remove(&chords);
    auto other = std::make_unique<FeatureChords>(settings, leader);
    int actions = 0;
    other->registerAction([&](Key) { ++actions; });
    fake.keyEventsImpl.sendFlags(featureLeader);
    ASSERT_TRUE(fake.interceptorImpl.press(keyA, featureLeader));
    other.reset(); // its posted work must not run
    fake.queue.drain();
    EXPECT_EQ(actions, 0);
    EXPECT_FALSE(leader.isRunning()) << "it left the watcher";
}

} // namespace
