#include "features/jump/AppBindings.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <limits>

namespace quillon::AppBindings {

namespace {

std::vector<QChar> eligibleLetters(const QString& name)
{
    const QString lower = name.toLower();
    std::vector<QChar> letters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, lower);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        if (end - start == 1) {
            const QChar c = lower.at(start);
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                letters.push_back(c);
        }
        start = end;
    }
    return letters;
}

std::set<QString> pinnedIds(const Bindings& forced)
{
    std::set<QString> ids;
    for (const auto& pair : forced)
        ids.insert(pair.second);
    return ids;
}

} // namespace

bool nameLess(const QString& a, const QString& b)
{
    const auto left = a.normalized(QString::NormalizationForm_C).toUcs4();
    const auto right = b.normalized(QString::NormalizationForm_C).toUcs4();
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end());
}

void sortByName(std::vector<Entry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return nameLess(a.name, b.name); });
}

std::optional<QChar> firstLetter(const QString& name)
{
    return firstFreeLetter(name, {});
}

std::optional<QChar> firstFreeLetter(const QString& name, const std::set<QChar>& taken)
{
    for (const QChar letter : eligibleLetters(name)) {
        if (!taken.contains(letter))
            return letter;
    }
    return std::nullopt;
}

Groups firstLetterGroups(const std::vector<Entry>& runningApps, const Bindings& forced,
                         const std::set<QString>& ignored)
{
    const auto pinned = pinnedIds(forced);
    auto sorted = runningApps;
    sortByName(sorted);
    Groups groups;
    for (const Entry& entry : sorted) {
        if (ignored.contains(entry.bundleID) || pinned.contains(entry.bundleID))
            continue;
        if (const auto letter = firstLetter(entry.name))
            groups[*letter].append(entry.bundleID);
    }
    return groups;
}

Bindings rebuildAuto(const std::vector<Entry>& runningApps, const Bindings& forced,
                     const std::set<QString>& ignored, const Bindings& previous)
{
    const auto pinned = pinnedIds(forced);
    std::set<QString> running;
    for (const Entry& entry : runningApps)
        running.insert(entry.bundleID);
    std::set<QChar> taken;
    for (const auto& pair : forced)
        taken.insert(pair.first);

    Bindings result;
    std::set<QString> carried;
    for (const auto& [letter, id] : previous) {
        if (running.contains(id) && !ignored.contains(id) && !pinned.contains(id) &&
            !taken.contains(letter)) {
            result[letter] = id;
            taken.insert(letter);
            carried.insert(id);
        }
    }
    for (const Entry& entry : runningApps) {
        if (ignored.contains(entry.bundleID) || pinned.contains(entry.bundleID) ||
            carried.contains(entry.bundleID))
            continue;
        if (const auto letter = firstFreeLetter(entry.name, taken)) {
            result[*letter] = entry.bundleID;
            taken.insert(*letter);
            carried.insert(entry.bundleID);
        }
    }
    return result;
}

QStringList lruOrder(const std::vector<Entry>& entries, const QStringList& recent)
{
    constexpr qsizetype unseen = std::numeric_limits<qsizetype>::max();
    const auto rank = [&recent](const QString& id) {
        const qsizetype at = recent.indexOf(id);
        return at < 0 ? unseen : at;
    };
    auto sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Entry& a, const Entry& b) {
        const qsizetype left = rank(a.bundleID);
        const qsizetype right = rank(b.bundleID);
        if (left != right)
            return left > right;
        return nameLess(a.name, b.name);
    });
    QStringList ids;
    for (const Entry& entry : sorted)
        ids.append(entry.bundleID);
    return ids;
}

} // namespace quillon::AppBindings
