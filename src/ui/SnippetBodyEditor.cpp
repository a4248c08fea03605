#include "ui/SnippetBodyEditor.h"

#include "features/snippets/SnippetStore.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QStringListModel>
#include <QTextDocumentFragment>

namespace quillon {

namespace {

QFont editorFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    // 12.5 device-independent pixels: pixel sizes are whole, points are not.
    const QScreen* screen = QGuiApplication::primaryScreen();
    font.setPointSizeF(12.5 * 72.0 / (screen ? screen->logicalDotsPerInch() : 96.0));
    return font;
}

} // namespace

SnippetBodyEditor::SnippetBodyEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setFont(editorFont());
    setFrameShape(QFrame::NoFrame);
    setViewportMargins(4, 6, 4, 6);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_model = new QStringListModel(this);
    m_completer = new QCompleter(m_model, this);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(int(SnippetStore::placeholderCatalog().size()));
    QObject::connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
                     [this](const QString& token) { insertCompletion(token); });
    QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
}

void SnippetBodyEditor::setText(const QString& text)
{
    if (text == toPlainText())
        return;
    setPlainText(text);
}

bool SnippetBodyEditor::opensCompletion(const QString& text, int caret)
{
    return caret >= 1 && caret <= text.size() && text[caret - 1] == u'{';
}

std::optional<std::pair<int, int>> SnippetBodyEditor::completionRange(const QString& text, int caret)
{
    if (caret < 1 || caret > text.size())
        return std::nullopt;
    const int brace = int(text.lastIndexOf(u'{', caret - 1));
    if (brace < 0)
        return std::nullopt;
    return std::pair{brace, caret - brace};
}

void SnippetBodyEditor::textEdited()
{
    const QString text = toPlainText();
    if (onTextChanged)
        onTextChanged(text);
    const int caret = textCursor().position();
    if (opensCompletion(text, caret))
        refreshCompletion(true);
    else if (m_completer->popup()->isVisible())
        refreshCompletion(false); // the open list narrows as typing goes on
}

void SnippetBodyEditor::refreshCompletion(bool open)
{
    const QString text = toPlainText();
    const std::optional<std::pair<int, int>> range = completionRange(text, textCursor().position());
    const QStringList tokens =
        range ? SnippetStore::completions(text.mid(range->first, range->second)) : QStringList();
    m_model->setStringList(tokens);
    if (tokens.isEmpty()) {
        m_completer->popup()->hide();
        return;
    }
    if (!open && !m_completer->popup()->isVisible())
        return;
    QRect at = cursorRect();
    at.setWidth(m_completer->popup()->sizeHintForColumn(0) + 24);
    m_completer->complete(at);
    m_completer->popup()->setCurrentIndex(m_model->index(0));
}

void SnippetBodyEditor::insertCompletion(const QString& token)
{
    QTextCursor cursor = textCursor();
    const std::optional<std::pair<int, int>> range = completionRange(toPlainText(), cursor.position());
    if (!range)
        return;
    cursor.setPosition(range->first);
    cursor.setPosition(range->first + range->second, QTextCursor::KeepAnchor);
    cursor.insertText(token);
    setTextCursor(cursor);
    m_completer->popup()->hide();
}

void SnippetBodyEditor::keyPressEvent(QKeyEvent* event)
{
    // While the list is open, its keys choose or dismiss; QCompleter's own
    // filter handles them and leaves the event ignored for us.
    if (m_completer->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        default:
            break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace quillon

namespace quillon {

bool SnippetBodyEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() || source->hasHtml();
}

// Rich text arrives as its plain text: a body is plain text only.
void SnippetBodyEditor::insertFromMimeData(const QMimeData* source)
{
    const QString text =
        source->hasText() ? source->text() : QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    textCursor().insertText(text);
    ensureCursorVisible();
}

} // namespace quillon
