#pragma once

#include "features/snippets/Snippet.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class PasteboardText;
class SettingsModel;
class SnippetBodyEditor;

/// The sheet one snippet is named and written in, over the settings window:
/// the name, the body with placeholder completion, and a line showing what
/// the body would insert right now. `done` gets the edited snippet on Save
/// and nothing when the sheet closes any other way; storing it is the
/// caller's business.
class SnippetEditor final : public QDialog {
    Q_OBJECT

public:
    SnippetEditor(const Snippet& snippet, std::function<void(std::optional<Snippet>)> onDone,
                  std::shared_ptr<PasteboardText> clipboard, QWidget* parent = nullptr);
    ~SnippetEditor() override;

    static constexpr int bodyWidth = 420;
    static constexpr int bodyHeight = 180;

    /// The name as stored: spaces and tabs trimmed at both ends, then every
    /// leading ":" removed (the picker's chord character).
    static QString trimmedTrigger(const QString& trigger);
    /// Save needs a name and a body (a body of spaces counts).
    static bool canSave(const QString& trigger, const QString& body);
    /// The preview line in full: what the body inserts now, on one line, or
    /// the hint while the body has no placeholder.
    static QString previewText(const QString& body, const std::optional<QString>& clipboard);
    /// The sheet while it is open: a closed one lingers until its deletion
    /// comes round.
    static SnippetEditor* whileOpen(const QPointer<SnippetEditor>& editor);
    /// `text` fitted to `lines` lines of `width`, the last one cut with "…".
    static QString fitLines(const QString& text, const QFont& font, int width, int lines);

    /// The snippet as edited so far, name untrimmed.
    Snippet snippet() const;
    QLineEdit* nameField() const { return m_name; }
    SnippetBodyEditor* bodyEditor() const { return m_body; }
    QLabel* previewLabel() const { return m_preview; }
    /// The preview line before fitting.
    QString preview() const { return m_previewText; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    void edited();
    void save();

    QUuid m_id;
    std::function<void(std::optional<Snippet>)> m_done;
    std::shared_ptr<PasteboardText> m_clipboard;
    std::optional<Snippet> m_saved;
    bool m_reported = false;
    QString m_previewText;
    QLineEdit* m_name = nullptr;
    SnippetBodyEditor* m_body = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
};

/// Shows the editor for `snippet` over the window of `over`; a saved snippet
/// goes into the snippet store and the panes redraw. Answers the open sheet.
SnippetEditor* presentSnippetEditor(SettingsModel& model, QWidget* over, const Snippet& snippet,
                                    std::shared_ptr<PasteboardText> clipboard);

} // namespace quillon
