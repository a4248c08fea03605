#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace quillon {

/// Which letter reaches which running application under the command leader.
/// Pure functions: no state, no platform calls.
namespace AppBindings {

/// A running application: its id and its name.
struct Entry {
    QString bundleID;
    QString name;
};

/// Letter → application id (one letter per application).
using Bindings = std::map<QChar, QString>;
/// Letter → application ids sharing it, in name order.
using Groups = std::map<QChar, QStringList>;

/// The first letter a–z of the lower-cased name, taken only from a grapheme
/// cluster that is that one scalar ("Écran" gives c).
std::optional<QChar> firstLetter(const QString& name);
/// The first such letter not in `taken`.
std::optional<QChar> firstFreeLetter(const QString& name, const std::set<QChar>& taken);
/// Every application not ignored nor pinned, filed under its first letter.
Groups firstLetterGroups(const std::vector<Entry>& runningApps, const Bindings& forced,
                         const std::set<QString>& ignored);
/// One letter per application, keeping what `previous` gave a still-running one.
Bindings rebuildAuto(const std::vector<Entry>& runningApps, const Bindings& forced,
                     const std::set<QString>& ignored, const Bindings& previous);
/// The ids, never-activated (by name) first, most recently used last.
QStringList lruOrder(const std::vector<Entry>& entries, const QStringList& recent);

/// Name order: NFC, then code point by code point (case-sensitive).
bool nameLess(const QString& a, const QString& b);
/// Stable sort by name.
void sortByName(std::vector<Entry>& entries);

} // namespace AppBindings

} // namespace quillon
