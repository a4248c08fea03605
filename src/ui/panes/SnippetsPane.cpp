#include "ui/panes/SnippetsPane.h"

#include "features/snippets/SnippetStore.h"
#include "features/snippets/SnippetsFeature.h"
#include "input/FeatureChords.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "support/AppFiles.h"
#include "support/DS.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/PasteboardText.h"
#include "ui/panes/SendKeystrokesGate.h"
#include "ui/panes/ShelfPane.h"
#include "ui/panes/SnippetEditor.h"
#include "ui/panes/TextRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

const QString cursorToken = QStringLiteral("{cursor}");

} // namespace

SnippetRow::SnippetRow(std::function<void(const Snippet&)> edit, std::function<void(const Snippet&)> remove,
                       QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    m_edit = new RowButton;
    m_edit->contentLayout()->setSpacing(9);
    m_trigger = new QLabel;
    m_trigger->setTextFormat(Qt::PlainText);
    m_trigger->setFont(monospacedFont(12));
    QPalette accent = m_trigger->palette();
    accent.setColor(QPalette::WindowText, DS::accent());
    m_trigger->setPalette(accent);
    m_preview = secondaryLabel(QString(), 13);
    m_preview->setFont(font());
    m_preview->setMinimumWidth(0);
    m_preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_edit->contentLayout()->addWidget(m_trigger);
    m_edit->contentLayout()->addWidget(m_preview, 1);
    // The whole row is the edit button, cross excepted.
    m_trigger->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(m_edit, 1);
    m_remove = glyphButton(QStringLiteral("xmark"), 9, DS::menuTextTertiary(), QStringLiteral("Delete"));
    layout->addWidget(m_remove, 0, Qt::AlignVCenter);
    connect(m_edit, &QAbstractButton::clicked, this, [this, edit = std::move(edit)] { edit(m_snippet); });
    connect(m_remove, &QAbstractButton::clicked, this,
            [this, remove = std::move(remove)] { remove(m_snippet); });
}

void SnippetRow::setSnippet(const Snippet& snippet)
{
    if (snippet == m_snippet && !m_trigger->text().isEmpty())
        return;
    m_snippet = snippet;
    m_trigger->setText(QLatin1Char(':') + snippet.trigger);
    m_preview->setText(snippet.preview());
    m_edit->setAccessibleName(m_trigger->text());
    m_remove->setAccessibleName(QStringLiteral("Delete ") + m_trigger->text());
}

QString SnippetRow::triggerText() const
{
    return m_trigger->text();
}

QString SnippetRow::previewText() const
{
    return m_preview->text();
}

SnippetsPaneState SnippetsPane::state(const std::vector<Snippet>& snippets,
                                      const std::optional<QString>& clipboard, const QString& root,
                                      const QString& home, bool postEventsAllowed)
{
    SnippetsPaneState state;
    state.snippets = snippets;
    state.showsEmptyText = snippets.empty();
    state.placeholderHelp =
        QStringLiteral("a body of “Sending this on {date+1d}.” inserts as “Sending this on ") +
        SnippetStore::placeholderExample(QStringLiteral("{date+1d}"), std::nullopt) +
        QStringLiteral(
            ".” Type { in the body editor to pick one; the full list is at the bottom of this pane.");
    state.storageHelp =
        QStringLiteral("a plain file in ") + ShelfPane::displayPath(root, home) +
        QStringLiteral(", readable only by your account. Deleting a snippet here deletes it there.");
    for (const auto& [token, help] : SnippetStore::placeholderCatalog())
        state.placeholders.push_back(
            {token, help, SnippetStore::placeholderExample(token, clipboard), token != cursorToken});
    state.postEventsAllowed = postEventsAllowed;
    return state;
}

SnippetsPaneState SnippetsPane::currentState() const
{
    return state(model().features.snippets.store().all(), m_clipboard->text(), AppFiles::root(),
                 platform::platform().paths().home(), sendKeystrokesGranted());
}

SnippetsPane::SnippetsPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , m_clipboard(std::make_shared<PasteboardText>())
{
    auto* form = new PaneForm;
    auto* help = new QWidget;
    auto* helpLayout = new QVBoxLayout(help);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    helpLayout->setSpacing(9);
    helpLayout->addWidget(new RowLabel(
        paneText("A snippet is a short name plus some text"),
        paneText(
            "name one “addr” with your address as the body — then press r⌘ : anywhere (the ⌘ right of the "
            "space bar), type addr, ⏎, and the address appears where you were typing.")));
    m_placeholderHelp = new RowLabel(QStringLiteral("A placeholder is filled in at the moment you insert"),
                                     QStringLiteral(" "));
    helpLayout->addWidget(m_placeholderHelp);
    helpLayout->addWidget(new RowLabel(
        QStringLiteral("{cursor} is the exception — it inserts nothing"),
        QStringLiteral("it only marks where your typing caret ends up. A body of “Dear {cursor},” leaves you "
                       "typing between “Dear ” and the comma. One per snippet; extras are dropped.")));
    m_storage = new RowLabel(QStringLiteral("Where they're kept"), QStringLiteral(" "));
    helpLayout->addWidget(m_storage);
    form->addSection(new FeatureHeader(model, SettingsPane::snippets, help));

    m_gate = sendKeystrokesGate(model, QStringLiteral("until this is granted a snippet only lands on your "
                                                      "clipboard — it can't appear where you're typing"));
    m_sections << m_gate;

    auto* shortcut = new FormSection(QStringLiteral("Shortcut"));
    shortcut->addLabeledRow(
        new RowLabel(
            QStringLiteral("Open the snippet picker"),
            paneText("type a name and press ⏎. Both chords are app-wide — neither depends on Jump.")),
        new Hotkeys(QStringList{QStringLiteral("r⌘ :")} + FeatureChords::chords(SettingsPane::snippets)));
    m_sections << shortcut;

    auto* list = new FormSection(QStringLiteral("Snippets — click a row to edit"));
    m_rowBox = new QWidget;
    m_rowLayout = new QVBoxLayout(m_rowBox);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(2);
    m_empty =
        secondaryLabel(QStringLiteral("No snippets yet — try one named “addr” whose body is your postal "
                                      "address."),
                       13);
    m_empty->setWordWrap(true);
    m_rowLayout->addWidget(m_empty);
    m_new = new QPushButton(QStringLiteral("+ New Snippet…"));
    connect(m_new, &QPushButton::clicked, this, &SnippetsPane::newSnippet);
    auto* newRow = new QHBoxLayout;
    newRow->addWidget(m_new);
    newRow->addStretch(1);
    m_rowLayout->addLayout(newRow);
    list->addRow(m_rowBox);
    m_sections << list;

    auto* reference = new FormSection(
        QStringLiteral("Placeholder reference — the right column is what each would produce right now"));
    for (const auto& [token, helpText] : SnippetStore::placeholderCatalog()) {
        auto* label = new QWidget;
        auto* labelLayout = new QVBoxLayout(label);
        labelLayout->setContentsMargins(0, 0, 0, 0);
        labelLayout->setSpacing(2);
        auto* tokenLabel = new QLabel(token);
        tokenLabel->setTextFormat(Qt::PlainText);
        tokenLabel->setFont(monospacedFont(12));
        labelLayout->addWidget(tokenLabel);
        auto* helpLabel = new QLabel(helpText);
        helpLabel->setTextFormat(Qt::PlainText);
        helpLabel->setFont(fractionalFont(helpLabel->font(), 10.5));
        QPalette tertiary = helpLabel->palette();
        tertiary.setColor(QPalette::WindowText, DS::menuTextTertiary());
        helpLabel->setPalette(tertiary);
        labelLayout->addWidget(helpLabel);
        auto* example = secondaryLabel(QString(), 11.5);
        example->setAccessibleName(token);
        example->setFont(token == cursorToken ? fractionalFont(example->font(), 11.5) : monospacedFont(11.5));
        example->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        reference->addLabeledRow(label, example);
        m_examples.emplace_back(token, example);
    }
    m_sections << reference;

    placeForm(*this, form, m_sections);
}

SnippetsPane::~SnippetsPane() = default;

SnippetEditor* SnippetsPane::editor() const
{
    return SnippetEditor::whileOpen(m_editor);
}

QList<SnippetRow*> SnippetsPane::rows() const
{
    return QList<SnippetRow*>(m_rows.begin(), m_rows.end());
}

QLabel* SnippetsPane::exampleLabel(const QString& token) const
{
    for (const auto& [each, label] : m_examples) {
        if (each == token)
            return label;
    }
    return nullptr;
}

void SnippetsPane::newSnippet()
{
    edit({SnippetStore::uuidSource(), QString(), QString()});
}

void SnippetsPane::edit(const Snippet& snippet)
{
    if (editor())
        return;
    m_editor = presentSnippetEditor(model(), this, snippet, m_clipboard);
}

void SnippetsPane::remove(const Snippet& snippet)
{
    // No confirmation: the row goes at once, and so does its line in the file.
    model().features.snippets.store().remove(snippet.id);
    model().refresh();
}

void SnippetsPane::showRows(const std::vector<Snippet>& snippets)
{
    resizeRows<SnippetRow>(m_rows, snippets.size(), m_rowLayout, [this] {
        return new SnippetRow([this](const Snippet& snippet) { edit(snippet); },
                              [this](const Snippet& snippet) { remove(snippet); });
    });
    for (std::size_t i = 0; i < snippets.size(); ++i)
        m_rows[i]->setSnippet(snippets[i]);
}

void SnippetsPane::showExamples(const std::vector<PlaceholderRowState>& rows)
{
    for (const PlaceholderRowState& row : rows) {
        if (QLabel* label = exampleLabel(row.token))
            label->setText(row.example);
    }
}

void SnippetsPane::clipboardChanged()
{
    std::vector<PlaceholderRowState> rows;
    for (const PlaceholderRowState& row : currentState().placeholders) {
        if (row.token == QLatin1String("{clipboard}"))
            rows.push_back(row);
    }
    showExamples(rows);
}

void SnippetsPane::reload()
{
    PaneView::reload();
    // The examples show the clipboard text known now, and follow when a
    // changed clipboard answers.
    QPointer<SnippetsPane> self(this);
    m_clipboard->refresh([self] {
        if (self)
            self->clipboardChanged();
    });
    const SnippetsPaneState now = currentState();
    m_gate->setGranted(now.postEventsAllowed);
    m_placeholderHelp->subLabel()->setText(now.placeholderHelp);
    m_storage->subLabel()->setText(now.storageHelp);
    showRows(now.snippets);
    m_empty->setVisible(now.showsEmptyText);
    showExamples(now.placeholders);
}

} // namespace quillon
