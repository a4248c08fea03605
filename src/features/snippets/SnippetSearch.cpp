// The search side of SnippetStore: the picker's ranking and the editor's
// placeholder completions.
#include "features/snippets/SnippetStore.h"

namespace quillon {

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

    std::vector<Snippet> ranked[3];
    for (const Snippet& snippet : snippets) {
        const QString trigger = snippet.trigger.toLower();
        if (trigger.startsWith(needle))
            ranked[0].push_back(snippet);
        else if (trigger.contains(needle))
            ranked[1].push_back(snippet);
        else if (snippet.body.toLower().contains(needle))
            ranked[2].push_back(snippet);
    }
    std::vector<Snippet> result = std::move(ranked[0]);
    result.insert(result.end(), ranked[1].begin(), ranked[1].end());
    result.insert(result.end(), ranked[2].begin(), ranked[2].end());
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
