#include "PaneFixture.h"

#include "common/FixedIcuDefaults.h"

#include "features/snippets/SnippetStore.h"
#include "features/snippets/SnippetsFeature.h"
#include "support/AppFiles.h"
#include "ui/SnippetBodyEditor.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/SnippetEditor.h"
#include "ui/panes/SnippetsPane.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace quillon {
namespace {

struct SnippetsPaneTest : testing::PaneFixture<SnippetsPane> {
    SnippetsPaneTest() { fake.queue.setNow(QDateTime(QDate(2024, 1, 31), QTime(23, 30), Qt::UTC)); }
    SnippetStore& store() { return app->snippets().store(); }
    /// The triggers "Snippets.json" holds, in order.
    QStringList storedTriggers() const
    {
        QFile file(AppFiles::root() + "/Snippets.json");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList triggers;
        for (const QJsonValue& each : QJsonDocument::fromJson(file.readAll()).array())
            triggers << each.toObject().value("trigger").toString();
        return triggers;
    }
    QStringList shownTriggers()
    {
        QStringList triggers;
        for (SnippetRow* row : pane().rows())
            triggers << row->triggerText();
        return triggers;
    }

    testing::FixedIcuDefaults icuDefaults{"en_US", "UTC"};
};

TEST_F(SnippetsPaneTest, StateListsRowsEmptyTextAndExamples)
{
    const SnippetsPaneState empty =
        SnippetsPane::state({}, std::nullopt, "/home/ann/.local/share/Quillon", "/home/ann", true);
    EXPECT_TRUE(empty.showsEmptyText);
    EXPECT_EQ(empty.storageHelp,
              "a plain file in ~/.local/share/Quillon, readable only by your account. Deleting "
              "a snippet here deletes it there.");
    EXPECT_EQ(
        empty.placeholderHelp,
        "a body of “Sending this on {date+1d}.” inserts as “Sending this on Feb 1, 2024.” Type { in the body "
        "editor to pick one; the full list is at the bottom of this pane.");

    const std::vector<Snippet> snippets{{QUuid::createUuid(), "addr", "\n  \n\t12 Main St  \nTown"},
                                        {QUuid::createUuid(), "sig", "Ann"}};
    const SnippetsPaneState listed =
        SnippetsPane::state(snippets, "hello\nworld", "/data", "/home/ann", false);
    EXPECT_FALSE(listed.showsEmptyText);
    EXPECT_EQ(listed.snippets, snippets);
    EXPECT_EQ(listed.snippets[0].preview(), "12 Main St") << "the first line with text";

    struct Row {
        QString token;
        QString example;
        bool monospaced;
    };
    const Row rows[] = {
        {"{date}", "Jan 31, 2024", true},
        {"{time}", "11:30\u202fPM", true},
        {"{date+1d}", "Feb 1, 2024", true},
        {"{date:yyyy-MM-dd}", "2024-01-31", true},
        {"{time:HH:mm}", "23:30", true},
        {"{clipboard}", "hello", true},
        {"{cursor}", "caret marker (removed on insert)", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.token.toStdString());
        const auto found =
            std::find_if(listed.placeholders.begin(), listed.placeholders.end(),
                         [&](const PlaceholderRowState& each) { return each.token == row.token; });
        ASSERT_NE(found, listed.placeholders.end());
        EXPECT_EQ(found->example, row.example);
        EXPECT_EQ(found->monospaced, row.monospaced);
    }
    ASSERT_EQ(listed.placeholders.size(), 8u);
    EXPECT_EQ(listed.placeholders[5].token, "{uuid}");
    EXPECT_NE(listed.placeholders[5].example,
              SnippetsPane::state({}, std::nullopt, "/data", "/home", true).placeholders[5].example)
        << "a fresh id at each drawing";
    EXPECT_EQ(empty.placeholders[6].example, "(clipboard empty)");
}

TEST_F(SnippetsPaneTest, RowsFollowTheStoreAndDeleteAtOnce)
{
    store().save({QUuid::createUuid(), "addr", "12 Main St"});
    store().save({QUuid::createUuid(), "sig", "\n\nAnn Lee"});
    EXPECT_EQ(shownTriggers(), QStringList({":addr", ":sig"}));
    EXPECT_EQ(pane().rows()[1]->previewText(), "Ann Lee");
    EXPECT_TRUE(pane().emptyLabel()->isHidden());

    pane().rows()[0]->removeButton()->click();
    EXPECT_EQ(storedTriggers(), QStringList({"sig"})) << "gone from the file at once, without asking";
    settle();
    EXPECT_EQ(shownTriggers(), QStringList({":sig"}));

    pane().rows()[0]->removeButton()->click();
    settle();
    EXPECT_TRUE(pane().rows().isEmpty());
    EXPECT_FALSE(pane().emptyLabel()->isHidden());
}

TEST_F(SnippetsPaneTest, NewSnippetSavesThroughTheEditor)
{
    pane().newButton()->click();
    SnippetEditor* editor = pane().editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->nameField()->text().isEmpty());
    EXPECT_TRUE(editor->bodyEditor()->text().isEmpty());
    EXPECT_FALSE(editor->saveButton()->isEnabled());

    editor->nameField()->setText("addr");
    editor->bodyEditor()->setText("12 Main St");
    editor->saveButton()->click();
    settle();
    EXPECT_EQ(storedTriggers(), QStringList({"addr"}));
    EXPECT_EQ(shownTriggers(), QStringList({":addr"}));
    EXPECT_TRUE(pane().emptyLabel()->isHidden());
    EXPECT_EQ(pane().editor(), nullptr) << "the sheet closed";
}

TEST_F(SnippetsPaneTest, EditingKeepsTheIdAndANameTakenIgnoringCaseReplaces)
{
    const QUuid first = QUuid::createUuid();
    store().save({first, "addr", "12 Main St"});
    store().save({QUuid::createUuid(), "sig", "Ann"});
    pane().rows()[0]->editButton()->click();
    SnippetEditor* editor = pane().editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->nameField()->text(), "addr");
    editor->bodyEditor()->setText("14 Side St");
    editor->saveButton()->click();
    settle();
    ASSERT_EQ(store().all().size(), 2u);
    EXPECT_EQ(store().all()[0].id, first);
    EXPECT_EQ(store().all()[0].body, "14 Side St");

    // Another snippet named "ADDR" replaces it: the store keeps the saved one.
    pane().newButton()->click();
    pane().editor()->nameField()->setText("ADDR");
    pane().editor()->bodyEditor()->setText("PO Box 9");
    pane().editor()->saveButton()->click();
    settle();
    EXPECT_EQ(shownTriggers(), QStringList({":sig", ":ADDR"}));
}

TEST_F(SnippetsPaneTest, CancelStoresNothing)
{
    pane().newButton()->click();
    pane().editor()->nameField()->setText("addr");
    pane().editor()->bodyEditor()->setText("12 Main St");
    pane().editor()->cancelButton()->click();
    settle();
    EXPECT_TRUE(store().all().empty());
    EXPECT_FALSE(QFile::exists(AppFiles::root() + "/Snippets.json"));
}

TEST_F(SnippetsPaneTest, ExamplesShowTheClipboardAndTheGateFollowsTheGrant)
{
    fake.pasteboardImpl.writeString("hello");
    fake.permissionsImpl.postEvents = false;
    EXPECT_EQ(pane().exampleLabel("{clipboard}")->text(), "hello");
    EXPECT_EQ(pane().exampleLabel("{cursor}")->text(), "caret marker (removed on insert)");
    EXPECT_TRUE(pane().gate()->hasContent());

    // A new copy is read once, when the pane draws again.
    fake.pasteboardImpl.writeString("second copy");
    fake.permissionsImpl.postEvents = true;
    const int reads = fake.pasteboardImpl.reads;
    model->refresh();
    settle();
    EXPECT_EQ(pane().exampleLabel("{clipboard}")->text(), "second copy");
    EXPECT_FALSE(pane().gate()->hasContent());
    model->refresh();
    settle();
    EXPECT_EQ(fake.pasteboardImpl.reads, reads + 1) << "an unchanged clipboard is not read again";

    fake.pasteboardImpl.clear();
    model->refresh();
    settle();
    EXPECT_EQ(pane().exampleLabel("{clipboard}")->text(), "(clipboard empty)");
}

} // namespace
} // namespace quillon
