#pragma once

#include "features/snippets/Snippet.h"
#include "ui/PaneView.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace quillon {

class FormSection;
class PasteboardText;
class PermissionGate;
class RowButton;
class RowLabel;
class SnippetEditor;

/// One line of the placeholder reference.
struct PlaceholderRowState {
    QString token;
    QString help;
    /// What the token would produce right now.
    QString example;
    /// Every example but the caret's is set in the fixed-width font.
    bool monospaced = true;
    bool operator==(const PlaceholderRowState&) const = default;
};

/// What the Snippets pane shows, read from the store, the clipboard and the clock.
struct SnippetsPaneState {
    /// The rows, in stored order.
    std::vector<Snippet> snippets;
    bool showsEmptyText = false;
    /// The "A placeholder is filled in…" explanation with today's "{date+1d}".
    QString placeholderHelp;
    /// "Where they're kept".
    QString storageHelp;
    std::vector<PlaceholderRowState> placeholders;
    bool postEventsAllowed = false;
};

/// One stored snippet: ":" and its name, its first line, and a cross that
/// deletes it. Clicking anywhere else on the row edits it.
class SnippetRow final : public QWidget {
    Q_OBJECT

public:
    SnippetRow(std::function<void(const Snippet&)> edit, std::function<void(const Snippet&)> remove,
               QWidget* parent = nullptr);

    /// Shows `snippet`; the actions act on it from then on.
    void setSnippet(const Snippet& snippet);
    const Snippet& snippet() const { return m_snippet; }
    RowButton* editButton() const { return m_edit; }
    QToolButton* removeButton() const { return m_remove; }
    QString triggerText() const;
    QString previewText() const;

private:
    Snippet m_snippet;
    RowButton* m_edit = nullptr;
    QLabel* m_trigger = nullptr;
    QLabel* m_preview = nullptr;
    QToolButton* m_remove = nullptr;
};

/// The pane of snippets: what they and their placeholders are, the post-key
/// gate, the picker's chord, the stored snippets (edit, delete, create) and
/// a reference of every placeholder with what it gives at this moment.
class SnippetsPane final : public PaneView {
    Q_OBJECT

public:
    explicit SnippetsPane(SettingsModel& model, QWidget* parent = nullptr);
    ~SnippetsPane() override;

    static SnippetsPaneState state(const std::vector<Snippet>& snippets,
                                   const std::optional<QString>& clipboard, const QString& root,
                                   const QString& home, bool postEventsAllowed);
    /// The state now.
    SnippetsPaneState currentState() const;

    void reload() override;

    /// Opens the editor on a new, empty snippet.
    void newSnippet();
    /// The open editor; none while no snippet is edited.
    SnippetEditor* editor() const;
    QList<SnippetRow*> rows() const;
    QLabel* emptyLabel() const { return m_empty; }
    QPushButton* newButton() const { return m_new; }
    /// The example shown beside `token`.
    QLabel* exampleLabel(const QString& token) const;
    RowLabel* placeholderHelpLabel() const { return m_placeholderHelp; }
    RowLabel* storageLabel() const { return m_storage; }
    PermissionGate* gate() const { return m_gate; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    void edit(const Snippet& snippet);
    void remove(const Snippet& snippet);
    void showRows(const std::vector<Snippet>& snippets);
    void showExamples(const std::vector<PlaceholderRowState>& rows);
    void clipboardChanged();

    std::shared_ptr<PasteboardText> m_clipboard;
    QList<FormSection*> m_sections;
    PermissionGate* m_gate = nullptr;
    RowLabel* m_placeholderHelp = nullptr;
    RowLabel* m_storage = nullptr;
    QWidget* m_rowBox = nullptr;
    QVBoxLayout* m_rowLayout = nullptr;
    std::vector<SnippetRow*> m_rows;
    QLabel* m_empty = nullptr;
    QPushButton* m_new = nullptr;
    std::vector<std::pair<QString, QLabel*>> m_examples;
    QPointer<SnippetEditor> m_editor;
};

} // namespace quillon
