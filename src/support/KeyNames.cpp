#include "support/KeyNames.h"

#include <QStringList>

namespace quillon {

namespace {

struct Name {
    QStringView glyph;
    const char* label;
};

// Longest glyph first, so "r⌘" is never read as "r" followed by "⌘".
constexpr Name kNames[] = {
    {u"r⌘", "Right Ctrl"}, {u"r⌥", "Right Alt"}, {u"⌘", "Ctrl"},
    {u"⌥", "Alt"},         {u"⌃", "Super"},      {u"⇧", "Shift"},
};

// The right-hand leaders ("r⌘") start a word; an "r" ending a word is a letter.
const Name* nameAt(QStringView text, bool wordStart)
{
    for (const auto& name : kNames) {
        if (name.glyph.front() == u'r' && !wordStart)
            continue;
        if (text.startsWith(name.glyph))
            return &name;
    }
    return nullptr;
}

// An opening bracket or quotation mark starts a word: "(r⌥)" names the leader.
bool opens(QChar c)
{
    return c.category() == QChar::Punctuation_Open || c.category() == QChar::Punctuation_InitialQuote;
}

// A closing one ends the key text rather than naming a key pressed with it.
bool closes(QChar c)
{
    return c.category() == QChar::Punctuation_Close || c.category() == QChar::Punctuation_FinalQuote;
}

} // namespace

QString KeyNames::modifier(const QString& glyph)
{
    for (const auto& name : kNames) {
        if (glyph == name.glyph)
            return QString::fromLatin1(name.label);
    }
    return glyph;
}

QString KeyNames::label(const QString& keyText)
{
    QString result;
    QStringView rest(keyText);
    bool afterModifier = false;
    while (!rest.isEmpty()) {
        const bool wordStart =
            result.isEmpty() || result.back().isSpace() || opens(result.back()) || afterModifier;
        if (const Name* name = nameAt(rest, wordStart)) {
            if (afterModifier)
                result += u'+';
            result += QLatin1String(name->label);
            rest = rest.mid(name->glyph.size());
            afterModifier = true;
            continue;
        }
        const QChar c = rest.front();
        if (afterModifier && !c.isSpace() && !closes(c))
            result += u'+';
        result += c;
        rest = rest.mid(1);
        afterModifier = false;
    }
    return result;
}

} // namespace quillon
