#include "ui/panes/SnippetEditor.h"

#include "features/snippets/SnippetStore.h"
#include "features/snippets/SnippetsFeature.h"
#include "ui/SettingsModel.h"
#include "ui/SnippetBodyEditor.h"
#include "ui/controls/Glyph.h"
#include "ui/panes/PasteboardText.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextLayout>
#include <QVBoxLayout>

namespace quillon {

namespace {

const char* const hint = "Type { for a placeholder — {date}, {clipboard}, {cursor}…";

// Two lines of the preview never need more than this of a long body.
constexpr qsizetype fittedPrefix = 4000;

QFont monospaced(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixelSize);
    return font;
}

QLabel* secondary(const QString& text, int pixelSize)
{
    auto* label = new QLabel(text);
    label->setFont(pixelFont(label->font(), pixelSize));
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

QString SnippetEditor::trimmedTrigger(const QString& trigger)
{
    qsizetype start = 0;
    qsizetype end = trigger.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (start < end && blank(trigger[start]))
        ++start;
    while (end > start && blank(trigger[end - 1]))
        --end;
    while (start < end && trigger[start] == u':')
        ++start;
    return trigger.mid(start, end - start);
}

bool SnippetEditor::canSave(const QString& trigger, const QString& body)
{
    return !trimmedTrigger(trigger).isEmpty() && !body.isEmpty();
}

QString SnippetEditor::previewText(const QString& body, const std::optional<QString>& clipboard)
{
    if (!body.contains(u'{'))
        return QString::fromUtf8(hint);
    // The same expansion an insertion makes, so the line never promises
    // something else.
    QString text = SnippetStore::expand(body, clipboard).text;
    text.replace(u'\n', QStringLiteral(" \u23CE "));
    return QStringLiteral("Inserts as: ") + text;
}

SnippetEditor* SnippetEditor::whileOpen(const QPointer<SnippetEditor>& editor)
{
    return editor && editor->isVisible() ? editor.data() : nullptr;
}

QString SnippetEditor::fitLines(const QString& text, const QFont& font, int width, int lines)
{
    const QString head = text.left(fittedPrefix);
    QTextLayout layout(head, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const QFontMetrics metrics(font);
    QStringList out;
    layout.beginLayout();
    for (int i = 0; i < lines; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (i == lines - 1) {
            QString rest = head.mid(line.textStart());
            if (text.size() > head.size())
                rest += QStringLiteral("…");
            out << metrics.elidedText(rest, Qt::ElideRight, width);
            break;
        }
        out << head.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return out.join(u'\n');
}

SnippetEditor::SnippetEditor(const Snippet& snippet, std::function<void(std::optional<Snippet>)> onDone,
                             std::shared_ptr<PasteboardText> clipboard, QWidget* parent)
    : QDialog(parent)
    , m_id(snippet.id)
    , m_done(std::move(onDone))
    , m_clipboard(std::move(clipboard))
{
    setWindowTitle(QStringLiteral("Snippet"));
    setWindowModality(Qt::WindowModal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* title = new QLabel(QStringLiteral("Snippet"));
    title->setFont(pixelFont(title->font(), 15, QFont::DemiBold));
    layout->addWidget(title);

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(6);
    auto* colon = secondary(QStringLiteral(":"), 13);
    colon->setFont(monospaced(13));
    nameRow->addWidget(colon);
    m_name = new QLineEdit(snippet.trigger);
    m_name->setPlaceholderText(QStringLiteral("addr"));
    m_name->setAccessibleName(QStringLiteral("Name"));
    m_name->setFont(monospaced(13));
    m_name->setFixedWidth(160);
    nameRow->addWidget(m_name);
    nameRow->addWidget(secondary(QStringLiteral("the short name you type in the picker"), 11));
    nameRow->addStretch(1);
    layout->addLayout(nameRow);

    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("snippetBodyFrame"));
    frame->setFixedSize(bodyWidth, bodyHeight);
    frame->setStyleSheet(
        QStringLiteral("#snippetBodyFrame { border: 1px solid palette(mid); border-radius: 6px; }"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    m_body = new SnippetBodyEditor;
    m_body->setAccessibleName(QStringLiteral("Body"));
    m_body->setText(snippet.body);
    frameLayout->addWidget(m_body);
    layout->addWidget(frame);

    m_preview = secondary(QString(), 11);
    m_preview->setFixedWidth(bodyWidth);
    m_preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_preview->setTextFormat(Qt::PlainText);
    layout->addWidget(m_preview);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setAutoDefault(false);
    m_save = new QPushButton(QStringLiteral("Save"));
    m_save->setDefault(true);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);
    layout->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, &SnippetEditor::save);
    connect(m_name, &QLineEdit::textChanged, this, &SnippetEditor::edited);
    m_body->onTextChanged = [this](const QString&) { edited(); };
    m_name->setFocus();
    edited();
}

SnippetEditor::~SnippetEditor() = default;

Snippet SnippetEditor::snippet() const
{
    return {m_id, m_name->text(), m_body->text()};
}

void SnippetEditor::edited()
{
    const Snippet now = snippet();
    m_save->setEnabled(canSave(now.trigger, now.body));
    const auto show = [this] {
        m_previewText = previewText(m_body->text(), m_clipboard ? m_clipboard->text() : std::nullopt);
        m_preview->setText(fitLines(m_previewText, m_preview->font(), bodyWidth, 2));
        m_preview->setAccessibleName(m_previewText);
    };
    show();
    if (!m_clipboard || !now.body.contains(QStringLiteral("{clipboard}")))
        return;
    // A clipboard that changed since the last read is read again; the line
    // follows when its text arrives.
    QPointer<SnippetEditor> self(this);
    m_clipboard->refresh([self, show] {
        if (self)
            show();
    });
}

void SnippetEditor::save()
{
    Snippet edited = snippet();
    if (!canSave(edited.trigger, edited.body))
        return;
    edited.trigger = trimmedTrigger(edited.trigger);
    m_saved = edited;
    accept();
}

void SnippetEditor::done(int result)
{
    QDialog::done(result);
    if (m_reported)
        return;
    m_reported = true;
    // Closing by the title bar or Escape rejects, and stores nothing.
    const std::optional<Snippet> answer = result == QDialog::Accepted ? m_saved : std::nullopt;
    if (m_done)
        m_done(answer);
}

SnippetEditor* presentSnippetEditor(SettingsModel& model, QWidget* over, const Snippet& snippet,
                                    std::shared_ptr<PasteboardText> clipboard)
{
    QPointer<SettingsModel> weakModel(&model);
    auto* editor = new SnippetEditor(
        snippet,
        [weakModel](std::optional<Snippet> saved) {
            if (!weakModel || !saved)
                return;
            weakModel->features.snippets.store().save(*saved);
            weakModel->refresh();
        },
        std::move(clipboard), over ? over->window() : nullptr);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->open();
    return editor;
}

} // namespace quillon
