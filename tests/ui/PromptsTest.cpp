#include "ui/Prompts.h"
#include "fakes/FakePlatform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace quillon {
namespace {

TEST(Prompts, DurationAnswers)
{
    const std::tuple<const char*, bool, std::optional<int>> cases[] = {
        {" 90 ", false, 90},
        {"90", true, 5400},
        {"2", true, 120},
        {"+3", false, 3},
        {"1", false, 1},
        {"", false, std::nullopt},
        {"abc", false, std::nullopt},
        {"0", false, std::nullopt},
        {"-5", false, std::nullopt},
        {"1.5", false, std::nullopt},
        {"3 0", false, std::nullopt},
        {"12345678901234567890", false, std::nullopt},
        {"2147483647", false, 2147483647},
        {"2147483648", false, std::nullopt},
        {"35791395", true, std::nullopt},
        {"35791394", true, 35791394 * 60},
    };
    for (const auto& [text, hours, expected] : cases)
        EXPECT_EQ(AwakeDurationPrompt::answer(text, hours), expected) << text << (hours ? " hours" : "");
}

TEST(Prompts, LetterAnswers)
{
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"  9B", QString("b")}, {"x", QString("x")}, {"Éa", QString("é")},
        {"9", std::nullopt},    {"", std::nullopt},  {" ;: ", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(JumpLetterPrompt::letter(text), expected) << text;
}

struct PromptDialogs : ::testing::Test {
    static void press(QWidget* target, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    }
    fakes::FakePlatform fake;
};

TEST_F(PromptDialogs, DurationDialogGivesMinutesOrHours)
{
    std::unique_ptr<QDialog> dialog(AwakeDurationPrompt::make());
    auto* field = dialog->findChild<QLineEdit*>("duration");
    auto* unit = dialog->findChild<QComboBox*>("unit");
    ASSERT_TRUE(field && unit);
    EXPECT_EQ(field->placeholderText(), "30");
    EXPECT_EQ(field->width(), 56);
    EXPECT_EQ(unit->count(), 2);
    EXPECT_EQ(field->parentWidget()->size(), QSize(172, 24));
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("How long should the computer stay awake?")) << texts.join('|').toStdString();

    dialog->show();
    dialog->activateWindow();
    dialog->setFocus();
    EXPECT_EQ(dialog->focusWidget(), field);
    field->setText("2");
    unit->setCurrentIndex(1);
    press(field, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(AwakeDurationPrompt::answerOf(*dialog), 120);
}

TEST_F(PromptDialogs, EscapeCancels)
{
    std::unique_ptr<QDialog> duration(AwakeDurationPrompt::make());
    duration->show();
    duration->findChild<QLineEdit*>("duration")->setText("45");
    press(duration.get(), Qt::Key_Escape);
    EXPECT_EQ(duration->result(), QDialog::Rejected);
    EXPECT_EQ(AwakeDurationPrompt::answerOf(*duration), std::nullopt);

    std::unique_ptr<QDialog> letter(JumpLetterPrompt::make("Firefox"));
    letter->show();
    press(letter.get(), Qt::Key_Escape);
    EXPECT_EQ(letter->result(), QDialog::Rejected);
}

TEST_F(PromptDialogs, LetterDialogNamesTheAppAndTheKey)
{
    std::unique_ptr<QDialog> dialog(JumpLetterPrompt::make("Firefox"));
    QString informative;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text().contains("Firefox"))
            informative = label->text();
    }
    EXPECT_TRUE(informative.startsWith("Right Ctrl + this letter will always switch to Firefox"))
        << informative.toStdString();
    auto* field = dialog->findChild<QLineEdit*>("letter");
    EXPECT_EQ(field->placeholderText(), "Letter (blank to clear)");
    QStringList buttons;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        buttons << button->text();
    EXPECT_TRUE(buttons.contains("Set") && buttons.contains("Cancel"));
    field->setText("  9B");
    EXPECT_EQ(JumpLetterPrompt::letterOf(*dialog), QString("b"));
}

} // namespace
} // namespace quillon
