#include "input/HotkeyFormat.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace quillon {

namespace {

bool isModifier(const QString& character)
{
    static const QStringList modifiers = {QStringLiteral("⌘"), QStringLiteral("⌥"), QStringLiteral("⌃"),
                                          QStringLiteral("⇧")};
    return modifiers.contains(character);
}

QStringList characters(const QString& token)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, token);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result << token.mid(start, end - start);
        start = end;
    }
    return result;
}

bool isAsciiLetter(const QString& character)
{
    return character.size() == 1 && character[0].unicode() < 128 && character[0].isLetter();
}

} // namespace

HotkeyFormat::Parsed HotkeyFormat::parse(const QString& label)
{
    Parsed parsed;
    for (const QString& token : label.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QStringList chars = characters(token);
        if (chars.size() >= 2 && chars[0] == QLatin1String("r") && isModifier(chars[1])) {
            parsed.rightSide = true;
            chars.removeFirst();
        }
        if (chars.size() == 1)
            parsed.keys << chars[0];
        else if (std::all_of(chars.begin(), chars.end(), isAsciiLetter))
            parsed.keys << chars.join(QString());
        else
            parsed.keys << chars;
    }
    return parsed;
}

QString HotkeyFormat::compact(const QString& label)
{
    const Parsed parsed = parse(label);
    QString result = parsed.rightSide ? QStringLiteral("r ") : QString();
    for (qsizetype i = 0; i < parsed.keys.size(); ++i) {
        const QString& key = parsed.keys[i];
        if (i > 0 && (characters(key).size() >= 2 || characters(parsed.keys[i - 1]).size() >= 2))
            result += QLatin1Char(' ');
        result += key;
    }
    return result;
}

} // namespace quillon
