#include "ui/Prompts.h"

#include "platform/Platform.h"
#include "support/KeyNames.h"
#include "support/Words.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <climits>

namespace quillon {

namespace {

/// The alert layout: a bold message, the informative text, the accessory,
/// then the buttons with the default one on the right. Escape rejects.
QDialog* alert(const QString& message, const QString& informative, QWidget* accessory, const QString& okTitle)
{
    auto* dialog = new QDialog;
    dialog->setWindowTitle(message);
    dialog->setModal(true);
    auto* title = new QLabel(message);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    auto* text = new QLabel(informative);
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(okTitle, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(accessory, 0, Qt::AlignLeft);
    layout->addWidget(buttons);
    dialog->setMinimumWidth(300);
    return dialog;
}

bool runModal(QDialog& dialog, QWidget& field)
{
    // A menu-bar utility's prompt must come up in front of whatever has focus.
    dialog.show();
    platform::platform().appShell().bringToFront(dialog);
    field.setFocus();
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

std::optional<int> AwakeDurationPrompt::answer(const QString& text, bool hours)
{
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!integer.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || value < 1)
        return std::nullopt;
    const qlonglong limit = hours ? INT_MAX / 60 : INT_MAX;
    if (value > limit)
        return std::nullopt;
    return int(hours ? value * 60 : value);
}

QDialog* AwakeDurationPrompt::make()
{
    auto* accessory = new QWidget;
    accessory->setFixedSize(172, 24);
    auto* field = new QLineEdit(accessory);
    field->setObjectName(QStringLiteral("duration"));
    field->setPlaceholderText(QStringLiteral("30"));
    field->setGeometry(0, 0, 56, 24);
    auto* unit = new QComboBox(accessory);
    unit->setObjectName(QStringLiteral("unit"));
    unit->addItems({QStringLiteral("Minutes"), QStringLiteral("Hours")});
    unit->setGeometry(64, 0, 108, 24);
    QDialog* dialog = alert(QStringLiteral("Custom Keep-Awake Duration"),
                            Words::adapt(QStringLiteral("How long should the Mac stay awake?")), accessory,
                            QStringLiteral("Start"));
    dialog->setFocusProxy(field);
    return dialog;
}

std::optional<int> AwakeDurationPrompt::answerOf(const QDialog& dialog)
{
    if (dialog.result() != QDialog::Accepted)
        return std::nullopt;
    const auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("duration"));
    const auto* unit = dialog.findChild<QComboBox*>(QStringLiteral("unit"));
    return answer(field->text(), unit->currentIndex() == 1);
}

std::optional<int> AwakeDurationPrompt::run()
{
    std::unique_ptr<QDialog> dialog(make());
    runModal(*dialog, *dialog->findChild<QLineEdit*>(QStringLiteral("duration")));
    return answerOf(*dialog);
}

std::optional<QString> JumpLetterPrompt::letter(const QString& text)
{
    for (const QChar character : text) {
        if (character.isLetter())
            return QString(character).toLower();
    }
    return std::nullopt;
}

QDialog* JumpLetterPrompt::make(const QString& appName)
{
    auto* field = new QLineEdit;
    field->setObjectName(QStringLiteral("letter"));
    field->setPlaceholderText(QStringLiteral("Letter (blank to clear)"));
    field->setFixedSize(172, 24);
    const QString informative =
        QStringLiteral("r⌘ + this letter will always switch to ") + appName +
        QStringLiteral(", launching it if it's closed. Leave blank to clear (it reverts "
                       "to an automatic letter while running).");
    QDialog* dialog = alert(QStringLiteral("Force a Switcher Letter"),
                            KeyNames::label(Words::adapt(informative)), field, QStringLiteral("Set"));
    dialog->setFocusProxy(field);
    return dialog;
}

std::optional<QString> JumpLetterPrompt::letterOf(const QDialog& dialog)
{
    return letter(dialog.findChild<QLineEdit*>(QStringLiteral("letter"))->text());
}

std::optional<std::optional<QString>> JumpLetterPrompt::run(const QString& appName)
{
    std::unique_ptr<QDialog> dialog(make(appName));
    if (!runModal(*dialog, *dialog->findChild<QLineEdit*>(QStringLiteral("letter"))))
        return std::nullopt;
    return letterOf(*dialog);
}

} // namespace quillon
