#include "features/snippets/SnippetsFeature.h"

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::Pasteboard;

class SnippetsFeatureTest : public ::testing::Test {
protected:
    SnippetsFeatureTest()
    {
        for (const auto& [trigger, body] : {std::pair{"b", "bee"},
                                            {"a", "ay {clipboard}"},
                                            {"c", "sea"},
                                            {"greet", "Dear {cursor},"},
                                            {"end", "done{cursor}"}})
            feature.store().save({QUuid::createUuid(), trigger, body});
        fake.keyCharactersImpl.text[{0, 0}] = "a";
        fake.keyCharactersImpl.text[{5, 0}] = "g";
        fake.keyCharactersImpl.text[{14, 0}] = "e";
        fake.keyCharactersImpl.text[{45, 0}] = "n";
        feature.activate();
    }

    QStringList rows()
    {
        QStringList titles;
        for (const auto& item : SnippetsFeature::items(feature.visible()))
            titles << item.title;
        return titles;
    }
    // A press and its release, with the main queue run after.
    void tap(uint16_t code)
    {
        fake.interceptorImpl.press(code, 0, false);
        fake.interceptorImpl.release(code, 0);
        fake.queue.advance(0);
    }
    void pick(const QString& query)
    {
        feature.showPicker();
        for (const QChar c : query)
            tap(c == 'g' ? 5 : c == 'e' ? 14 : c == 'n' ? 45 : 0);
        tap(SnippetPicker::returnKey);
        fake.queue.advance(0);
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    SnippetsFeature feature{settings};
};

TEST_F(SnippetsFeatureTest, ShowsEverySnippetAndNarrowsAsKeysAreTyped)
{
    feature.showPicker();
    ASSERT_TRUE(feature.isOpen());
    EXPECT_EQ(rows(), (QStringList{":b", ":a", ":c", ":greet", ":end"}));
    EXPECT_EQ(feature.menu().highlightedIndex(), 0);
    tap(SnippetPicker::downKey);
    EXPECT_EQ(feature.menu().highlightedIndex(), 1);
    tap(5);
    EXPECT_EQ(feature.query(), "g");
    EXPECT_EQ(rows(), QStringList{":greet"});
    EXPECT_EQ(feature.menu().highlightedIndex(), 0);
    tap(SnippetPicker::deleteKey);
    EXPECT_EQ(rows().size(), 5);
    // Typed keys are the picker's, not the window's.
    EXPECT_TRUE(fake.interceptorImpl.press(0, 0, false));
}

TEST_F(SnippetsFeatureTest, AKeyWithCtrlHeldJoinsTheQuery)
{
    fake.keyCharactersImpl.text[{5, platform::KeyFlags::command}] = "g";
    feature.showPicker();
    EXPECT_TRUE(fake.interceptorImpl.press(5, platform::KeyFlags::command, false));
    EXPECT_EQ(feature.query(), "g");
}

TEST_F(SnippetsFeatureTest, InsertPastesTheExpansionWithBothMarksAndPlacesTheCaret)
{
    fake.pasteboardImpl.writeString("before");
    pick("a");
    EXPECT_FALSE(feature.isOpen());
    EXPECT_FALSE(fake.interceptorImpl.holds(0, 0)) << "the every-key grab outlived the picker";
    EXPECT_EQ(fake.pasteboardImpl.text, "ay before");
    EXPECT_TRUE(fake.pasteboardImpl.string(Pasteboard::transientType).has_value());
    using Stroke = fakes::FakeKeySynth::Stroke;
    EXPECT_EQ(fake.keySynthImpl.strokes, (std::vector<Stroke>{{9, platform::KeyFlags::command}}));

    fake.keySynthImpl.strokes.clear();
    pick("g");
    EXPECT_EQ(fake.pasteboardImpl.text, "Dear ,");
    EXPECT_EQ(fake.keySynthImpl.strokes,
              (std::vector<Stroke>{{9, platform::KeyFlags::command}, {SnippetPicker::leftKey, 0}}));
    fake.keySynthImpl.strokes.clear();
    fake.keySynthImpl.strokes.clear();
    pick("en");
    EXPECT_EQ(fake.pasteboardImpl.text, "done");
    EXPECT_EQ(fake.keySynthImpl.strokes, (std::vector<Stroke>{{9, platform::KeyFlags::command}}));
}

TEST_F(SnippetsFeatureTest, WithoutPostAccessOrWithSecureInputTheTextIsOnlyCopied)
{
    int copied = 0;
    feature.onCopiedWithoutPaste = [&] { ++copied; };
    fake.permissionsImpl.postEvents = false;
    pick("g");
    fake.permissionsImpl.postEvents = true;
    fake.inputAccessImpl.secure = true;
    pick("g");
    EXPECT_EQ(copied, 2);
    EXPECT_TRUE(fake.keySynthImpl.strokes.empty());
    EXPECT_EQ(fake.pasteboardImpl.text, "Dear ,");
}

TEST_F(SnippetsFeatureTest, EveryWayOfClosingReleasesTheGrab)
{
    struct Row {
        const char* name;
        std::function<void()> close;
    };
    const Row rows[] = {
        {"escape", [&] { tap(SnippetPicker::escapeKey); }},
        {"second showPicker", [&] { feature.showPicker(); }},
        {"outside click",
         [&] {
             fake.pointerImpl.press({1, false});
         }},
        {"app switch", [&] { fake.workspaceImpl.send(platform::AppNotice::activated, {}); }},
        {"deactivate", [&] { feature.deactivate(); }},
    };
    for (const Row& row : rows) {
        feature.activate();
        feature.showPicker();
        ASSERT_TRUE(feature.isOpen()) << row.name;
        row.close();
        EXPECT_FALSE(feature.isOpen()) << row.name;
        EXPECT_FALSE(fake.interceptorImpl.holds(0, 0)) << row.name;
        EXPECT_TRUE(fake.pasteboardImpl.string(Pasteboard::transientType) == std::nullopt) << row.name;
    }
    // A click on our own window, or of the middle button, keeps it open.
    feature.activate();
    feature.showPicker();
    fake.pointerImpl.press({1, true});
    fake.pointerImpl.press({2, false});
    EXPECT_TRUE(feature.isOpen());
    feature.deactivate();
    feature.showPicker();
    EXPECT_FALSE(feature.isOpen()) << "opened while off";
}

TEST_F(SnippetsFeatureTest, WithoutSnippetsReturnOnlySwallows)
{
    for (const Snippet& snippet : std::vector<Snippet>(feature.store().all()))
        feature.store().remove(snippet.id);
    feature.showPicker();
    EXPECT_EQ(feature.menu().headerText(), "No snippets yet — add them in Settings › Snippets");
    EXPECT_TRUE(fake.interceptorImpl.press(SnippetPicker::returnKey, 0, false));
    fake.interceptorImpl.release(SnippetPicker::returnKey, 0);
    fake.queue.advance(0);
    EXPECT_TRUE(feature.isOpen());
    EXPECT_EQ(fake.pasteboardImpl.writes, 0);
}

} // namespace
} // namespace quillon
