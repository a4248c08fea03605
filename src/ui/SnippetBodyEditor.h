#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <utility>

class QCompleter;
class QStringListModel;

namespace quillon {

/// The multi-line field a snippet's body is written in: plain text in the
/// fixed-width font, completing placeholder tokens after "{".
class SnippetBodyEditor final : public QPlainTextEdit {
public:
    explicit SnippetBodyEditor(QWidget* parent = nullptr);

    /// Every edit, with the whole text.
    std::function<void(const QString&)> onTextChanged;
    /// Brings the field in line with the bound value; an equal value leaves
    /// text and caret alone.
    void setText(const QString& text);
    QString text() const { return toPlainText(); }

    QCompleter* completer() const { return m_completer; }

    /// Whether typing that left the caret at `caret` opens the completion
    /// list: the UTF-16 unit before it is "{".
    static bool opensCompletion(const QString& text, int caret);
    /// The partial word being completed: from the last "{" before the caret
    /// to the caret (start and length); none without a "{".
    static std::optional<std::pair<int, int>> completionRange(const QString& text, int caret);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void textEdited();
    /// Rebuilds the list for the word before the caret; hides it when empty.
    void refreshCompletion(bool open);
    void insertCompletion(const QString& token);

    QCompleter* m_completer = nullptr;
    QStringListModel* m_model = nullptr;
};

} // namespace quillon
