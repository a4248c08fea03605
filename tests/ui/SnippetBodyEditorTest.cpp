#include "ui/SnippetBodyEditor.h"
#include "fakes/FakePlatform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QKeyEvent>
#include <QMimeData>
#include <gtest/gtest.h>

namespace quillon {
namespace {

void type(QWidget& widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &press);
    }
}

TEST(SnippetBodyEditor, OpenRuleAndRange)
{
    struct Row {
        QString text;
        int caret;
        bool opens;
        std::optional<std::pair<int, int>> range;
    };
    const Row rows[] = {
        {"{", 1, true, std::pair{0, 1}},
        {"a {d", 4, false, std::pair{2, 2}},
        {"{x} and\n{da", 11, false, std::pair{8, 3}},
        {"{x} then more", 13, false,
         std::pair{0, 13}}, // the last "{" before the caret, whatever lies between
        {"no brace", 8, false, std::nullopt},
        {"{", 0, false, std::nullopt},
        {"{", 5, false, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(SnippetBodyEditor::opensCompletion(row.text, row.caret), row.opens);
        EXPECT_EQ(SnippetBodyEditor::completionRange(row.text, row.caret), row.range);
    }
}

class SnippetBodyEditorTest : public ::testing::Test {
protected:
    SnippetBodyEditorTest()
    {
        editor.onTextChanged = [this](const QString& text) { bound = text; };
        editor.resize(400, 200);
        editor.show();
    }
    int listed() const { return editor.completer()->completionModel()->rowCount(); }
    bool listOpen() const { return editor.completer()->popup()->isVisible(); }

    fakes::FakePlatform fake;
    SnippetBodyEditor editor;
    QString bound;
};

TEST_F(SnippetBodyEditorTest, BraceOpensTheTokensAndTypingNarrowsThem)
{
    type(editor, "Hi ");
    EXPECT_FALSE(listOpen());
    type(editor, "{");
    EXPECT_TRUE(listOpen());
    EXPECT_EQ(listed(), 8);
    type(editor, "d");
    EXPECT_TRUE(listOpen());
    EXPECT_EQ(listed(), 3);
    EXPECT_EQ(bound, "Hi {d");

    emit editor.completer()->activated(QStringLiteral("{date:yyyy-MM-dd}"));
    EXPECT_EQ(editor.text(), "Hi {date:yyyy-MM-dd}");
    EXPECT_EQ(bound, "Hi {date:yyyy-MM-dd}");
    EXPECT_EQ(editor.textCursor().position(), editor.text().size());
    EXPECT_FALSE(listOpen());

    type(editor, " {x");
    EXPECT_FALSE(listOpen()); // no token starts with {x
}

TEST_F(SnippetBodyEditorTest, OutsideUpdatesKeepTheCaretWhenEqual)
{
    editor.setText("Dear team,");
    EXPECT_EQ(bound, "Dear team,");
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(4);
    editor.setTextCursor(cursor);
    bound.clear();
    editor.setText("Dear team,");
    EXPECT_EQ(editor.textCursor().position(), 4);
    EXPECT_TRUE(bound.isEmpty());
    editor.setText("Another body");
    EXPECT_EQ(editor.text(), "Another body");
}

TEST_F(SnippetBodyEditorTest, PastedRichTextArrivesPlain)
{
    auto* data = new QMimeData;
    data->setHtml("<p><b>Bold</b> &ldquo;quoted&rdquo; -- text</p>");
    QApplication::clipboard()->setMimeData(data);
    editor.paste();
    EXPECT_EQ(editor.text(), QString("Bold \u201cquoted\u201d -- text"));
    EXPECT_FALSE(editor.document()->toHtml().contains("font-weight:700"));
}

} // namespace
} // namespace quillon
