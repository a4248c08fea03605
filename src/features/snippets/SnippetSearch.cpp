// The search side of SnippetStore: the picker's ranking and the editor's
// placeholder completions.
#include "features/snippets/SnippetStore.h"

namespace quillon {

namespace {

// The picker searches on every key over every snippet. For ASCII text the
// full lower-case mapping is Qt's case folding, which compares without
// making lower-case copies; anything else is lower-cased in full (some
// characters, such as the Kelvin sign, lower-case into ASCII).
bool isAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

char16_t lowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// Where the lower-cased needle occurs in the ASCII text, compared as if the
// text were lower-cased; `anchored` tries position 0 only.
bool findAscii(const QString& text, const QString& needle, bool anchored)
{
    const qsizetype last = text.size() - needle.size();
    const char16_t* hay = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* pin = reinterpret_cast<const char16_t*>(needle.utf16());
    for (qsizetype at = 0; at <= last; ++at) {
        qsizetype i = 0;
        while (i < needle.size() && lowerAscii(hay[at + i]) == pin[i])
            ++i;
        if (i == needle.size())
            return true;
        if (anchored)
            return false;
    }
    return false;
}

bool startsWithLower(const QString& text, const QString& lowerNeedle)
{
    if (isAscii(text))
        return findAscii(text, lowerNeedle, true);
    return text.toLower().startsWith(lowerNeedle);
}

bool containsLower(const QString& text, const QString& lowerNeedle)
{
    if (isAscii(text))
        return findAscii(text, lowerNeedle, false);
    return text.toLower().contains(lowerNeedle);
}

} // namespace

std::vector<Snippet> SnippetStore::matches(const QString& query, const std::vector<Snippet>& snippets)
{
    qsizetype begin = 0;
    qsizetype end = query.size();
    while (begin < end && (query[begin] == u' ' || query[begin] == u'\t'))
        ++begin;
    while (end > begin && (query[end - 1] == u' ' || query[end - 1] == u'\t'))
        --end;
    while (begin < end && query[begin] == u':')
        ++begin;
    const QString needle = query.mid(begin, end - begin).toLower();
    if (needle.isEmpty())
        return snippets;

    // Positions first, so each match is copied once.
    std::vector<std::size_t> ranked[3];
    for (std::size_t i = 0; i < snippets.size(); ++i) {
        const Snippet& snippet = snippets[i];
        if (startsWithLower(snippet.trigger, needle))
            ranked[0].push_back(i);
        else if (containsLower(snippet.trigger, needle))
            ranked[1].push_back(i);
        else if (containsLower(snippet.body, needle))
            ranked[2].push_back(i);
    }
    std::vector<Snippet> result;
    result.reserve(ranked[0].size() + ranked[1].size() + ranked[2].size());
    for (const auto& rank : ranked)
        for (std::size_t i : rank)
            result.push_back(snippets[i]);
    return result;
}

QStringList SnippetStore::completions(const QString& partialWord)
{
    QStringList tokens;
    if (!partialWord.startsWith(u'{'))
        return tokens;
    const QString word = partialWord.toLower();
    for (const auto& row : placeholderCatalog()) {
        if (row.first.toLower().startsWith(word))
            tokens << row.first;
    }
    return tokens;
}

} // namespace quillon
