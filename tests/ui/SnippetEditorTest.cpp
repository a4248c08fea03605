#include "ui/panes/SnippetEditor.h"
#include "common/FixedIcuDefaults.h"
#include "fakes/FakePlatform.h"
#include "features/snippets/SnippetStore.h"
#include "ui/SnippetBodyEditor.h"
#include "ui/panes/PasteboardText.h"

#include "InputEvents.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace quillon {
namespace {

using testing::keyClick;
using testing::keyClicks;

const QString hint = QStringLiteral("Type { for a placeholder — {date}, {clipboard}, {cursor}…");

TEST(SnippetEditor, TrimmedTriggerAndTheSaveCondition)
{
    struct Row {
        QString typed;
        QString trimmed;
    };
    const Row rows[] = {
        {"  :addr ", "addr"},
        {"::", ""},
        {" : x", " x"}, // trimming comes first: the space after the
                        // colon stays
        {"\taddr\t", "addr"},
        {"a:b", "a:b"},
        {" \t ", ""},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SnippetEditor::trimmedTrigger(row.typed), row.trimmed) << row.typed.toStdString();

    struct Save {
        QString trigger;
        QString body;
        bool allowed;
    };
    const Save saves[] = {
        {"addr", "12 Main St", true}, {"addr", "", false},
        {"", "12 Main St", false},    {"   ", "12 Main St", false},
        {":::", "12 Main St", false}, {"addr", "   ", true}, // a body of spaces counts
    };
    for (const Save& save : saves)
        EXPECT_EQ(SnippetEditor::canSave(save.trigger, save.body), save.allowed)
            << save.trigger.toStdString() << " / " << save.body.toStdString();
}

class SnippetEditorPreview : public ::testing::Test {
protected:
    SnippetEditorPreview() { fake.queue.setNow(QDateTime(QDate(2024, 1, 31), QTime(23, 30), Qt::UTC)); }
    fakes::FakePlatform fake;
    testing::FixedIcuDefaults icuDefaults{"en_US", "UTC"};
};

TEST_F(SnippetEditorPreview, ShowsWhatTheBodyInsertsNow)
{
    struct Row {
        const char* name;
        QString body;
        std::optional<QString> clipboard;
        QString preview;
    };
    const Row rows[] = {
        {"no placeholder", "12 Main St", "clip", hint},
        {"a brace that is no placeholder", "a } b", std::nullopt, hint},
        {"one cursor", "Dear {cursor},", std::nullopt, "Inserts as: Dear ,"},
        {"a second cursor is dropped too", "a{cursor}b{cursor}c", std::nullopt, "Inserts as: abc"},
        {"two lines on one", "Sent {date:yyyy-MM-dd}\nBye", std::nullopt,
         "Inserts as: Sent 2024-01-31 \u23CE Bye"},
        {"the clipboard in full", "[{clipboard}]", "a long copied text\nwith a second line",
         "Inserts as: [a long copied text \u23CE with a second line]"},
        {"an empty clipboard", "[{clipboard}]", "", "Inserts as: []"},
        {"no clipboard text", "[{clipboard}]", std::nullopt, "Inserts as: []"},
        {"malformed placeholders stay", "{date+}{nope}", std::nullopt, "Inserts as: {date+}{nope}"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SnippetEditor::previewText(row.body, row.clipboard), row.preview) << row.name;

    const QString ids = SnippetEditor::previewText("{uuid} {uuid}", std::nullopt);
    const QRegularExpressionMatch match =
        QRegularExpression("^Inserts as: ([0-9a-f-]{36}) ([0-9a-f-]{36})$").match(ids);
    ASSERT_TRUE(match.hasMatch()) << ids.toStdString();
    EXPECT_NE(match.captured(1), match.captured(2));
}

TEST_F(SnippetEditorPreview, LongPreviewsStopAfterTwoLines)
{
    const QFont font;
    const QString fitted = SnippetEditor::fitLines(QString("word ").repeated(20'000), font, 420, 2);
    const QStringList lines = fitted.split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("…"))) << lines[1].toStdString();
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), 420);
    EXPECT_EQ(SnippetEditor::fitLines("short", font, 420, 2), "short");
}

/// An editor on the fake platform, recording what `done` is told.
class SnippetEditorKeys : public ::testing::Test {
protected:
    SnippetEditor& open(const Snippet& snippet)
    {
        editor = std::make_unique<SnippetEditor>(
            snippet,
            [this](std::optional<Snippet> result) {
                ++calls;
                answer = std::move(result);
            },
            clipboard);
        editor->show();
        return *editor;
    }

    fakes::FakePlatform fake;
    std::shared_ptr<PasteboardText> clipboard = std::make_shared<PasteboardText>();
    std::unique_ptr<SnippetEditor> editor;
    int calls = 0;
    std::optional<Snippet> answer;
};

TEST_F(SnippetEditorKeys, SaveStoresTheTrimmedNameWithIdAndBody)
{
    const QUuid id = QUuid::createUuid();
    SnippetEditor& sheet = open({id, QString(), QString()});
    EXPECT_FALSE(sheet.saveButton()->isEnabled());
    EXPECT_EQ(sheet.preview(), hint);

    sheet.nameField()->setText("  :addr ");
    EXPECT_FALSE(sheet.saveButton()->isEnabled()) << "no body yet";
    sheet.bodyEditor()->setText("12 Main St\n{cursor}");
    ASSERT_TRUE(sheet.saveButton()->isEnabled());
    EXPECT_EQ(sheet.preview(), "Inserts as: 12 Main St \u23CE ");

    sheet.saveButton()->click();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, (Snippet{id, "addr", "12 Main St\n{cursor}"}));
    EXPECT_FALSE(sheet.isVisible());
}

TEST_F(SnippetEditorKeys, ReturnBreaksTheBodyAndSavesFromTheName)
{
    SnippetEditor& sheet = open({QUuid::createUuid(), QString(), QString()});
    // Return in the name field does nothing while Save is disabled.
    keyClick(sheet.nameField(), Qt::Key_Return, "\r");
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(sheet.isVisible());

    keyClicks(sheet.nameField(), "sig");
    sheet.bodyEditor()->setFocus();
    keyClicks(sheet.bodyEditor(), "Ann");
    keyClick(sheet.bodyEditor(), Qt::Key_Return, "\r");
    keyClicks(sheet.bodyEditor(), "Lee");
    EXPECT_EQ(sheet.bodyEditor()->text(), "Ann\nLee");
    EXPECT_EQ(calls, 0) << "Return in the body is a line break";

    keyClick(sheet.nameField(), Qt::Key_Return, "\r");
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->trigger, "sig");
    EXPECT_EQ(answer->body, "Ann\nLee");
}

TEST_F(SnippetEditorKeys, EscapeClosesTheCompletionListBeforeCancelling)
{
    SnippetEditor& sheet = open({QUuid::createUuid(), "addr", "12 Main St"});
    sheet.bodyEditor()->setFocus();
    keyClicks(sheet.bodyEditor(), " ");
    keyClick(sheet.bodyEditor(), Qt::Key_BraceLeft, "{");
    QAbstractItemView* list = sheet.bodyEditor()->completer()->popup();
    ASSERT_TRUE(list->isVisible());

    // The open list has the keys: the first Escape only closes it.
    keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(calls, 0);

    keyClick(sheet.bodyEditor(), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(answer) << "Escape stores nothing";
}

TEST_F(SnippetEditorKeys, ClosingAnyOtherWayStoresNothingOnce)
{
    SnippetEditor& sheet = open({QUuid::createUuid(), "addr", "12 Main St"});
    sheet.close();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(answer);
    sheet.cancelButton()->click();
    EXPECT_EQ(calls, 1) << "done is told once";
}

TEST_F(SnippetEditorKeys, ClipboardPreviewFollowsTheClipboard)
{
    fake.pasteboardImpl.writeString("hello");
    clipboard->refresh({});
    SnippetEditor& sheet = open({QUuid::createUuid(), "x", "<{clipboard}>"});
    EXPECT_EQ(sheet.preview(), "Inserts as: <hello>");

    // A new copy is read at the next edit, and the line follows its answer.
    fake.pasteboardImpl.holdReads = true;
    fake.pasteboardImpl.writeString("world");
    sheet.bodyEditor()->setText("<{clipboard}>!");
    EXPECT_EQ(sheet.preview(), "Inserts as: <hello>!");
    fake.pasteboardImpl.answerReads();
    EXPECT_EQ(sheet.preview(), "Inserts as: <world>!");
    const int reads = fake.pasteboardImpl.reads;
    sheet.bodyEditor()->setText("<{clipboard}>!!");
    EXPECT_EQ(fake.pasteboardImpl.reads, reads) << "an unchanged clipboard is not read again";
}

} // namespace
} // namespace quillon
