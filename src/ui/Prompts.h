#pragma once

#include <QString>
#include <optional>

class QDialog;

namespace quillon {

/// Asks for a keep-awake duration of the person's own.
class AwakeDurationPrompt {
public:
    AwakeDurationPrompt() = delete;

    /// Minutes, or none when cancelled or not a whole number of at least 1.
    static std::optional<int> run();
    /// What the typed text answers: an integer (optional sign, digits) of at
    /// least 1, times 60 for hours; none for anything else and for more
    /// minutes than an int holds.
    static std::optional<int> answer(const QString& text, bool hours);
    /// The dialog run() shows; its result is answer() of what was entered
    /// when accepted. For tests and for callers that show it themselves.
    static QDialog* make();
    static std::optional<int> answerOf(const QDialog& dialog);
};

/// Asks for the letter that always switches to an application.
class JumpLetterPrompt {
public:
    JumpLetterPrompt() = delete;

    /// None when cancelled; an empty choice to clear the letter; else the
    /// letter in lower case.
    static std::optional<std::optional<QString>> run(const QString& appName);
    /// The first letter anywhere in the text, lower-cased; none clears.
    static std::optional<QString> letter(const QString& text);
    static QDialog* make(const QString& appName);
    static std::optional<QString> letterOf(const QDialog& dialog);
};

} // namespace quillon
